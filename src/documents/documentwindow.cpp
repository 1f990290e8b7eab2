// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/documentwindow.h"

#include "common/datafolder.h"
#include "documents/documentreader.h"
#include "windows/textbox.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QPromise>
#include <QTextDocument>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <malloc.h>

namespace {

// How long work goes on before its progress is shown.
constexpr int ProgressAfterMs = 500;

// A print waiting on the print system, a load, and a cancelled load still
// winding down each have a thread, whatever the machine has.
constexpr int LeastWorkers = 3;

const QString Printing = QStringLiteral("印刷しています…");

int progressFigure(qint64 n) {
    return int(std::clamp<qint64>(n, 0, std::numeric_limits<int>::max()));
}

// Passes a task's progress on to its future, where the window's watcher sees it.
template <class T> class PromiseProgress : public WorkProgress {
public:
    explicit PromiseProgress(QPromise<T>& promise) : m_promise(promise) {}
    void setTotal(qint64 total) override { m_promise.setProgressRange(0, progressFigure(total)); }
    void setDone(qint64 done) override { m_promise.setProgressValue(progressFigure(done)); }
    bool isCancelled() const override { return m_promise.isCanceled(); }
    void note(const QString& message) override { noted = message; }
    QString noted;

private:
    QPromise<T>& m_promise;
};

// A document laid out on a worker for the GUI thread. One that never reaches
// the box (a load cancelled at the last moment) is handed back to the GUI
// thread to be freed there.
struct PreparedDocument {
    std::unique_ptr<QTextDocument> document;
    PreparedDocument() = default;
    PreparedDocument(const PreparedDocument&) = delete;
    PreparedDocument& operator=(const PreparedDocument&) = delete;
    ~PreparedDocument() {
        if (document && document->thread() != QThread::currentThread())
            document.release()->deleteLater();
    }
};

struct LoadedDocument {
    Document document;
    PreparedDocument prepared;
    std::optional<RuntimeError> failure; // the file could not be opened, or is out of bounds
};
using Loading = std::shared_ptr<LoadedDocument>;

struct PrintOutcome {
    std::optional<RuntimeError> failure;
    QString note;
};

} // namespace

DocumentWindow::DocumentWindow(WindowHost& host) : WindowObject(host, layout::documents()) {
    m_workers.setMaxThreadCount(std::max(LeastWorkers, QThread::idealThreadCount()));
    m_workers.setObjectName(QStringLiteral("病気 workers"));
}

DocumentWindow::~DocumentWindow() {
    // The base deletes the form after this object's own part is gone, so the
    // form's end must not call back in here.
    if (form())
        disconnect(form(), &QObject::destroyed, this, &DocumentWindow::cancelAll);
    cancelAll();
    // A cancelled task gives up within a second; the printer it uses and
    // what it made outlive it.
    m_workers.waitForDone();
}

void DocumentWindow::bindControls() {
    Text1 = control<TextBox>(QStringLiteral("Text1"));
    m_documentName.clear();
    onClick(QStringLiteral("Command1"), [this] { loadDocumentFromDialog(); });
    onClick(QStringLiteral("Command2"), [this] { printDocument(); });
    onBackToMenu(QStringLiteral("Command3"));
    // Work for a window that is gone has no one to show its result to.
    connect(form(), &QObject::destroyed, this, &DocumentWindow::cancelAll);
}

QString DocumentWindow::documentFolder() const {
    return ::documentFolder(host().tableFolder());
}

QString DocumentWindow::documentName() const {
    if (!m_documentName.isEmpty() || !form())
        return m_documentName;
    return form()->windowTitle();
}

bool DocumentWindow::isBusy() const {
    return m_running > 0 || !m_waitingPrints.empty();
}

void DocumentWindow::cancelAll() {
    for (QFutureWatcherBase* watcher : findChildren<QFutureWatcherBase*>(Qt::FindDirectChildrenOnly))
        watcher->cancel();
    for (const WaitingPrint& print : m_waitingPrints)
        delete print.dialog.data();
    m_waitingPrints.clear();
}

