// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windows/windowobject.h"

#include <QPointer>

#include <memory>
#include <vector>

class TextBox;

// 病気: shows and prints explanatory documents about illnesses.
//
// Loading and printing run on worker threads, so the windows answer all the
// while; either shows a progress dialog with a cancel button once it has
// taken half a second.
class DocumentWindow : public WindowObject {
    Q_OBJECT
public:
    explicit DocumentWindow(WindowHost& host);
    ~DocumentWindow() override;

    // ファイル読み込み: the user picks a document, which replaces the box's
    // text once it is read. Cancelling the dialog or the load leaves
    // everything as it was. Ignored while a load is under way.
    void loadDocumentFromDialog();
    // 印刷: one print job holding the box's text and a line end, titled with
    // the document's name.
    void printDocument();

    // Where the dialog opens: the 健康相談 folder among the user's documents
    // when there is one, else the documents folder itself.
    QString documentFolder() const;
    // The name a printed page carries: the loaded file's name without its
    // folders, or the window's caption before any load.
    QString documentName() const;
    // Whether a load or a print is still under way.
    bool isBusy() const;

    struct Work;

protected:
    void bindControls() override;

private:
    // Runs `work` on a worker thread behind a progress dialog labelled
    // `label`, then `done` on this thread unless the user cancelled. A
    // failure `work` throws is reported instead.
    std::shared_ptr<Work> runInBackground(const QString& label, std::function<void(WorkProgress&)> work,
                                          std::function<void()> done);
    void cancelAll();

    QPointer<TextBox> Text1;
    QString m_documentName;
    std::weak_ptr<Work> m_loading;
    std::vector<std::weak_ptr<Work>> m_work;
};

// Its layout table, beside it in this folder.
namespace layout {
const Window& documents(); // 病気
}
