// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainmenuwindow.h"

#include "app/shell.h"

MainMenuWindow::MainMenuWindow(Shell& shell) : WindowObject(shell, layout::mainMenu()), m_shell(shell) {}

void MainMenuWindow::bindControls() {
    onClick(QStringLiteral("Command1"), [this] { m_shell.open<SetMealWindow>(); });
    onClick(QStringLiteral("Command2"), [this] { m_shell.open<IntakeWindow>(); });
    onClick(QStringLiteral("Command3"), [this] { m_shell.open<RmrWindow>(); });
    onClick(QStringLiteral("Command4"), [this] { m_shell.open<ExpenditureWindow>(); });
    onClick(QStringLiteral("Command5"), [this] { m_shell.open<BodyWindow>(); });
    onClick(QStringLiteral("Command6"), [this] { m_shell.open<DocumentWindow>(); });
    onClick(QStringLiteral("Command7"), [this] { m_shell.endProgram(); });
}
