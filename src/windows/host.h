// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a window is handed by the program around it: where failures go, the
// file dialog, the printer, and the shell's navigation. main() hands in the
// real ones (src/system/), tests their own stand-ins.

#include "common/runtimeerror.h"

#include <QString>

#include <atomic>

class QWidget;
class WindowObject;

// Receives the failures of button handlers. The program shows a message box;
// tests record them.
class ErrorStop {
public:
    virtual ~ErrorStop() = default;
    virtual void report(const RuntimeError& error) = 0;
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
// Written by the worker, read by the window's progress dialog.
struct WorkProgress {
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> cancelled{false};
};

// The system's default printer.
class TextPrinter {
public:
    virtual ~TextPrinter() = default;
    // Prints `text` as one job titled `title`, a line end starting a new line
    // and `title` in every page's footer. Runs on a worker thread, so it
    // touches no widget; it reports its pages to `progress` and gives up,
    // withdrawing the job, once that is cancelled. Throws the printer error
    // when the print system cannot be reached or does not answer, there is no
    // default printer, or the printer or the queue will not print the job.
    virtual void print(const QString& text, const QString& title, WorkProgress& progress) = 0;
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
};
