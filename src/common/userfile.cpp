// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/userfile.h"

#include "common/runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

RuntimeError notOpened(const QString& path, const QString& reason) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        if (!info.dir().exists())
            return RuntimeError(ErrorKind::PathNotFound, path, reason);
        return RuntimeError(ErrorKind::FileNotFound, path, reason);
    }
    return RuntimeError(ErrorKind::FileAccess, path, reason);
}

QString notARegularFile() {
    return QStringLiteral("通常のファイルではありません（フォルダ、パイプ、デバイスなど）");
}

} // namespace

void openUserFile(QFile& file) {
    const QString path = file.fileName();
    if (path.isEmpty())
        throw RuntimeError(ErrorKind::FileNotFound, path, QStringLiteral("ファイル名がありません"));
#ifdef Q_OS_UNIX
    // Opened without blocking and checked on the open descriptor itself, so
    // nothing can swap a pipe in between the check and the read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw notOpened(path, qt_error_string(errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        throw RuntimeError(ErrorKind::FileAccess, path, notARegularFile());
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw RuntimeError(ErrorKind::FileAccess, path, file.errorString());
    }
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw RuntimeError(ErrorKind::FileAccess, path, notARegularFile());
    if (!file.open(QIODevice::ReadOnly))
        throw notOpened(path, file.errorString());
#endif
}
