// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up against the floor: from process start to the first top-level
// window mapped on the display, and the peak resident memory up to then, for
// ヨモリス and each floor program (a minimal Qt Widgets program), in paired
// runs on one display.
// Run by hand under one virtual display and one D-Bus session (without a
// session bus Qt would start one per run), e.g.
//   xvfb-run -a dbus-run-session -- build/bench/bench_startup 20 build/yomorisu build/bench/minimal_window
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    double milliseconds = 0;
    long peakKilobytes = 0;
};

// Starts the program and waits for a window of its to be mapped on the root.
Run startAndWaitForWindow(xcb_connection_t* x, const char* program) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program, program, "-platform", "xcb", static_cast<char*>(nullptr));
        _exit(127);
    }
    Run run;
    const int fd = xcb_get_file_descriptor(x);
    bool mapped = false;
    while (!mapped) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval timeout{10, 0};
        if (select(fd + 1, &readable, nullptr, nullptr, &timeout) <= 0) {
            std::fprintf(stderr, "%s: no window within 10 s\n", program);
            std::exit(1);
        }
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY)
                mapped = true;
            std::free(event);
        }
    }
    run.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.peakKilobytes = usage.ru_maxrss;
    return run;
}

template <class T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_startup RUNS PROGRAM FLOOR_PROGRAM [FLOOR_PROGRAM ...]\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int programs = argc - 2; // the program, then each floor
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    // Top-level windows are mapped as children of the root: watch its substructure.
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    std::vector<std::vector<double>> times(programs);
    std::vector<std::vector<long>> peaks(programs);
    for (int p = 0; p < programs; ++p) // warm the file cache for all
        startAndWaitForWindow(x, argv[2 + p]);
    for (int i = 0; i < runs; ++i) {
        for (int p = 0; p < programs; ++p) {
            const Run run = startAndWaitForWindow(x, argv[2 + p]);
            times[p].push_back(run.milliseconds);
            peaks[p].push_back(run.peakKilobytes);
        }
    }
    const double t0 = median(times[0]);
    const long m0 = median(peaks[0]);
    for (int p = 1; p < programs; ++p) {
        const double t1 = median(times[p]);
        const long m1 = median(peaks[p]);
        const char* floor = std::strrchr(argv[2 + p], '/') ? std::strrchr(argv[2 + p], '/') + 1 : argv[2 + p];
        std::printf("start-up to window mapped: %.1f ms, %s %.1f ms, ratio %.2f (goal <= 1.00)\n", t0, floor,
                    t1, t0 / t1);
        std::printf("peak resident memory: %ld KB, %s %ld KB, ratio %.2f (goal <= 1.05)\n", m0, floor, m1,
                    double(m0) / double(m1));
    }
    xcb_disconnect(x);
    return 0;
}
