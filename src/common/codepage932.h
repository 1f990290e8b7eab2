// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What both systems' decoders of code page 932 (codepage932_*.cpp) know of
// its bytes.

#include <QtGlobal>

// A byte that starts a double-byte character.
inline bool isLeadByte(uchar b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
