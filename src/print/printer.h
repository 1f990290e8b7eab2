// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What printing asks of the program around it: the system's printer, and a
// place to report how far long work has come. main() hands in the real
// printer (src/system/), tests their own.

#include "common/runtimeerror.h"

#include <QString>

#include <functional>

class QIODevice;
class QPagedPaintDevice;

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
        throw RuntimeError(ErrorKind::Printer, title, QStringLiteral("この印刷先はページを印刷できません"));
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
