// SPDX-License-Identifier: GPL-3.0-or-later
// The data folder on Windows.
#include "common/datafolder.h"

#include <QFile>
#include <QStandardPaths>

void giveUsersMode(const QString& path, bool folder) {
    Q_UNUSED(folder)
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
}

QString defaultTableFolder() {
    // The known folder "My Documents" became.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return tableFolderOf(QStringLiteral("c:/my documents"), documents);
}
