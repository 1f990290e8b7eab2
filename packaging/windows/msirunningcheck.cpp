// SPDX-License-Identifier: GPL-3.0-or-later
// The MSI's custom action run before it changes any file (yomorisu.wxs):
// while ヨモリス runs, it asks to end it (再試行 / キャンセル) when the MSI
// shows its windows, and fails the MSI at once, nothing changed, when it
// does not (/qn, /qb).
#include "system/runninginstance.h"

#include <windows.h>

#include <msi.h>
#include <msiquery.h>

namespace {

bool running() {
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, RunningInstance::MutexName);
    if (mutex) {
        CloseHandle(mutex);
        return true;
    }
    // Another user's, which this one may not open: running too.
    return GetLastError() == ERROR_ACCESS_DENIED;
}

int uiLevel(MSIHANDLE install) {
    wchar_t level[16] = {};
    DWORD size = 16;
    if (MsiGetPropertyW(install, L"UILevel", level, &size) != ERROR_SUCCESS)
        return 2;
    return _wtoi(level);
}

} // namespace

extern "C" __declspec(dllexport) UINT __stdcall WaitWhileRunning(MSIHANDLE install) {
    // 4 and 5: the reduced and the full interface.
    const bool shown = uiLevel(install) >= 4;
    while (running()) {
        if (!shown ||
            MessageBoxW(nullptr, L"ヨモリスが起動しています。終了してから［再試行］を押してください。", L"ヨモリス",
                        MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY)
            return ERROR_INSTALL_FAILURE;
    }
    return ERROR_SUCCESS;
}
