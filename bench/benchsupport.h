// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks hand the shell in place of the user's answers.

#include "app/shell.h"

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
