// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Marks the program as running for as long as this object lives, where the
// system's installers can see it. On Windows a named mutex that the setup and
// the uninstaller look for before they replace or remove files a running
// program holds open; Debian's package manager replaces files in use
// safely, so there it marks nothing. main() holds one.
class RunningInstance {
public:
    // In the Global namespace, so that an installer run by an administrator
    // sees the program running in any user's session. packaging/windows/
    // common.nsh names it too.
    static constexpr const wchar_t* MutexName = L"Global\\jp.yomorisu.Yomorisu";

    RunningInstance();
    ~RunningInstance();
    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;

private:
    void* m_handle = nullptr;
};
