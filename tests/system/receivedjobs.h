// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The jobs the loopback printer of scripts/test-printer.sh kept.

#include <QDir>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

// The job files in `folder`, in the order they arrived: job-10 after job-9.
inline QStringList receivedJobs(const QString& folder) {
    QStringList jobs = QDir(folder)
                           .entryList({QStringLiteral("job-*")}, QDir::Files)
                           .filter(QRegularExpression(QStringLiteral("^job-\\d+$")));
    std::sort(jobs.begin(), jobs.end(),
              [](const QString& a, const QString& b) { return a.mid(4).toInt() < b.mid(4).toInt(); });
    return jobs;
}
