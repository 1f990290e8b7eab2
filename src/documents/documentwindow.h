#pragma once

#include "windows/windowobject.h"

#include <QPointer>

class TextBox;

// 病気: shows and prints explanatory documents about illnesses.
class DocumentWindow : public WindowObject {
    Q_OBJECT
public:
    explicit DocumentWindow(WindowHost& host);

    // ファイル読み込み: the user picks a document, which replaces the box's text.
    // Cancelling the dialog leaves everything as it was.
    void loadDocumentFromDialog();
    // 印刷: one print job holding the box's text and a line end.
    void printDocument();

    // Where the dialog opens: the 健康相談 folder among the user's documents
    // when there is one, else the documents folder itself.
    QString documentFolder() const;

protected:
    void bindControls() override;

private:
    QPointer<TextBox> Text1;
};

// Its layout table, beside it in this folder.
namespace layout {
const Window& documents(); // 病気
}
