// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/runtimeerror.h"

#include <QDir>

int runtimeErrorNumber(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::Overflow:
        return 6;
    case ErrorKind::SubscriptOutOfRange:
        return 9;
    case ErrorKind::DivisionByZero:
        return 11;
    case ErrorKind::FileNotFound:
        return 53;
    case ErrorKind::DeviceIo:
        return 57;
    case ErrorKind::InputPastEndOfFile:
        return 62;
    case ErrorKind::FileAccess:
        return 75;
    case ErrorKind::PathNotFound:
        return 76;
    case ErrorKind::Printer:
        return 482;
    case ErrorKind::DocumentTooLarge:
        return 0;
    }
    return 0;
}

QString errorDescription(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::Overflow:
        return QStringLiteral("オーバーフローしました。");
    case ErrorKind::SubscriptOutOfRange:
        return QStringLiteral("インデックスが有効範囲にありません。");
    case ErrorKind::DivisionByZero:
        return QStringLiteral("0 で除算しました。");
    case ErrorKind::FileNotFound:
        return QStringLiteral("ファイルが見つかりません。");
    case ErrorKind::DeviceIo:
        return QStringLiteral("デバイス I/O エラーです。");
    case ErrorKind::InputPastEndOfFile:
        return QStringLiteral("ファイルの終わりを越えて読み込もうとしました。");
    case ErrorKind::FileAccess:
        return QStringLiteral("パス名またはファイル名に誤りがあるか、ファイルを開けません。");
    case ErrorKind::PathNotFound:
        return QStringLiteral("パスが見つかりません。");
    case ErrorKind::Printer:
        return QStringLiteral("プリンタ エラーです。");
    case ErrorKind::DocumentTooLarge:
        return QStringLiteral("大きすぎる文書は読み込めません。");
    }
    return {};
}

RuntimeError::RuntimeError(ErrorKind kind, QString source, QString reason)
    : m_kind(kind), m_source(std::move(source)), m_reason(std::move(reason)) {
    describe();
}

void RuntimeError::describe() {
    QString what =
        m_kind == ErrorKind::DocumentTooLarge
            ? QStringLiteral("too large: %1").arg(m_source)
            : QStringLiteral("run-time error %1: %2").arg(runtimeErrorNumber(m_kind)).arg(m_source);
    if (m_line > 0)
        what += QStringLiteral(" line %1").arg(m_line);
    m_what = what.toUtf8();
}

RuntimeError RuntimeError::withSource(const QString& source) const {
    if (!m_source.isEmpty())
        return *this;
    RuntimeError named(m_kind, source, m_reason);
    return named.atLine(m_line);
}

RuntimeError RuntimeError::atLine(int line) const {
    RuntimeError placed = *this;
    if (placed.m_line == 0) {
        placed.m_line = line;
        placed.describe();
    }
    return placed;
}

QString errorMessage(const RuntimeError& error) {
    if (error.kind() == ErrorKind::DocumentTooLarge) {
        // Headed by what happened, then the bound it passed and the file.
        QString text = errorDescription(error.kind());
        if (!error.reason().isEmpty())
            text += QStringLiteral("\n\n%1。").arg(error.reason());
        if (!error.source().isEmpty())
            text += QStringLiteral("\n\nファイル: %1").arg(QDir::toNativeSeparators(error.source()));
        return text;
    }
    QString text =
        QStringLiteral("実行時エラー '%1':\n\n%2").arg(error.number()).arg(errorDescription(error.kind()));
    // A path as the user's system writes it: c:\my documents\定食.csv on Windows.
    QString place = QDir::toNativeSeparators(error.source());
    if (error.line() > 0)
        place +=
            (place.isEmpty() ? QStringLiteral("%1 行目") : QStringLiteral(" の %1 行目")).arg(error.line());
    if (!place.isEmpty())
        text += QStringLiteral("\n\n原因: %1").arg(place);
    if (!error.reason().isEmpty())
        text += QStringLiteral("\n(%1)").arg(error.reason());
    return text;
}
