// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windows/windowobject.h"

#include <QPointer>
#include <QThreadPool>

#include <deque>

class QFutureWatcherBase;
class QProgressDialog;
class TextBox;

// 病気: shows and prints explanatory documents about illnesses.
//
// Loading and printing run on the window's own worker threads, so the windows
// answer all the while; either shows a progress dialog with a cancel button
// once it has taken half a second. Prints go out one after the other, so a
// print that waits on the print system never holds a load back.
class DocumentWindow : public WindowObject {
    Q_OBJECT
public:
    explicit DocumentWindow(WindowHost& host);
    // Cancels the work still under way and waits for it.
    ~DocumentWindow() override;

    // ファイル読み込み: the user picks a document, which replaces the box's
    // text once it is read. Cancelling the dialog or the load leaves
    // everything as it was. Ignored while a load is under way.
    void loadDocumentFromDialog();
    // 印刷: one print job holding the box's text and a line end, titled with
    // the document's name. Pressed while a document is being loaded, it
    // prints that document once it is in; pressed while another print is
    // under way, it waits for that one, saying so.
    void printDocument();

    // The ファイル menu: 印刷(P)… prints as 印刷 does, PDF に保存(S)… saves
    // the same pages.
    bool hasFileMenu() const override { return true; }
    bool printsFromMenu() const override { return true; }
    void printHandout() override { printDocument(); }
    void saveHandout() override;

    // Where the dialog opens: the 健康相談 folder among the user's documents
    // when there is one, else the documents folder itself.
    QString documentFolder() const;
    // The name a printed page carries: the loaded file's name without its
    // folders, or the window's caption before any load.
    QString documentName() const;
    // Whether a load or a print is still under way or waiting.
    bool isBusy() const;
    // The threads the loads and prints run on.
    QThreadPool& workers() { return m_workers; }

protected:
    void bindControls() override;

private:
    struct WaitingPrint {
        QPointer<QProgressDialog> dialog;
        QMetaObject::Connection giveUp; // its キャンセル while it waits
        // Pressed during a load: the text and title are taken once it is in.
        bool afterLoad = false;
        QString text;
        QString title;
    };

    // A progress dialog over the form, shown once the work has taken half a
    // second; null when the window is unloaded.
    QProgressDialog* progressDialog(const QString& label);
    // Ties a running task to its dialog: progress and キャンセル both ways.
    void watch(QFutureWatcherBase* watcher, QProgressDialog* dialog);
    void startNextPrint();
    void cancelAll();

    QThreadPool m_workers;
    QPointer<TextBox> Text1;
    QString m_documentName;
    QPointer<QFutureWatcherBase> m_loading;
    QPointer<QFutureWatcherBase> m_printing;
    std::deque<WaitingPrint> m_waitingPrints;
    int m_running = 0;
};

// Its layout table, beside it in this folder.
namespace layout {
const Window& documents(); // 病気
}
