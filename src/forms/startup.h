// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>

class QString;

// What every window relies on and Qt holds for the whole process: the
// substitutes for the designer's fonts, the accessible interfaces of the
// program's own controls, a style that reads its pictures without guessing
// their format, and no style pixmap cache. main() calls it once after making
// the application, and so does the tests' start-up.
void prepareApplication();

// A PNG read as PNG. Left to guess, Qt's image reader loads every image
// format plugin (and libjpeg) to ask each whether it knows the file.
QPixmap pngPicture(const QString& path);
