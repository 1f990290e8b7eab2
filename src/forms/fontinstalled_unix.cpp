// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/fontinstalled.h"

#include <fontconfig/fontconfig.h>

#include <memory>

bool fontInstalled(const QString& family) {
    // FcFontList matches the pattern against the fonts themselves, without
    // the configuration's substitutions, so an alias finds nothing.
    const QByteArray name = family.toUtf8();
    std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(
        FcPatternBuild(nullptr, FC_FAMILY, FcTypeString, name.constData(), static_cast<char*>(nullptr)),
        &FcPatternDestroy);
    std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
        FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr)), &FcObjectSetDestroy);
    if (!pattern || !objects)
        return false;
    std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
        FcFontList(nullptr, pattern.get(), objects.get()), &FcFontSetDestroy);
    return fonts && fonts->nfont > 0;
}
