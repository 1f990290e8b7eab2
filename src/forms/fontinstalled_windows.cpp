// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/fontinstalled.h"

#include <windows.h>

bool fontInstalled(const QString& family) {
    // Enumerates the one family by its face name, Japanese or English,
    // rather than every family the system has.
    if (family.isEmpty() || family.size() >= LF_FACESIZE)
        return false;
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    family.toWCharArray(wanted.lfFaceName);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM answer) -> int {
            *reinterpret_cast<bool*>(answer) = true;
            return 0; // one is enough
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}
