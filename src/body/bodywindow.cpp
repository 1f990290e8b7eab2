#include "body/bodywindow.h"

BodyWindow::BodyWindow(WindowHost& host) : WindowObject(host, layout::body()) {}

void BodyWindow::bindControls() {
    onBackToMenu(QStringLiteral("Command2"));
}
