// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a window is handed by the program around it: where failures go, the
// file dialog, the printer, and the shell's navigation. main() hands in the
// real ones (src/system/), tests their own stand-ins.

#include "common/runtimeerror.h"
#include "print/printer.h"

#include <QString>

class QWidget;
class WindowObject;

// Receives the failures of button handlers. The program shows a message box;
// tests record them.
class ErrorStop {
public:
    virtual ~ErrorStop() = default;
    virtual void report(const RuntimeError& error) = 0;
    // Something the user should know that is no failure, such as a print
    // handed over whose fate could not be checked.
    virtual void inform(const QString& message) { qInfo("%s", qUtf8Printable(message)); }
};

// The file-open dialog a window shows to let the user pick a file.
class OpenFileDialog {
public:
    virtual ~OpenFileDialog() = default;
    // Shows the dialog over `parent`, opening in `folder` and listing the files
    // that match `pattern`. Returns the full path of the chosen file, or the
    // empty text when the user cancelled.
    virtual QString chooseFile(QWidget* parent, const QString& folder, const QString& pattern) = 0;
};

// What the ファイル menu of a working window asks of the user.
class HandoutDialogs {
public:
    virtual ~HandoutDialogs() = default;
    // The save dialog over `parent`, opening at `proposedPath` (a folder and
    // a name), asking before it replaces a file. Returns the chosen path, or
    // the empty text when the user cancelled.
    virtual QString chooseSavePath(QWidget* parent, const QString& proposedPath) = 0;
    // A notice that is no failure, such as a button to press first.
    virtual void tell(QWidget* parent, const QString& message) = 0;
    // The save dialog for a file of another kind, listing the files that
    // match `nameFilter` ("CSV (*.csv)"), asking before it replaces one.
    virtual QString chooseSaveFile(QWidget* parent, const QString& proposedPath,
                                   const QString& nameFilter) = 0;
    // A question answered yes or no, such as before a deletion; no unless
    // the user says yes.
    virtual bool confirm(QWidget* parent, const QString& question) = 0;
};

// What a window needs from the program around it. The shell implements it;
// tests hand in their own.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // The back-to-menu action of a working window.
    virtual void backToMenu(WindowObject& window) = 0;
    // The user closed a window from its title bar.
    virtual void closedByUser(WindowObject& window) = 0;
    virtual ErrorStop& errorStop() = 0;
    // The folder holding the two table files.
    virtual QString tableFolder() const = 0;
    virtual OpenFileDialog& openFileDialog() = 0;
    virtual TextPrinter& printer() = 0;
    virtual HandoutDialogs& handoutDialogs() = 0;
    // The client being seen, whose name heads every handout; empty when none.
    virtual QString consultedClient() const = 0;
    virtual void setConsultedClient(const QString& name) = 0;
};
