#pragma once

#include <QString>
#include <QStringList>

// The first start of an installed program: the sample tables and documents
// go into the documents folder, so a new user sees data at once.

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

// Where the package puts the samples, found from the executable's own place
// (share/yomorisu beside bin/); empty when there is none, as in a build tree.
QString installedSampleFolder();
