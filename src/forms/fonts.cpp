// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/fonts.h"
#include "forms/fontinstalled.h"

#include <QApplication>
#include <QHash>

#include <cmath>

namespace {

// Whether this system has the designed face, under its Japanese name or its
// English one; every Japanese Windows has all three. Asked once per face.
bool installed(const QString& designed) {
    static const QHash<QString, QString> english{
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")},
        {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho")},
        {QStringLiteral("ＭＳ 明朝"), QStringLiteral("MS Mincho")}};
    static QHash<QString, bool> known;
    const auto it = known.constFind(designed);
    if (it != known.constEnd())
        return *it;
    const bool found =
        fontInstalled(designed) || (english.contains(designed) && fontInstalled(english.value(designed)));
    known.insert(designed, found);
    return found;
}

} // namespace

QStringList standInFaces(const QString& designed, bool designedInstalled) {
    if (designedInstalled)
        return {designed};
    if (designed == QStringLiteral("ＭＳ Ｐゴシック"))
        return {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("IPAPGothic")};
    if (designed == QStringLiteral("ＭＳ Ｐ明朝"))
        return {QStringLiteral("IPAPMincho")};
    if (designed == QStringLiteral("ＭＳ 明朝"))
        return {QStringLiteral("IPAMincho")};
    return {designed};
}

QStringList standInFaces(const QString& designed) {
    return standInFaces(designed, installed(designed));
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

QFont menuFont(const QFont& windowFont) {
    QFont f = QApplication::font();
    f.setFamilies({f.family(), windowFont.families().last()});
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
