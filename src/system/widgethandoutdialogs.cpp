// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/widgethandoutdialogs.h"

#include "common/programname.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QString WidgetHandoutDialogs::chooseSavePath(QWidget* parent, const QString& proposedPath) {
    return chooseSaveFile(parent, proposedPath, QStringLiteral("PDF (*.pdf)"));
}

QString WidgetHandoutDialogs::chooseSaveFile(QWidget* parent, const QString& proposedPath,
                                             const QString& nameFilter) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(nameFilter);
    dialog.setDefaultSuffix(QFileInfo(proposedPath).suffix());
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

bool WidgetHandoutDialogs::confirm(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, QStringLiteral("ヨモリス"), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}
