// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/widgethandoutdialogs.h"

#include "common/programname.h"

#include <QFileDialog>
#include <QMessageBox>

QString WidgetHandoutDialogs::chooseSavePath(QWidget* parent, const QString& proposedPath) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    // Asks before it replaces a file: Qt's own confirmation.
    dialog.selectFile(proposedPath);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

void WidgetHandoutDialogs::tell(QWidget* parent, const QString& message) {
    QMessageBox::information(parent, ProgramName.toString(), message);
}
