// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// Something of that name is there, whatever it is; a dangling symbolic link
// counts, since writing through it would put our file where the user's
// link points.
bool present(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Copies every file and folder below `from` into the empty folder `to`.
bool copyTree(const QString& from, const QString& to, QString& reason) {
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    const QDir source(from);
    const QDir target(to);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString destination = target.filePath(source.relativeFilePath(path));
        if (info.isDir()) {
            if (!target.mkpath(destination)) {
                reason = QStringLiteral("cannot make %1").arg(destination);
                return false;
            }
        } else {
            QFile file(path);
            if (!file.copy(destination)) {
                reason = file.errorString();
                return false;
            }
            giveUsersMode(destination, false);
        }
    }
    return true;
}

// A folder is built under a temporary name beside its place and renamed
// into it once complete.
bool copyFolder(const QString& from, const QString& to, QString& reason) {
    QTemporaryDir building(to + QStringLiteral(".partial-XXXXXX"));
    if (!building.isValid()) {
        reason = building.errorString();
        return false;
    }
    if (!copyTree(from, building.path(), reason))
        return false;
    giveUsersMode(building.path(), true);
    if (!QDir().rename(building.path(), to)) {
        reason = QStringLiteral("cannot rename %1 to %2").arg(building.path(), to);
        return false;
    }
    building.setAutoRemove(false);
    return true;
}

bool copyFile(const QString& from, const QString& to, QString& reason) {
    // QFile::copy writes a temporary file and renames it, so no half file
    // is left behind.
    QFile file(from);
    if (!file.copy(to)) {
        reason = file.errorString();
        return false;
    }
    giveUsersMode(to, false);
    return true;
}

} // namespace

SampleCopy copyMissingSamples(const QString& sampleFolder, const QString& documentsFolder) {
    SampleCopy result;
    const QDir samples(sampleFolder);
    const QDir documents(documentsFolder);
    for (const QString& name : {RmrFileName, SetMealFileName, ConsultationFolderName}) {
        const QFileInfo sample(samples.filePath(name));
        if (!sample.exists())
            continue;
        const QString target = documents.filePath(name);
        if (present(target)) {
            result.kept.append(name);
            continue;
        }
        QString reason;
        bool done = false;
        if (!QDir().mkpath(documentsFolder))
            reason = QStringLiteral("cannot make the folder %1").arg(documentsFolder);
        else if (sample.isDir())
            done = copyFolder(sample.filePath(), target, reason);
        else
            done = copyFile(sample.filePath(), target, reason);
        if (done)
            result.copied.append(name);
        else
            result.failed.append(QStringLiteral("%1: %2").arg(name, reason));
    }
    return result;
}

QString installedSampleFolder() {
    const QDir folder(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(YOMORISU_SAMPLES_FROM_BINDIR)));
    return folder.exists() ? folder.absolutePath() : QString();
}

QString tableFolderOf(const QString& keptFolder, const QString& documentsFolder) {
    return QFileInfo(keptFolder).isDir() ? keptFolder : documentsFolder;
}

QString documentFolder(const QString& dataFolder) {
    const QDir documents(dataFolder);
    const QString consultation = documents.filePath(ConsultationFolderName);
    return QFileInfo(consultation).isDir() ? consultation : documents.path();
}
