// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether the system has a font of this family under this very name (its
// Japanese or English one). Aliases and substitutes do not count: fontconfig
// maps the designed Japanese faces to the IPA ones, which are no such font.
// Asks about the one name, never for the list of every family, which would
// cost the start-up its fonts' whole population.
bool fontInstalled(const QString& family);
