#include "documents/documentwindow.h"

DocumentWindow::DocumentWindow(WindowHost& host) : WindowObject(host, layout::documents()) {}

void DocumentWindow::bindControls() {
    onBackToMenu(QStringLiteral("Command3"));
}
