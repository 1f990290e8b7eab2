// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/userfile.h"

#include "common/runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

RuntimeError userFileNotOpened(const QString& path, const QString& reason) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        if (!info.dir().exists())
            return RuntimeError(ErrorKind::PathNotFound, path, reason);
        return RuntimeError(ErrorKind::FileNotFound, path, reason);
    }
    return RuntimeError(ErrorKind::FileAccess, path, reason);
}

RuntimeError notARegularFile(const QString& path) {
    return RuntimeError(ErrorKind::FileAccess, path,
                        QStringLiteral("通常のファイルではありません（フォルダ、パイプ、デバイスなど）"));
}

void openUserFile(QFile& file) {
    const QString path = file.fileName();
    if (path.isEmpty())
        throw RuntimeError(ErrorKind::FileNotFound, path, QStringLiteral("ファイル名がありません"));
    openRegularFile(file);
}
