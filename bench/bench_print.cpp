// SPDX-License-Identifier: GPL-3.0-or-later
// The first 印刷's extra time: what printing loads and sets up the first time
// (libcups, opened on the first print, the print system's default printer, the PDF
// engine and the print font), as the first print of a run against the second
// in the same process, the median over fresh processes. No job is sent: each
// print asks for the default printer, as 印刷 does, and lays a document out
// into a PDF file.
// Run by hand:
//   build/bench/bench_print -platform offscreen
#include "documents/documentreader.h"
#include "print/pages.h"
#include "system/systemprinter.h"

#include "system/cupsprintservice_unix.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Runs = 9;

double printOnceMs(const QString& text, const QString& pdf) {
    QElapsedTimer timer;
    timer.start();
    QPdfWriter writer(pdf);
    try {
        // Opens libcups on the first print, as 印刷 does.
        CupsPrintService service(std::chrono::seconds(PrintServiceAnswerSeconds), [] { return false; });
        service.defaultPrinter();
        writer.setPageSize(service.defaultPaper());
    } catch (const RuntimeError&) {
        // No print system here: the rest of the work is the same.
    }
    layOutOnPages(text, QStringLiteral("糖尿病.txt"), writer);
    return double(timer.nsecsElapsed()) / 1e6;
}

// One fresh process: the first and the second print, in milliseconds.
std::array<double, 2> firstAndSecond(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString text = loadDocument(QStringLiteral(YOMORISU_SAMPLE_DATA "/健康相談/糖尿病.txt")).text;
    QTemporaryDir dir;
    const double first = printOnceMs(text, dir.filePath(QStringLiteral("first.pdf")));
    return {first, printOnceMs(text, dir.filePath(QStringLiteral("second.pdf")))};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    std::vector<double> first, second, extra;
    for (int i = 0; i < Runs; ++i) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return 1;
        const pid_t child = fork();
        if (child == 0) {
            const std::array<double, 2> times = firstAndSecond(argc, argv);
            _exit(write(pipeEnds[1], times.data(), sizeof times) == sizeof times ? 0 : 1);
        }
        close(pipeEnds[1]);
        std::array<double, 2> times{};
        const bool read = ::read(pipeEnds[0], times.data(), sizeof times) == sizeof times;
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (!read)
            return 1;
        first.push_back(times[0]);
        second.push_back(times[1]);
        extra.push_back(times[0] - times[1]);
    }
    std::printf("first 印刷: %.1f ms, second: %.1f ms, extra for loading the print machinery: %.1f ms "
                "(median of %d processes)\n",
                median(first), median(second), median(extra), Runs);
    return 0;
}
