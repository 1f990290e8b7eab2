// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The user's data folder: the names of the two table files and of the folder
// of health-consultation documents, where they are, and the first start of an
// installed program, when the sample tables and documents go into it so a new
// user sees data at once. The windows and scripts/run.sh ask this module.

// The two table files, by the names the user keeps them under.
inline const QString RmrFileName = QStringLiteral("rmr.csv");
inline const QString SetMealFileName = QStringLiteral("定食.csv");
// The folder of health-consultation documents the document window points to.
inline const QString ConsultationFolderName = QStringLiteral("健康相談");
// The documents the document window's file dialog lists.
inline const QString DocumentPattern = QStringLiteral("*.txt");

// Where the user keeps rmr.csv and 定食.csv: the documents folder; on
// Windows the folder the tables have always been kept in, "c:\my documents\",
// whenever it is there. Each system's own (datafolder_*.cpp).
QString defaultTableFolder();

// The rule of the above: `keptFolder` when it is a folder, else
// `documentsFolder`.
QString tableFolderOf(const QString& keptFolder, const QString& documentsFolder);

// Where the file dialog for documents opens: the 健康相談 folder in
// `dataFolder` when there is one, else `dataFolder` itself.
QString documentFolder(const QString& dataFolder);

struct SampleCopy {
    QStringList copied; // names put in place by this call
    QStringList kept;   // names the user already has; left exactly as they are
    QStringList failed; // "name: reason", for the log; the program starts all the same
};

// Copies rmr.csv, 定食.csv and the folder 健康相談 from `sampleFolder` into
// `documentsFolder` (made if needed), each only where the documents folder
// has nothing of that name, not even a dangling link. A copy appears whole
// or not at all, so a failed one does not pass for the user's own file on
// the next start. Samples the installation lacks are skipped.
SampleCopy copyMissingSamples(const QString& sampleFolder, const QString& documentsFolder);

// A copied sample is the user's: it gets the mode a new file or folder of
// the user's gets (under the umask on Debian; writable on Windows), not the
// read-only mode of the installed sample nor the 0700 of the temporary
// folder it was built in. Each system's own (datafolder_*.cpp).
void giveUsersMode(const QString& path, bool folder);

// Where the samples lie, found from the executable's own place: share/yomorisu
// beside bin/, in an installation as in the build tree. Empty when there is
// none.
QString installedSampleFolder();
