// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/startup.h"

#include "forms/fonts.h"
#include "forms/pictureaccessible.h"

#include <QPixmapCache>

void prepareApplication() {
    installFontSubstitutions();
    installAccessibleInterfaces();
    // The style keeps what it draws keyed by each control's palette, and each
    // load gives the controls new palettes, so nothing kept is ever drawn
    // again; Qt 6.4 holds even the keys of what it drops until the program
    // idles. Redrawing a button face costs less than keeping it.
    QPixmapCache::setCacheLimit(0);
}
