#include "common/runtimeerror.h"

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
    }
    return {};
}

RuntimeError::RuntimeError(ErrorKind kind, QString source, QString reason)
    : m_kind(kind), m_source(std::move(source)), m_reason(std::move(reason)),
      m_what(QStringLiteral("run-time error %1: %2").arg(runtimeErrorNumber(kind)).arg(m_source).toUtf8()) {}

RuntimeError RuntimeError::withSource(const QString& source) const {
    return m_source.isEmpty() ? RuntimeError(m_kind, source, m_reason) : *this;
}

QString errorMessage(const RuntimeError& error) {
    QString text =
        QStringLiteral("実行時エラー '%1':\n\n%2").arg(error.number()).arg(errorDescription(error.kind()));
    if (!error.source().isEmpty())
        text += QStringLiteral("\n\n原因: %1").arg(error.source());
    if (!error.reason().isEmpty())
        text += QStringLiteral("\n(%1)").arg(error.reason());
    return text;
}
