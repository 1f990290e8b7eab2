// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/documentwindow.h"

#include "common/datafolder.h"
#include "common/freedmemory.h"
#include "documents/documentreader.h"
#include "forms/textbox.h"

#include <QDate>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QPromise>
#include <QTextDocument>
#include <QtConcurrent/QtConcurrentRun>

namespace {

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

} // namespace

DocumentWindow::DocumentWindow(WindowHost& host) : WindowObject(host, layout::documents()) {
    workers().setObjectName(QStringLiteral("病気 workers"));
}

void DocumentWindow::bindControls() {
    Text1 = control<TextBox>(QStringLiteral("Text1"));
    m_documentName.clear();
    onClick(QStringLiteral("Command1"), [this] { loadDocumentFromDialog(); });
    onClick(QStringLiteral("Command2"), [this] { printDocument(); });
    onBackToMenu(QStringLiteral("Command3"));
}

QString DocumentWindow::documentFolder() const {
    return ::documentFolder(host().tableFolder());
}

QString DocumentWindow::documentName() const {
    if (!m_documentName.isEmpty() || !form())
        return m_documentName;
    return form()->windowTitle();
}

void DocumentWindow::loadDocumentFromDialog() {
    if (m_loading && !m_loading->isCanceled())
        return;
    const QString path = host().openFileDialog().chooseFile(form(), documentFolder(), DocumentPattern);
    if (path.isEmpty() || !Text1)
        return;
    auto* watcher = new QFutureWatcher<Loading>(&work());
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, path] {
        const Loading loaded =
            !watcher->isCanceled() && watcher->future().resultCount() > 0 ? watcher->result() : nullptr;
        if (m_loading == watcher)
            m_loading = nullptr;
        if (loaded && !loaded->failure && Text1) {
            Text1->setPreparedText(std::move(loaded->prepared.document), loaded->document.text);
            m_documentName = QFileInfo(path).fileName();
            Text1->moveCursor(QTextCursor::Start);
            Text1->ensureCursorVisible();
            // The old document is gone; its memory goes back to the system
            // rather than staying with the process, off this thread.
            workers().start([] { returnFreedMemory(); });
        }
        // A print pressed during the load prints what it brought.
        if (!m_loading)
            work().holdPrints({});
        if (loaded && loaded->failure)
            host().errorStop().report(*loaded->failure);
        else if (loaded && loaded->document.failure)
            host().errorStop().report(*loaded->document.failure);
    });
    work().watch(watcher, work().progressDialog(QStringLiteral("文書を読み込んでいます…")));
    m_loading = watcher;
    work().holdPrints(QStringLiteral("文書の読み込みが終わってから印刷します…"));
    // A cancelled load prints nothing new: the prints waiting for it go now.
    connect(watcher, &QFutureWatcherBase::canceled, this, [this, watcher] {
        if (m_loading == watcher)
            work().holdPrints({});
    });
    watcher->setFuture(QtConcurrent::run(
        &workers(), [path, style = Text1->style(), gui = thread()](QPromise<Loading>& promise) {
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
    // The box as it is now; during a load, as the load leaves it.
    const auto job = [](const QString& text, const QString& title) -> BackgroundWork::PrintJob {
        return [text, title](TextPrinter& printer, WorkProgress& progress) {
            printer.print(text, title, progress);
        };
    };
    if (m_loading && !m_loading->isCanceled()) {
        work().print([this, job] {
            return Text1 ? job(Text1->text() + QStringLiteral("\r\n"), documentName()) : nullptr;
        });
        return;
    }
    work().print([now = job(Text1->text() + QStringLiteral("\r\n"), documentName())] { return now; });
}

void DocumentWindow::saveHandout() {
    if (!Text1)
        return;
    const QString path = askSavePath(QDate::currentDate());
    if (path.isEmpty())
        return;
    work().save(path, [&printer = host().printer(), text = Text1->text() + QStringLiteral("\r\n"),
                       title = documentName()](QIODevice& file, WorkProgress&) {
        printer.writePdf(text, title, file);
    });
}
