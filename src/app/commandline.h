// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for when it is not the windows: the help text,
// the version, or a refusal of an option the program does not know.
struct CommandLineAnswer {
    int status = 0; // the program's exit status
    QString out;    // for standard output
    QString err;    // for standard error
};

// Decided from the arguments alone (the program's name first), before any
// window system is started, so it works on a text console too. Empty when
// the program is to open its windows. Qt's own options (-platform, -style,
// ...) are accepted and left to the application object.
std::optional<CommandLineAnswer> answerCommandLine(const QStringList& arguments, const QString& version);
