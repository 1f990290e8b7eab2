#pragma once

// Helpers shared by the widget tests: a recorder in place of the error
// message box, and table files written into a temporary folder.

#include "common/runtimeerror.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <functional>

class RecordingErrorStop : public ErrorStop {
public:
    void report(const RuntimeError& error) override { errors.append(error); }
    QList<RuntimeError> errors;
};

// Writes `text` as code page 932 with CR LF line ends.
inline QString writeTableFile(const QTemporaryDir& dir, const QString& name, const QString& text) {
    const QString path = QDir(dir.path()).filePath(name);
    QFile file(path);
    const QByteArray bytes = QStringEncoder("windows-31j").encode(text);
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
