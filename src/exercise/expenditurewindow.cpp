#include "exercise/expenditurewindow.h"

ExpenditureWindow::ExpenditureWindow(WindowHost& host) : WindowObject(host, layout::expenditure()) {}

void ExpenditureWindow::bindControls() {
    onBackToMenu(QStringLiteral("Command2"));
}
