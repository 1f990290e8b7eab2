// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/messageboxerrorstop.h"

#include "common/programname.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxErrorStop::report(const RuntimeError& error) {
    QMessageBox::critical(QApplication::activeWindow(), ProgramName.toString(), errorMessage(error));
}

void MessageBoxErrorStop::inform(const QString& message) {
    QMessageBox::information(QApplication::activeWindow(), ProgramName.toString(), message);
}
