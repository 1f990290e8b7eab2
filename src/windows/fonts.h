#pragma once

#include "windows/layout.h"

#include <QFont>

// The designer's Japanese fonts map to Debian's metric-compatible IPA fonts.
// Called once, at start-up.
void installFontSubstitutions();

// A layout font as a QFont. Sizes become pixel sizes at 96 dots per inch, the
// same scale the twips of the layouts use, so text fits the designed boxes
// whatever the screen reports.
QFont toQFont(const layout::Font& font);
