// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a user's file on Windows.
#include "common/userfile.h"

#include "common/runtimeerror.h"

#include <QFile>
#include <QFileInfo>

void openRegularFile(QFile& file) {
    const QString path = file.fileName();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw notARegularFile(path);
    if (!file.open(QIODevice::ReadOnly))
        throw userFileNotOpened(path, file.errorString());
}
