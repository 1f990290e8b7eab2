// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

// The program's name as the user sees it: message boxes' titles, the foot of
// a handout, the creator of a PDF or a print job.
inline constexpr QStringView ProgramName = u"ヨモリス";
