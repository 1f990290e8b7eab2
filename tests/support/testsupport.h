// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the tests: expecting a failure, comparing a panel, a
// and table files written into a
// temporary folder.

#include "common/picturelines.h"
#include "common/runtimeerror.h"
#include "common/textdecoding.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <functional>
#include <optional>

// The failure `step` ends in, or none when it succeeds.
template <class Step> std::optional<RuntimeError> failureOf(Step&& step) {
    try {
        step();
    } catch (const RuntimeError& e) {
        return e;
    }
    return std::nullopt;
}

// Empty when the panel shows exactly the wanted lines; otherwise says which
// line differs first and how, for QVERIFY2.
inline QString panelDifference(const PictureLines& panel, const QStringList& wanted) {
    const int lines = std::max(panel.lineCount(), int(wanted.size()));
    for (int k = 0; k < lines; ++k) {
        const QString shown = k < panel.lineCount() ? panel.lineText(k) : QStringLiteral("(no line)");
        const QString want = k < wanted.size() ? wanted[k] : QStringLiteral("(no line)");
        if (shown != want)
            return QStringLiteral("line %1 of %2 shown: \"%3\", wanted \"%4\" (%5 lines wanted)")
                .arg(k + 1)
                .arg(panel.lineCount())
                .arg(shown, want)
                .arg(wanted.size());
    }
    return {};
}

// The bytes of `text` in code page 932, as the user's files hold them.
inline QByteArray codePage932(const QString& text) {
    return encodeCodePage932(text);
}

// Writes `text` as code page 932, line ends as they stand in `text`.
inline QString writeTableFile(const QTemporaryDir& dir, const QString& name, const QString& text) {
    const QString path = QDir(dir.path()).filePath(name);
    QFile file(path);
    const QByteArray bytes = codePage932(text);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// `count` records named <prefix>1, <prefix>2, ... with the given values.
inline QString tableText(int count, const QString& prefix, const std::function<int(int)>& value) {
    QString text;
    for (int n = 1; n <= count; ++n)
        text += QStringLiteral("%1%2,%3\r\n").arg(prefix).arg(n).arg(value(n));
    return text;
}
