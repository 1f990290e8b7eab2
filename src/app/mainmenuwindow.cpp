// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainmenuwindow.h"

#include "app/shell.h"

#include <QMenu>
#include <QMenuBar>

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

QMenuBar* MainMenuWindow::makeMenuBar() {
    auto* menuBar = new QMenuBar;
    QMenu* records = menuBar->addMenu(QStringLiteral("記録(&R)"));
    const auto item = [&](const QString& text, std::function<void(RecordsWindow&)> act) {
        // Queued, as the ファイル menus' items: the menu closes before a dialog opens.
        connect(
            records->addAction(text), &QAction::triggered, this,
            [this, act = std::move(act)] {
                runGuarded(host().errorStop(), [&] { act(m_shell.window<RecordsWindow>()); });
            },
            Qt::QueuedConnection);
    };
    item(QStringLiteral("相談記録(&K)…"), [](RecordsWindow& w) { w.open(); });
    item(QStringLiteral("開く(&O)…"), [](RecordsWindow& w) { w.openAnother(); });
    item(QStringLiteral("新規(&N)…"), [](RecordsWindow& w) { w.startAnother(); });
    item(QStringLiteral("バックアップ(&B)…"), [](RecordsWindow& w) { w.backUp(); });
    return menuBar;
}
