// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>

// The kinds of failure a click can end in, each with the run-time error number
// users of this kind of program know from the message box.
enum class ErrorKind {
    Overflow,            // 6
    SubscriptOutOfRange, // 9
    DivisionByZero,      // 11
    FileNotFound,        // 53
    InputPastEndOfFile,  // 62
    PathNotFound,        // 76
    FileAccess,          // 75: the file exists but cannot be opened
    DeviceIo,            // 57: reading failed part way
    Printer,             // 482
    // A document past a bound the program sets. No run-time error: the file
    // is fine, and a number would send the user looking for what is wrong.
    DocumentTooLarge,
};

// 0 for a kind that has no run-time error number.
int runtimeErrorNumber(ErrorKind kind);
QString errorDescription(ErrorKind kind);

// The one exception type of the program. `source` names what caused it where
// that is known: a file path, or the input box whose entry was bad. `reason` is
// what the system said about a file it could not open or read.
class RuntimeError : public std::exception {
public:
    explicit RuntimeError(ErrorKind kind, QString source = {}, QString reason = {});

    ErrorKind kind() const { return m_kind; }
    int number() const { return runtimeErrorNumber(m_kind); }
    const QString& source() const { return m_source; }
    const QString& reason() const { return m_reason; }
    // The line of the file where the record at fault starts; 0 when the
    // error comes from no line.
    int line() const { return m_line; }
    const char* what() const noexcept override { return m_what.constData(); }

    // Adds the source when an inner step did not know it (e.g. which box).
    RuntimeError withSource(const QString& source) const;
    // Adds the line when the step that failed did not know it.
    RuntimeError atLine(int line) const;

private:
    void describe();

    ErrorKind m_kind;
    QString m_source;
    QString m_reason;
    int m_line = 0;
    QByteArray m_what;
};

// The Japanese message shown to the user for a failure.
QString errorMessage(const RuntimeError& error);
