// SPDX-License-Identifier: GPL-3.0-or-later
// The data folder on Debian.
#include "common/datafolder.h"

#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>

void giveUsersMode(const QString& path, bool folder) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(path).constData(), (folder ? 0777 : 0666) & ~mask);
}

QString defaultTableFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}
