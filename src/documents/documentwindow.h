// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/windowobject.h"

#include <QPointer>

class QFutureWatcherBase;
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
    void printHandout() override { printDocument(); }
    void saveHandout() override;

    // Where the dialog opens: the 健康相談 folder among the user's documents
    // when there is one, else the documents folder itself.
    QString documentFolder() const;
    // The name a printed page carries: the loaded file's name without its
    // folders, or the window's caption before any load.
    QString documentName() const;

protected:
    void bindControls() override;

private:
    QPointer<TextBox> Text1;
    QString m_documentName;
    QPointer<QFutureWatcherBase> m_loading;
};

// Its layout table, beside it in this folder.
namespace layout {
const Window& documents(); // 病気
}
