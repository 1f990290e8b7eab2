// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/host.h"

#include <QObject>
#include <QPointer>
#include <QPromise>
#include <QThreadPool>

#include <deque>
#include <functional>

class QFutureWatcherBase;
class QIODevice;
class QProgressDialog;
class QWidget;

// Passes a task's progress on to its future, where the window's watcher sees it.
template <class T> class PromiseProgress : public WorkProgress {
public:
    explicit PromiseProgress(QPromise<T>& promise) : m_promise(promise) {}
    void setTotal(qint64 total) override { m_promise.setProgressRange(0, figure(total)); }
    void setDone(qint64 done) override { m_promise.setProgressValue(figure(done)); }
    bool isCancelled() const override { return m_promise.isCanceled(); }
    void note(const QString& message) override { noted = message; }
    QString noted;

private:
    static int figure(qint64 n) { return int(std::clamp<qint64>(n, 0, std::numeric_limits<int>::max())); }
    QPromise<T>& m_promise;
};

// The long work of one window, on threads of its own, never Qt's global pool:
// each piece shows a progress dialog with キャンセル over the window once it has
// taken half a second, and tells its failure when it ends. Prints go out one
// after the other, so a print that waits on the print system never holds a
// load or a save back.
class BackgroundWork : public QObject {
    Q_OBJECT
public:
    // `form` gives the window the dialogs go over; null while it is unloaded.
    BackgroundWork(ErrorStop& errorStop, TextPrinter& printer, std::function<QWidget*()> form);
    // Cancels what is still under way and waits for it.
    ~BackgroundWork() override;

    QThreadPool& pool() { return m_pool; }
    // Whether any work is under way or waiting.
    bool isBusy() const { return m_running > 0 || !m_waitingPrints.empty(); }
    // Cancels everything under way and drops the waiting prints.
    void cancelAll();

    // What a print does on the worker, with the printer.
    using PrintJob = std::function<void(TextPrinter&, WorkProgress&)>;
    // Queues a print. `take` runs on this thread when its turn comes and
    // gives the job, or none when there is nothing left to print. A print
    // pressed while another is under way, or while prints are held, waits,
    // and its dialog says so.
    void print(std::function<PrintJob()> take);
    // Holds the waiting prints back, the dialog saying `why`; the empty text
    // lets them go.
    void holdPrints(const QString& why);

    // Writes the file at `path` through `write`, whole or not at all; キャンセル
    // leaves it as it was.
    void save(const QString& path, std::function<void(QIODevice&, WorkProgress&)> write);
    // Whether a save is still being written.
    bool isSaving() const { return m_saving > 0; }

    // A progress dialog over the form, shown once the work has taken half a
    // second; null when the window is unloaded.
    QProgressDialog* progressDialog(const QString& label);
    // Ties a running task to its dialog: progress and キャンセル both ways.
    void watch(QFutureWatcherBase* watcher, QProgressDialog* dialog);

private:
    struct WaitingPrint {
        QPointer<QProgressDialog> dialog;
        QMetaObject::Connection giveUp; // its キャンセル while it waits
        std::function<PrintJob()> take;
    };
    void startNextPrint();

    ErrorStop& m_errorStop;
    TextPrinter& m_printer;
    std::function<QWidget*()> m_form;
    QThreadPool m_pool;
    QString m_printsHeldFor;
    QPointer<QFutureWatcherBase> m_printing;
    std::deque<WaitingPrint> m_waitingPrints;
    int m_running = 0;
    int m_saving = 0;
};
