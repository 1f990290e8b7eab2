#include "exercise/rmrwindow.h"

RmrWindow::RmrWindow(WindowHost& host) : WindowObject(host, layout::rmr()) {}

void RmrWindow::bindControls() {
    onBackToMenu(QStringLiteral("Command2"));
}
