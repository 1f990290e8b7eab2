// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a user's file on Debian.
#include "common/userfile.h"

#include "common/runtimeerror.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void openRegularFile(QFile& file) {
    const QString path = file.fileName();
    // Opened without blocking and checked on the open descriptor itself, so
    // nothing can swap a pipe in between the check and the read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw userFileNotOpened(path, qt_error_string(errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        throw notARegularFile(path);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw RuntimeError(ErrorKind::FileAccess, path, file.errorString());
    }
}
