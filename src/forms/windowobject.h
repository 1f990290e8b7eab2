// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/backgroundwork.h"
#include "forms/host.h"
#include "forms/layout.h"
#include "print/handout.h"

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class PictureLines;
class QDate;
class QMenuBar;

// One window of the program. The object lives for the whole run and holds the
// window's own data; its on-screen part is built from the layout on every load
// and destroyed on unload.
class WindowObject : public QObject {
    Q_OBJECT
public:
    WindowObject(WindowHost& host, const layout::Window& layout);
    ~WindowObject() override;

    const layout::Window& layout() const { return m_layout; }
    bool isLoaded() const { return m_form != nullptr; }
    // The on-screen part; null while unloaded.
    QWidget* form() const { return m_form.get(); }

    // Loads the window if needed, then shows, raises and activates it.
    void open();
    // Builds the on-screen part afresh (unloading the old one first).
    void load();
    // Destroys the on-screen part; the window object and its data remain.
    void unload();

    // The on-screen control of that name; null while the window is unloaded.
    // A name the layout does not have (or a control of another kind) is a
    // programming error: the program stops with a message naming the window
    // and the control, in every build, so a misspelling shows as the window
    // first loads.
    // Whether the window has the ファイル menu: every working window does.
    virtual bool hasFileMenu() const { return !handoutButton().isEmpty(); }
    // PDF に保存(S)…: asks for a file and writes the handout into it, or says
    // which button to press first while there is nothing to print.
    virtual void saveHandout();
    // 印刷(P)…: the handout on the default printer, titled with the window's
    // title and the date; or which button to press first.
    virtual void printHandout();

    // Whether a load, print or save is still under way or waiting.
    bool isBusy() const { return m_work.isBusy(); }
    // The threads that work runs on.
    QThreadPool& workers() { return m_work.pool(); }

    template <class T> T* control(const QString& name) const {
        if (!m_form)
            return nullptr;
        T* found = m_form->findChild<T*>(name);
        if (!found)
            missingControl(name);
        return found;
    }

protected:
    WindowHost& host() const { return m_host; }
    // Looks up controls and connects the buttons of a freshly built form.
    virtual void bindControls() = 0;
    // Connects a button's click to a handler run through the error guard.
    void onClick(const QString& buttonName, std::function<void()> handler);
    // Connects a button to the back-to-menu action.
    void onBackToMenu(const QString& buttonName);
    // What the picture areas Picture1..PictureN print into, in that order.
    QList<PictureLines*> pictureAreas(int count) const;
    // What the window puts on paper, from what its last completed press read
    // and showed; none before that press in this load.
    virtual std::optional<Handout> handout() const { return std::nullopt; }
    // A handout of a whole listing under the window's title: the number, the
    // name and the value of every row.
    Handout listingHandout(const QString& nameHeading, const QString& valueHeading,
                           const QList<QStringList>& rows) const;
    // The button (by control name) whose press gives the window something to
    // print.
    virtual QString handoutButton() const { return {}; }
    // The save dialog, proposing `name` (else the window's) and today's date
    // in the documents folder; the empty text when the user cancelled.
    QString askSavePath(const QDate& today, const QString& name = {});
    // The on-screen part, with the menu bar (if any) above it: by default
    // built from the layout.
    virtual std::unique_ptr<QWidget> buildForm(QMenuBar* menuBar);
    // The window's menu bar: the ファイル menu where it has one.
    virtual QMenuBar* makeMenuBar();
    // The ファイル menu with its two items, for a window to add its own to.
    QMenuBar* makeFileMenu();
    // What to do first when there is nothing to print.
    virtual QString handoutHint() const;
    // PDF に保存(S)… as chosen from the menu: one save at a time, so a second
    // choice never brings up a dialog behind the first or its writing.
    void chooseSave();
    BackgroundWork& work() { return m_work; }
    // The caption of a control of the layout.
    QString caption(const QString& controlName) const;
    // Path of a table file in the host's table folder.
    QString tablePath(const QString& fileName) const;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[noreturn]] void missingControl(const QString& name) const;
    // A freshly shown form moved (and, when its layout lets it, shrunk) onto
    // the screen's free area.
    void keepOnScreen();
    // Tells the user which button to press first when there is nothing to print.
    std::optional<Handout> handoutOrHint();

    WindowHost& m_host;
    const layout::Window& m_layout;
    // Before the form, so that the form's end can still cancel the work.
    BackgroundWork m_work;
    bool m_askingSavePath = false;
    // Owned here; unload() hands it to the event loop to delete, since the
    // click that unloads may be one of its own buttons.
    std::unique_ptr<QWidget> m_form;
};

// Runs a button handler. A failure stops the click where it happened and is
// shown to the user; the program goes on, and what the handler printed before
// the failure stays on screen.
void runGuarded(ErrorStop& errorStop, const std::function<void()>& handler);
