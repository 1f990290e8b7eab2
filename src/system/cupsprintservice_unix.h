// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageSize>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class QIODevice;

// The print system of Debian, CUPS, reached through libcups
// (cupslibrary_unix.h), which is opened on the first print.
//
// Every call may block on the print system, so it belongs on a worker thread;
// together they wait no longer than the time given at connection, and the
// calls of submit() as long again; each gives up early when `cancelled` says
// so. Failures are the printer error 482 with a
// reason the user can act on.
class CupsPrintService {
public:
    // Connects to the print system. Throws when libcups is missing or the
    // print system is not running.
    CupsPrintService(std::chrono::seconds answerWithin, std::function<bool()> cancelled);
    ~CupsPrintService();
    CupsPrintService(const CupsPrintService&) = delete;
    CupsPrintService& operator=(const CupsPrintService&) = delete;

    // The default printer's name ("queue" or "queue/instance"). Throws when
    // there is none or it is stopped.
    QString defaultPrinter();
    // The paper the default printer takes by default, when it says.
    QPageSize defaultPaper();
    // Sends the PDF read from `pdf` as one job titled `title` to the default
    // printer, with the user's options for it, and watches it for a moment:
    // throws when the queue refuses or holds it, or the printer stops. A job
    // whose document did not get through whole (a failure, no answer, a
    // cancel) is withdrawn. Once it has, no answer is no failure: the notice
    // returned says the job went out unchecked; else it is empty.
    QString submit(QIODevice& pdf, const QString& title);

    struct Private;

private:
    std::unique_ptr<Private> d;
};
