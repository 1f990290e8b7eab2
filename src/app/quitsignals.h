// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) end the
// program as おわり does, so its work is cancelled and waited for: `end` runs
// on the GUI thread from the event loop, not in the signal handler. Needs a
// QCoreApplication; call once.
void endOnQuitSignals(std::function<void()> end);
