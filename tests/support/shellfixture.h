// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The whole program as a test drives it: a shell over a temporary table
// folder, with failures recorded instead of shown, the program's end counted
// instead of performed, and the file dialog and the printer stood in for.

#include "app/shell.h"
#include "print/pages.h"
#include "testsupport.h"

#include <QBuffer>
#include <QMutex>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include <atomic>

// Keeps the failures instead of showing them.
class RecordingErrorStop : public ErrorStop {
public:
    void report(const RuntimeError& error) override { errors.append(error); }
    void inform(const QString& message) override { notes.append(message); }
    QList<RuntimeError> errors;
    QStringList notes;
};

// Answers the file dialog as the test told it to: a path, or the empty text
// for a cancel. Remembers where it was asked to open and with what pattern.
class ScriptedFileDialog : public OpenFileDialog {
public:
    QString chooseFile(QWidget*, const QString& folder, const QString& pattern) override {
        ++shown;
        lastFolder = folder;
        lastPattern = pattern;
        return answer;
    }
    QString answer;
    int shown = 0;
    QString lastFolder;
    QString lastPattern;
};

// Keeps each printed document and its title instead of printing it, or fails
// as a printer would when told to. Called on the window's worker thread.
// While `stalled` is set, a print waits as on a print system that does not
// answer, until it is cancelled.
class RecordingPrinter : public TextPrinter {
public:
    void print(const QString& text, const QString& title, WorkProgress& progress) override {
        keep(text, title, progress);
    }
    // The PDF's bytes, as Latin-1 text.
    void printPages(const QString& title, const std::function<void(QPagedPaintDevice&, WorkProgress&)>& paint,
                    WorkProgress& progress) override {
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        writePagesPdf(title, pdf, [&](QPagedPaintDevice& pages) { paint(pages, progress); });
        keep(QString::fromLatin1(pdf.data()), title, progress);
    }
    // The text as it would be laid out, in UTF-8 rather than on pages.
    void writePdf(const QString& text, const QString&, QIODevice& device) override {
        device.write(text.toUtf8());
    }
    QMutex mutex;
    QStringList documents;
    QStringList titles;
    std::optional<RuntimeError> failure;
    std::atomic<bool> stalled{false};
    int cancelled = 0;

private:
    void keep(const QString& printed, const QString& title, WorkProgress& progress) {
        while (stalled && !progress.isCancelled())
            QThread::msleep(5);
        QMutexLocker lock(&mutex);
        if (progress.isCancelled()) {
            ++cancelled;
            return;
        }
        if (failure)
            throw *failure;
        documents.append(printed);
        titles.append(title);
    }
};

// Answers the save dialog as the test told it to, and keeps the notices.
class ScriptedHandoutDialogs : public HandoutDialogs {
public:
    QString chooseSavePath(QWidget*, const QString& proposedPath) override {
        proposed.append(proposedPath);
        return answer;
    }
    void tell(QWidget*, const QString& message) override { notices.append(message); }
    QString chooseSaveFile(QWidget*, const QString& proposedPath, const QString&) override {
        return chooseSavePath(nullptr, proposedPath);
    }
    bool confirm(QWidget*, const QString& question) override {
        questions.append(question);
        return yes;
    }
    bool yes = false;
    QStringList questions;
    QString answer;
    QStringList proposed;
    QStringList notices;
};

struct ShellFixture {
    QTemporaryDir dir;
    RecordingErrorStop errors;
    int quits = 0;
    ScriptedFileDialog fileDialog;
    RecordingPrinter printer;
    ScriptedHandoutDialogs handoutDialogs;
    Shell shell{errors, dir.path(), [this] { ++quits; }, fileDialog, printer};
    ShellFixture() { shell.setHandoutDialogs(handoutDialogs); }

    // Clicks a window's button as the user would.
    static void click(const WindowObject& window, const QString& button) {
        auto* b = window.control<QPushButton>(button);
        QVERIFY2(b, qPrintable(button));
        QTest::mouseClick(b, Qt::LeftButton);
    }
};
