// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// The system asking the program to end outside its own windows ends it as
// おわり does, so its work is cancelled and waited for: `end` runs on the GUI
// thread from the event loop. On Debian that is SIGTERM, SIGINT and SIGHUP
// (a logout, Ctrl+C, a closed terminal); on Windows, logging off or shutting
// down. Needs the QApplication; call once. Each system has its file
// (quitrequests_unix.cpp, quitrequests_windows.cpp).
void endOnQuitRequests(std::function<void()> end);
