// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a window is handed by the program around it: where failures go, the
// file dialog, the printer, and the shell's navigation. main() hands in the
// real ones (src/system/), tests their own stand-ins.

#include "common/runtimeerror.h"

#include <QString>

#include <functional>

class QIODevice;
class QPagedPaintDevice;
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

// How far a piece of long work has come, and whether the user gave up on it.
// Told by the worker; the window passes it on to its progress dialog.
class WorkProgress {
public:
    virtual ~WorkProgress() = default;
    virtual void setTotal(qint64 total) = 0;
    virtual void setDone(qint64 done) = 0;
    virtual bool isCancelled() const = 0;
    // Something to tell the user when the work is done that is no failure.
    virtual void note(const QString& message) = 0;
};

// The system's default printer. It outlives the windows, which wait for the
// prints they started.
class TextPrinter {
public:
    virtual ~TextPrinter() = default;
    // Prints `text` as one job titled `title`, a line end starting a new line
    // and `title` in every page's footer. Runs on a worker thread, so it
    // touches no widget; it reports its pages to `progress` and gives up,
    // withdrawing the job, once that is cancelled. Throws the printer error
    // when the print system cannot be reached or does not answer, there is no
    // default printer, or the printer or the queue will not print the job.
    // A job that went out but whose fate is not known is no failure: it is
    // told to `progress` as a note.
    virtual void print(const QString& text, const QString& title, WorkProgress& progress) = 0;
    // Prints the pages `paint` lays out on the device it is handed (at
    // PageResolution) as one job titled `title`, failing, giving up and
    // noting as print() does; `paint` reports its pages to, and stops on, the
    // progress it is handed. The pages are laid out only once the printer
    // is known to be there.
    virtual void printPages(const QString& title,
                            const std::function<void(QPagedPaintDevice&, WorkProgress&)>& paint,
                            WorkProgress& progress) {
        Q_UNUSED(paint);
        Q_UNUSED(progress);
        throw RuntimeError(ErrorKind::Printer, title, QStringLiteral("この印刷先は PDF を印刷できません"));
    }
    // Writes the pages print() would send, on A4, as a PDF into `device`.
    // Runs on a worker thread. Throws the printer error where it cannot lay
    // pages out.
    virtual void writePdf(const QString& text, const QString& title, QIODevice& device) {
        Q_UNUSED(text);
        Q_UNUSED(device);
        throw RuntimeError(ErrorKind::Printer, title, QStringLiteral("この印刷先は PDF を作れません"));
    }
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
};
