// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/backgroundwork.h"

#include <QFutureWatcher>
#include <QProgressDialog>
#include <QSaveFile>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <optional>

namespace {

// How long work goes on before its progress is shown.
constexpr int ProgressAfterMs = 500;

// A print waiting on the print system, a load or a save, and a cancelled
// piece still winding down each have a thread, whatever the machine has.
constexpr int LeastWorkers = 3;

const QString Printing = QStringLiteral("印刷しています…");

struct Outcome {
    std::optional<RuntimeError> failure;
    QString note;
};

// Runs `work` on the worker, keeping its failure and its note for the window.
template <class Work> Outcome outcomeOf(QPromise<Outcome>& promise, Work&& work) {
    PromiseProgress progress(promise);
    Outcome outcome;
    try {
        work(progress);
    } catch (const RuntimeError& e) {
        outcome.failure = e;
    }
    outcome.note = progress.noted;
    return outcome;
}

} // namespace

BackgroundWork::BackgroundWork(ErrorStop& errorStop, TextPrinter& printer, std::function<QWidget*()> form)
    : m_errorStop(errorStop), m_printer(printer), m_form(std::move(form)) {
    m_pool.setMaxThreadCount(std::max(LeastWorkers, QThread::idealThreadCount()));
}

BackgroundWork::~BackgroundWork() {
    cancelAll();
    // A cancelled task gives up within a second; the printer it uses and
    // what it made outlive it.
    m_pool.waitForDone();
}

void BackgroundWork::cancelAll() {
    for (QFutureWatcherBase* watcher : findChildren<QFutureWatcherBase*>(Qt::FindDirectChildrenOnly))
        watcher->cancel();
    for (const WaitingPrint& print : m_waitingPrints)
        delete print.dialog.data();
    m_waitingPrints.clear();
}

QProgressDialog* BackgroundWork::progressDialog(const QString& label) {
    QWidget* form = m_form();
    if (!form)
        return nullptr;
    auto* dialog = new QProgressDialog(label, QStringLiteral("キャンセル"), 0, 0, form);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    dialog->setMinimumDuration(ProgressAfterMs);
    // The dialog's own timer would wait for a first value a busy bar never
    // gets, and show it only after four seconds.
    QTimer::singleShot(ProgressAfterMs, dialog, [dialog] {
        if (!dialog->wasCanceled())
            dialog->show();
    });
    return dialog;
}

void BackgroundWork::watch(QFutureWatcherBase* watcher, QProgressDialog* dialog) {
    ++m_running;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        --m_running;
        watcher->deleteLater();
    });
    if (!dialog)
        return;
    connect(watcher, &QFutureWatcherBase::progressRangeChanged, dialog, &QProgressDialog::setRange);
    connect(watcher, &QFutureWatcherBase::progressValueChanged, dialog, &QProgressDialog::setValue);
    connect(dialog, &QProgressDialog::canceled, watcher, &QFutureWatcherBase::cancel);
    // Not deleted at once: a modal dialog's setValue may be what let the
    // finish in.
    connect(watcher, &QFutureWatcherBase::finished, dialog, &QObject::deleteLater);
}

void BackgroundWork::print(std::function<PrintJob()> take) {
    QString label = Printing;
    if (!m_printsHeldFor.isEmpty())
        label = m_printsHeldFor;
    else if (m_printing || !m_waitingPrints.empty())
        label = QStringLiteral("前の印刷が終わるのを待っています…");
    WaitingPrint print;
    print.take = std::move(take);
    print.dialog = progressDialog(label);
    if (print.dialog) {
        // Until it starts, its キャンセル takes it out of the line.
        print.giveUp = connect(print.dialog, &QProgressDialog::canceled, this, [this, dialog = print.dialog] {
            std::erase_if(m_waitingPrints, [&](const WaitingPrint& p) { return p.dialog == dialog; });
            dialog->deleteLater();
        });
    }
    m_waitingPrints.push_back(std::move(print));
    startNextPrint();
}

void BackgroundWork::holdPrints(const QString& why) {
    m_printsHeldFor = why;
    startNextPrint();
}

void BackgroundWork::startNextPrint() {
    // One print at a time: the others wait here, not on a worker thread.
    if (m_printing || m_waitingPrints.empty() || !m_printsHeldFor.isEmpty())
        return;
    WaitingPrint print = std::move(m_waitingPrints.front());
    m_waitingPrints.pop_front();
    disconnect(print.giveUp);
    PrintJob job = print.take();
    if (!job) {
        delete print.dialog.data();
        startNextPrint();
        return;
    }
    if (print.dialog)
        print.dialog->setLabelText(Printing);

    auto* watcher = new QFutureWatcher<Outcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        if (m_printing == watcher)
            m_printing = nullptr;
        startNextPrint();
        if (watcher->isCanceled() || watcher->future().resultCount() == 0)
            return;
        const Outcome outcome = watcher->result();
        if (outcome.failure)
            m_errorStop.report(*outcome.failure);
        else if (!outcome.note.isEmpty())
            m_errorStop.inform(outcome.note);
    });
    watch(watcher, print.dialog);
    m_printing = watcher;
    // The printer outlives this object, which waits for its prints.
    watcher->setFuture(
        QtConcurrent::run(&m_pool, [&printer = m_printer, job = std::move(job)](QPromise<Outcome>& promise) {
            promise.addResult(outcomeOf(promise, [&](WorkProgress& progress) { job(printer, progress); }));
        }));
}

void BackgroundWork::save(const QString& path, std::function<void(QIODevice&, WorkProgress&)> write) {
    auto* watcher = new QFutureWatcher<Outcome>(this);
    ++m_saving;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        --m_saving;
        if (watcher->isCanceled() || watcher->future().resultCount() == 0)
            return;
        if (const Outcome outcome = watcher->result(); outcome.failure)
            m_errorStop.report(*outcome.failure);
    });
    watch(watcher, progressDialog(QStringLiteral("PDF に保存しています…")));
    watcher->setFuture(
        QtConcurrent::run(&m_pool, [path, write = std::move(write)](QPromise<Outcome>& promise) {
            promise.addResult(outcomeOf(promise, [&](WorkProgress& progress) {
                QSaveFile file(path);
                if (!file.open(QIODevice::WriteOnly))
                    throw RuntimeError(ErrorKind::FileAccess, path, file.errorString());
                write(file, progress);
                if (progress.isCancelled()) {
                    file.cancelWriting();
                    return;
                }
                if (!file.commit())
                    throw RuntimeError(ErrorKind::FileAccess, path, file.errorString());
            }));
        }));
}
