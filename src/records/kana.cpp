// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/kana.h"

QString foldKana(const QString& text) {
    // NFKC makes half-width katakana full-width (joining ﾞ and ﾟ to their
    // kana) and full-width Latin letters and digits ASCII.
    const QString normal = text.normalized(QString::NormalizationForm_KC);
    QString key;
    key.reserve(normal.size());
    for (QChar c : normal) {
        const char16_t u = c.unicode();
        if (c.isSpace()) {
            continue;
        }
        if ((u >= 0x30A1 && u <= 0x30F6) || u == 0x30FD || u == 0x30FE) {
            key.append(QChar(char16_t(u - 0x60))); // ァ..ヶ, ヽヾ: their hiragana
        } else {
            key.append(c.toLower());
        }
    }
    return key;
}
