// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainmenuwindow.h"
#include "body/bodywindow.h"
#include "documents/documentwindow.h"
#include "exercise/expenditurewindow.h"
#include "exercise/rmrwindow.h"
#include "meals/intakewindow.h"
#include "meals/setmealwindow.h"
#include "records/recordswindow.h"

#include <functional>
#include <memory>
#include <tuple>

// The program's spine: exactly one object per window class, made on first
// use and kept to the end of the run; opening, the back-to-menu action and
// ending the program.
class Shell : public WindowHost {
public:
    // `quit` ends the program; the program passes the application's quit,
    // tests pass a recorder. The dialog and the printer are the system's in
    // the program and stand-ins in tests.
    Shell(ErrorStop& errorStop, QString tableFolder, std::function<void()> quit,
          OpenFileDialog& openFileDialog, TextPrinter& printer);
    ~Shell() override;

    // Start-up: the main menu, and nothing else.
    void start();

    // The one object of window class W, created if it has none yet.
    template <class W> W& window() {
        auto& slot = std::get<std::unique_ptr<W>>(m_windows);
        if (!slot)
            slot = create<W>();
        return *slot;
    }
    template <class W> bool exists() const { return std::get<std::unique_ptr<W>>(m_windows) != nullptr; }
    template <class W> void open() { window<W>().open(); }

    // おわり: every window goes at once and the program ends.
    void endProgram();
    bool anyWindowLoaded() const;

    void backToMenu(WindowObject& window) override;
    void closedByUser(WindowObject& window) override;
    ErrorStop& errorStop() override { return m_errorStop; }
    QString tableFolder() const override { return m_tableFolder; }
    OpenFileDialog& openFileDialog() override { return m_openFileDialog; }
    TextPrinter& printer() override { return m_printer; }
    HandoutDialogs& handoutDialogs() override;
    QString consultedClient() const override { return m_consultedClient; }
    void setConsultedClient(const QString& name) override { m_consultedClient = name; }
    // The save dialog and notices of the ファイル menus: the program's own
    // in the program, stand-ins in tests. Needed before a menu is used.
    void setHandoutDialogs(HandoutDialogs& dialogs) { m_handoutDialogs = &dialogs; }

private:
    template <class W> std::unique_ptr<W> create() { return std::make_unique<W>(*this); }

    ErrorStop& m_errorStop;
    QString m_tableFolder;
    std::function<void()> m_quit;
    OpenFileDialog& m_openFileDialog;
    TextPrinter& m_printer;
    HandoutDialogs* m_handoutDialogs = nullptr;
    QString m_consultedClient;
    std::tuple<std::unique_ptr<MainMenuWindow>, std::unique_ptr<SetMealWindow>, std::unique_ptr<IntakeWindow>,
               std::unique_ptr<RmrWindow>, std::unique_ptr<ExpenditureWindow>, std::unique_ptr<BodyWindow>,
               std::unique_ptr<DocumentWindow>, std::unique_ptr<RecordsWindow>>
        m_windows;
};
