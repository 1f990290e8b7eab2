// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks hand the shell in place of the user's answers.

#include "app/shell.h"
#include "print/pages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>

// A benchmark measures what works: any failure stops it.
class FailingErrorStop : public ErrorStop {
public:
    void report(const RuntimeError& error) override { qFatal("unexpected failure: %s", error.what()); }
};

// 病気 is not benchmarked through the shell: its dialog is cancelled and its
// printer prints nothing.
class CancelledDialog : public OpenFileDialog {
public:
    QString chooseFile(QWidget*, const QString&, const QString&) override { return {}; }
};

class NoPrinter : public TextPrinter {
public:
    void print(const QString&, const QString&, WorkProgress&) override {}
};

inline double medianMs(QList<qint64> nanoseconds) {
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return double(nanoseconds[nanoseconds.size() / 2]) / 1e6;
}

// The longest gap between the ticks of a 5 ms timer while `run` waits in the
// event loop: how long the windows could not answer.
class StallProbe {
public:
    StallProbe() {
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_since.restart()); });
        m_timer.start(5);
        m_since.start();
    }
    qint64 longestMs() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_longest = 0;
};

// Sleeps between events as the program's event loop does; the probe's timer
// wakes it. (processEvents with a time limit drops WaitForMoreEvents and would
// spin, taking a core from the worker.)
inline void waitUntilIdle(const WindowObject& window) {
    while (window.isBusy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The yardstick a print is timed against: `text` as plain text on A4 through
// Qt's own QTextDocument::print into a PDF file at `pdf`, in nanoseconds.
inline qint64 plainPrintNs(const QString& text, const QString& pdf) {
    QElapsedTimer timer;
    timer.start();
    QPdfWriter writer(pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    QTextDocument document;
    document.setDefaultFont(printFont());
    document.setPlainText(text);
    document.print(&writer);
    return timer.nsecsElapsed();
}
