// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/fonts.h"

#include <cmath>

QStringList standInFaces(const QString& designed) {
    if (designed == QStringLiteral("ＭＳ Ｐゴシック"))
        return {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("IPAPGothic")};
    if (designed == QStringLiteral("ＭＳ Ｐ明朝"))
        return {QStringLiteral("IPAPMincho")};
    if (designed == QStringLiteral("ＭＳ 明朝"))
        return {QStringLiteral("IPAMincho")};
    return {designed};
}

void installFontSubstitutions() {
    for (const QString& face :
         {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("ＭＳ 明朝")}) {
        QFont::removeSubstitutions(face);
        QFont::insertSubstitutions(face, standInFaces(face));
    }
}

QFont toQFont(const layout::Font& font) {
    QFont f;
    f.setFamilies(standInFaces(font.face));
    f.setPixelSize(int(std::lround(font.points * 96.0 / 72.0)));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    return f;
}

QFont metricsFace(const QFont& font) {
    const QStringList faces = font.families();
    if (faces.size() < 2)
        return font;
    QFont f(font);
    f.setFamilies({faces.last()});
    return f;
}