QProgressDialog* DocumentWindow::progressDialog(const QString& label) {
    if (!form())
        return nullptr;
    auto* dialog = new QProgressDialog(label, QStringLiteral("キャンセル"), 0, 0, form());
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

void DocumentWindow::watch(QFutureWatcherBase* watcher, QProgressDialog* dialog) {
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

void DocumentWindow::loadDocumentFromDialog() {
    if (m_loading && !m_loading->isCanceled())
        return;
    const QString path = host().openFileDialog().chooseFile(form(), documentFolder(), DocumentPattern);
    if (path.isEmpty() || !Text1)
        return;
    auto* watcher = new QFutureWatcher<Loading>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, path] {
        const Loading loaded =
            !watcher->isCanceled() && watcher->future().resultCount() > 0 ? watcher->result() : nullptr;
        if (m_loading == watcher)
            m_loading = nullptr;
        if (loaded && loaded->failure) {
            startNextPrint();
            host().errorStop().report(*loaded->failure);
            return;
        }
        if (loaded && Text1) {
            Text1->setPreparedText(std::move(loaded->prepared.document), loaded->document.text);
            m_documentName = QFileInfo(path).fileName();
            Text1->moveCursor(QTextCursor::Start);
            Text1->ensureCursorVisible();
            // The old document is gone; its memory goes back to the system
            // rather than staying with the process.
            malloc_trim(0);
        }
        // A print pressed during the load prints what it brought.
        startNextPrint();
        if (loaded && loaded->document.failure)
            host().errorStop().report(*loaded->document.failure);
    });
    watch(watcher, progressDialog(QStringLiteral("文書を読み込んでいます…")));
    m_loading = watcher;
    watcher->setFuture(QtConcurrent::run(
        &m_workers, [path, style = Text1->style(), gui = thread()](QPromise<Loading>& promise) {
            auto loaded = std::make_shared<LoadedDocument>();
            PromiseProgress progress(promise);
            try {
                progress.setTotal(QFileInfo(path).size());
                // Throws before the box is touched when the file cannot be opened.
                loaded->document = loadDocument(path, [&progress](qint64 read) {
                    progress.setDone(read);
                    return !progress.isCancelled();
                });
                if (progress.isCancelled())
                    return;
                loaded->prepared.document = TextBox::prepareDocument(loaded->document.text, style, gui);
            } catch (const RuntimeError& e) {
                loaded->failure = e;
            } catch (const LoadCancelled&) {
                return;
            }
            promise.addResult(std::move(loaded));
        }));
}

void DocumentWindow::printDocument() {
    if (!Text1)
        return;
    const bool afterLoad = m_loading && !m_loading->isCanceled();
    WaitingPrint print;
    print.afterLoad = afterLoad;
    if (!afterLoad) {
        print.text = Text1->text() + QStringLiteral("\r\n");
        print.title = documentName();
    }
    QString label = Printing;
    if (afterLoad)
        label = QStringLiteral("文書の読み込みが終わってから印刷します…");
    else if (m_printing || !m_waitingPrints.empty())
        label = QStringLiteral("前の印刷が終わるのを待っています…");
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

void DocumentWindow::startNextPrint() {
    // One print at a time: the others wait here, not on a worker thread.
    if (m_printing || m_waitingPrints.empty())
        return;
    WaitingPrint print = m_waitingPrints.front();
    if (print.afterLoad && m_loading && !m_loading->isCanceled())
        return;
    m_waitingPrints.pop_front();
    if (!Text1)
        return;
    if (print.afterLoad) {
        print.text = Text1->text() + QStringLiteral("\r\n");
        print.title = documentName();
    }
    disconnect(print.giveUp);
    if (print.dialog)
        print.dialog->setLabelText(Printing);

    auto* watcher = new QFutureWatcher<PrintOutcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        if (m_printing == watcher)
            m_printing = nullptr;
        startNextPrint();
        if (watcher->isCanceled() || watcher->future().resultCount() == 0)
            return;
        const PrintOutcome outcome = watcher->result();
        if (outcome.failure)
            host().errorStop().report(*outcome.failure);
        else if (!outcome.note.isEmpty())
            host().errorStop().inform(outcome.note);
    });
    watch(watcher, print.dialog);
    m_printing = watcher;
    // The printer outlives this window, which waits for its prints.
    watcher->setFuture(QtConcurrent::run(&m_workers, [&printer = host().printer(), text = print.text,
                                                      title = print.title](QPromise<PrintOutcome>& promise) {
        PromiseProgress progress(promise);
        PrintOutcome outcome;
        try {
            printer.print(text, title, progress);
        } catch (const RuntimeError& e) {
            outcome.failure = e;
        }
        outcome.note = progress.noted;
        promise.addResult(std::move(outcome));
    }));
}

void DocumentWindow::saveHandout() {
    if (!Text1)
        return;
    const QString path = askSavePath(QDate::currentDate());
    if (path.isEmpty())
        return;
    TextPrinter& printer = host().printer();
    saveInBackground(path, [&printer, text = Text1->text() + QStringLiteral("\r\n"), title = documentName()](
                               QIODevice& file) { printer.writePdf(text, title, file); });
}
