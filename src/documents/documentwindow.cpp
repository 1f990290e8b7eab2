// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/documentwindow.h"

#include "common/datafolder.h"
#include "documents/documentreader.h"
#include "windows/textbox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressDialog>
#include <QRunnable>
#include <QTextDocument>
#include <QThreadPool>
#include <QTimer>

#include <malloc.h>

namespace {

// How long work goes on before its progress is shown.
constexpr int ProgressAfterMs = 500;
constexpr int ProgressUpdateMs = 50;

} // namespace

struct DocumentWindow::Work {
    WorkProgress progress;
    std::optional<RuntimeError> failure;
    bool finished = false;
};

DocumentWindow::DocumentWindow(WindowHost& host) : WindowObject(host, layout::documents()) {}

DocumentWindow::~DocumentWindow() {
    // The base deletes the form after this object's own part is gone, so the
    // form's end must not call back in here.
    if (form())
        disconnect(form(), &QObject::destroyed, this, &DocumentWindow::cancelAll);
    cancelAll();
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
    return std::any_of(m_work.begin(), m_work.end(), [](const std::weak_ptr<Work>& w) {
        const auto work = w.lock();
        return work && !work->finished;
    });
}

void DocumentWindow::cancelAll() {
    for (const std::weak_ptr<Work>& w : m_work) {
        if (const auto work = w.lock())
            work->progress.cancelled = true;
    }
    m_work.clear();
}

std::shared_ptr<DocumentWindow::Work> DocumentWindow::runInBackground(const QString& label,
                                                                      std::function<void(WorkProgress&)> work,
                                                                      std::function<void()> done) {
    auto shared = std::make_shared<Work>();
    std::erase_if(m_work, [](const std::weak_ptr<Work>& w) { return w.expired(); });
    m_work.push_back(shared);

    QPointer<QProgressDialog> dialog = new QProgressDialog(label, QStringLiteral("キャンセル"), 0, 0, form());
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(ProgressAfterMs);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    auto* ticker = new QTimer(dialog);
    connect(ticker, &QTimer::timeout, dialog, [dialog, shared] {
        const auto total = shared->progress.total.load();
        if (total > 0 && total <= std::numeric_limits<int>::max()) {
            dialog->setMaximum(int(total));
            dialog->setValue(int(std::min(shared->progress.done.load(), total)));
        }
    });
    ticker->start(ProgressUpdateMs);
    connect(dialog, &QProgressDialog::canceled, dialog, [shared, dialog] {
        shared->progress.cancelled = true;
        dialog->deleteLater();
    });

    QPointer<DocumentWindow> self = this;
    auto finish = [self, shared, dialog, done = std::move(done)] {
        shared->finished = true;
        delete dialog.data();
        if (!self || shared->progress.cancelled)
            return;
        if (shared->failure)
            self->host().errorStop().report(*shared->failure);
        else
            done();
    };
    // The worker hands its share to the finishing call, so the work and what
    // it made are freed on this thread.
    QThreadPool::globalInstance()->start(
        [shared = std::shared_ptr(shared), work = std::move(work), finish = std::move(finish)]() mutable {
            try {
                work(shared->progress);
            } catch (const RuntimeError& e) {
                shared->failure = e;
            } catch (const LoadCancelled&) {
                shared->progress.cancelled = true;
            }
            shared.reset();
            QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(finish), Qt::QueuedConnection);
        });
    return shared;
}

void DocumentWindow::loadDocumentFromDialog() {
    if (const auto loading = m_loading.lock(); loading && !loading->finished)
        return;
    const QString path = host().openFileDialog().chooseFile(form(), documentFolder(), DocumentPattern);
    if (path.isEmpty() || !Text1)
        return;
    struct Loaded {
        Document document;
        std::unique_ptr<QTextDocument> prepared;
    };
    auto loaded = std::make_shared<Loaded>();
    const TextBoxStyle style = Text1->style();
    QThread* gui = thread();
    m_loading = runInBackground(
        QStringLiteral("文書を読み込んでいます…"),
        [path, loaded, style, gui](WorkProgress& progress) {
            progress.total = QFileInfo(path).size();
            // Throws before the box is touched when the file cannot be opened.
            loaded->document = loadDocument(path, [&progress](qint64 read) {
                progress.done = read;
                return !progress.cancelled;
            });
            if (progress.cancelled)
                throw LoadCancelled{};
            loaded->prepared = TextBox::prepareDocument(loaded->document.text, style, gui);
        },
        [this, path, loaded] {
            if (!Text1)
                return;
            Text1->setPreparedText(std::move(loaded->prepared), loaded->document.text);
            m_documentName = QFileInfo(path).fileName();
            Text1->moveCursor(QTextCursor::Start);
            Text1->ensureCursorVisible();
            // The old document is gone; its memory goes back to the system
            // rather than staying with the process.
            malloc_trim(0);
            if (loaded->document.failure)
                host().errorStop().report(*loaded->document.failure);
        });
}

void DocumentWindow::printDocument() {
    if (!Text1)
        return;
    TextPrinter& printer = host().printer();
    runInBackground(
        QStringLiteral("印刷しています…"),
        [&printer, text = Text1->text() + QStringLiteral("\r\n"),
         title = documentName()](WorkProgress& progress) { printer.print(text, title, progress); },
        [] {});
}
