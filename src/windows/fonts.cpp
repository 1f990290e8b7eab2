#include "windows/fonts.h"

#include <cmath>

void installFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
}

QFont toQFont(const layout::Font& font) {
    QFont f(font.face);
    f.setPixelSize(int(std::lround(font.points * 96.0 / 72.0)));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    return f;
}
