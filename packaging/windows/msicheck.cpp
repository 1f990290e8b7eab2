// SPDX-License-Identifier: GPL-3.0-or-later
// The MSI's look for a running ヨモリス (msi.py puts this DLL in it): run by
// msiexec before it installs, upgrades or removes anything, as the setup and
// the uninstaller look (common.nsh). Windows Installer would otherwise leave
// the files a running program holds, or replace them only at a restart.
// msiexec loads it from a temporary folder, so it is linked with nothing but
// Windows' own DLLs.

#include "system/runninginstance.h"

#include <windows.h>

#include <msi.h>
#include <msiquery.h>

namespace {

// The mutex is another user's when it cannot be opened for lack of rights:
// running too.
bool running() {
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, RunningInstance::MutexName);
    if (mutex != nullptr) {
        CloseHandle(mutex);
        return true;
    }
    return GetLastError() == ERROR_ACCESS_DENIED;
}

} // namespace

// Returns while ヨモリス is not running; asks to end it (再試行 / キャンセル)
// while it is. Cancelled, or without a window (/qn), the installation stops
// with nothing changed and msiexec ends with 1603.
extern "C" __declspec(dllexport) UINT __stdcall WaitWhileRunning(MSIHANDLE install) {
    while (running()) {
        const MSIHANDLE record = MsiCreateRecord(0);
        MsiRecordSetStringW(record, 0, L"ヨモリスが起動しています。終了してから［再試行］を押してください。");
        const int answer = MsiProcessMessage(
            install, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_RETRYCANCEL | MB_ICONEXCLAMATION), record);
        MsiCloseHandle(record);
        if (answer != IDRETRY)
            return ERROR_INSTALL_FAILURE;
    }
    return ERROR_SUCCESS;
}
