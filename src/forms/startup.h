// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every window relies on and Qt holds for the whole process: the
// substitutes for the designer's fonts, the accessible interfaces of the
// program's own controls, and no style pixmap cache. main() calls it once after making the application,
// and so does the tests' start-up.
void prepareApplication();
