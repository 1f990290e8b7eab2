// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/widgetfiledialog.h"

#include "common/datafolder.h"

#include <QDir>
#include <QFileDialog>
#include <QUrl>

QString WidgetFileDialog::chooseFile(QWidget* parent, const QString& folder, const QString& pattern) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(pattern);
    dialog.setDirectory(folder);
    // Qt's own places, the computer and the home folder, then the program's;
    // set anew each time, since the dialog would bring back those of an
    // earlier start from Qt's settings.
    QList<QUrl> places{QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath())};
    if (!m_documentsFolder.isEmpty()) {
        const QDir documents(m_documentsFolder);
        for (const QString& path : {documents.path(), documents.filePath(ConsultationFolderName)}) {
            if (QFileInfo(path).isDir())
                places.append(QUrl::fromLocalFile(path));
        }
    }
    dialog.setSidebarUrls(places);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}
