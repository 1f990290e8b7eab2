#include "documents/documentwindow.h"

#include "common/datafolder.h"
#include "documents/documentreader.h"
#include "windows/textbox.h"

DocumentWindow::DocumentWindow(WindowHost& host) : WindowObject(host, layout::documents()) {}

void DocumentWindow::bindControls() {
    Text1 = control<TextBox>(QStringLiteral("Text1"));
    onClick(QStringLiteral("Command1"), [this] { loadDocumentFromDialog(); });
    onClick(QStringLiteral("Command2"), [this] { printDocument(); });
    onBackToMenu(QStringLiteral("Command3"));
}

QString DocumentWindow::documentFolder() const {
    return ::documentFolder(host().tableFolder());
}

void DocumentWindow::loadDocumentFromDialog() {
    const QString path = host().openFileDialog().chooseFile(form(), documentFolder(), DocumentPattern);
    if (path.isEmpty())
        return;
    // Throws before the box is touched when the file cannot be opened.
    const Document document = loadDocument(path);
    Text1->setText(document.text);
    Text1->moveCursor(QTextCursor::Start);
    Text1->ensureCursorVisible();
    if (document.failure)
        throw *document.failure;
}

void DocumentWindow::printDocument() {
    host().printer().print(Text1->text() + QStringLiteral("\r\n"));
}
