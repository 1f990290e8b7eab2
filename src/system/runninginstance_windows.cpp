// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/runninginstance.h"

#include <windows.h>

// Any process may create a mutex in the Global namespace.
RunningInstance::RunningInstance() : m_handle(CreateMutexW(nullptr, FALSE, MutexName)) {
    // Without the mutex (a system that refuses it) the program runs as
    // before; only the installers' check is lost.
}

RunningInstance::~RunningInstance() {
    if (m_handle)
        CloseHandle(m_handle);
}
