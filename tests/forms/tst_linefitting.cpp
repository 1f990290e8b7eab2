// SPDX-License-Identifier: GPL-3.0-or-later
// A printed line fitted to a picture area's surface from the font's metrics:
// the listing row's number and value stay whole and inside, the name gives
// way, squeezed or cut after whole characters.

#include "forms/fonts.h"
#include "forms/layoutrows.h"
#include "forms/linefitting.h"
#include "guitest.h"

#include <QTest>

#include <cmath>

namespace {

const QString Ellipsis = QStringLiteral("…");

QString trimmedEnd(QString text) {
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

} // namespace

class TestLineFitting : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void nameGivesWay_data();
    void nameGivesWay();
    void cutKeepsSurrogatePairsWhole();

private:
    QFont m_font;
    qreal m_zone = 0;
};

void TestLineFitting::initTestCase() {
    m_font = toQFont(layout::Font{layout::rows::PGothic, 9});
    m_zone = 14 * QFontMetricsF(m_font).averageCharWidth();
}

void TestLineFitting::nameGivesWay_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("item"); // the name's item, from where, how long
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<qreal>("give");   // of the name's width, taken off the room the line needs
    QTest::addColumn<QString>("name"); // "whole", "squeezed" or "cut"
    QTest::addColumn<qreal>("zone");   // above the font's zone's whole pixels; 0: the font's zone
    const QString kanji = QStringLiteral("国産牛焼肉御膳特上盛");
    const QStringList formatted{QStringLiteral("300   ") + kanji + QStringLiteral("    32767")};
    const QStringList zoned{QStringLiteral(" 300 "), kanji, QStringLiteral(" 32767 ")};
    QTest::newRow("formatted, room to spare") << formatted << 0 << 6 << 10 << -0.5 << "whole" << 0.0;
    QTest::newRow("formatted, exactly its width") << formatted << 0 << 6 << 10 << 0.0 << "whole" << 0.0;
    QTest::newRow("formatted, a tenth short") << formatted << 0 << 6 << 10 << 0.1 << "squeezed" << 0.0;
    QTest::newRow("formatted, a fifth short") << formatted << 0 << 6 << 10 << 0.19 << "squeezed" << 0.0;
    QTest::newRow("formatted, half short") << formatted << 0 << 6 << 10 << 0.5 << "cut" << 0.0;
    QTest::newRow("formatted, most of it short") << formatted << 0 << 6 << 10 << 0.8 << "cut" << 0.0;
    const QString long15 = QStringLiteral("自転車エルゴメーター（高負荷）");
    QTest::newRow("formatted, fifteen characters, half short")
        << QStringList{QStringLiteral("300   ") + long15 + QStringLiteral("    32767")} << 0 << 6 << 15 << 0.5
        << "cut" << 0.0;
    QTest::newRow("zoned, room to spare") << zoned << 1 << 0 << 10 << -0.5 << "whole" << 0.0;
    // The value's zone cannot move left of the name's next: it stands left
    // of its zone, ending at the edge, and the name is cut to make room.
    QTest::newRow("zoned, no zone left for the value") << zoned << 1 << 0 << 10 << 0.9 << "cut" << 0.0;
    // A zone a little over whole pixels starts on the pixel before it (as at
    // 200 % under Wine): the name's own zone is still its own, not the next.
    QTest::newRow("zoned, zone over whole pixels, a tenth short")
        << zoned << 1 << 0 << 10 << 0.1 << "squeezed" << 0.03;
    QTest::newRow("zoned, zone over whole pixels, no zone left")
        << zoned << 1 << 0 << 10 << 0.9 << "cut" << 0.03;
}

void TestLineFitting::nameGivesWay() {
    QFETCH(QStringList, items);
    QFETCH(int, item);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(qreal, give);
    QFETCH(QString, name);
    QFETCH(qreal, zone);
    const qreal zoneWidth = zone > 0 ? std::floor(m_zone) + zone : m_zone;
    const QFontMetricsF metrics(m_font);
    // The room the line needs with the name whole.
    const qreal need =
        zonePositions(items, metrics, zoneWidth).last() + metrics.horizontalAdvance(trimmedEnd(items.last()));
    const QString nameText = items[item].mid(start, length);
    const qreal surface = need - give * metrics.horizontalAdvance(nameText);
    const QString text = items.join(u'\t');
    const qsizetype nameStart = text.indexOf(nameText);

    const QList<LinePiece> pieces =
        fitLine(items, PictureLines::Span{item, start, length}, metrics, zoneWidth, surface);
    QVERIFY(!pieces.isEmpty());
    QCOMPARE(pieces.first().start, 0);
    QCOMPARE(pieces.last().start + pieces.last().length, text.size());
    QList<const LinePiece*> namePieces;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const LinePiece& p = pieces[i];
        const QString where = QStringLiteral("piece %1 \"%2\" at %3").arg(i).arg(p.shown).arg(p.x);
        if (i > 0) {
            const LinePiece& before = pieces[i - 1];
            // In order, nothing of the text left out but the tabs between items.
            const qsizetype gap = p.start - (before.start + before.length);
            QVERIFY2(gap == 0 || (gap == 1 && text.at(p.start - 1) == u'\t'), qPrintable(where));
            QVERIFY2(before.x + before.width(metrics) <= p.x + 0.01,
                     qPrintable(where + QStringLiteral(": overlaps")));
        }
        QVERIFY2(p.x + p.scale * metrics.horizontalAdvance(trimmedEnd(p.shown)) <= surface + 0.01,
                 qPrintable(where + QStringLiteral(": past %1").arg(surface)));
        if (p.start >= nameStart && p.start < nameStart + length) {
            namePieces.append(&p);
            continue;
        }
        // The number and the value are drawn whole.
        QCOMPARE(p.shown, text.mid(p.start, p.length));
        QCOMPARE(p.scale, 1.0);
    }
    QVERIFY(!namePieces.isEmpty());
    if (name == u"whole") {
        QCOMPARE(namePieces.size(), 1);
        QCOMPARE(namePieces[0]->shown, nameText);
        QCOMPARE(namePieces[0]->scale, 1.0);
    } else if (name == u"squeezed") {
        QCOMPARE(namePieces.size(), 1);
        QCOMPARE(namePieces[0]->shown, nameText);
        QVERIFY2(namePieces[0]->scale < 1 && namePieces[0]->scale >= 0.8,
                 qPrintable(QString::number(namePieces[0]->scale)));
    } else {
        const LinePiece& mark = *namePieces.last();
        QVERIFY(mark.cut);
        QCOMPARE(mark.shown, Ellipsis);
        QCOMPARE(mark.start + mark.length, nameStart + length);
        if (namePieces.size() == 2) {
            QCOMPARE(namePieces[0]->shown, nameText.left(namePieces[0]->length));
            QCOMPARE(namePieces[0]->scale, mark.scale);
        }
        QVERIFY(mark.length > 0);
    }
}

// Wherever the edge falls, a name beyond the basic plane is cut between
// characters, never between the halves of one.
void TestLineFitting::cutKeepsSurrogatePairsWhole() {
    const QFontMetricsF metrics(m_font);
    const QString name = QStringLiteral("𠮷𩸽𠮷𩸽𠮷𩸽𠮷𩸽");
    const QStringList items{QStringLiteral("12   ") + name + QStringLiteral("    800")};
    const PictureLines::Span span{0, 5, name.size()};
    const qreal need = metrics.horizontalAdvance(items[0]);
    const qreal nameWidth = metrics.horizontalAdvance(name);
    int cuts = 0;
    for (int percent = 25; percent < 95; ++percent) {
        const qreal give = percent / 100.0;
        const QList<LinePiece> pieces = fitLine(items, span, metrics, m_zone, need - give * nameWidth);
        for (const LinePiece& p : pieces) {
            if (p.cut)
                ++cuts;
            if (p.start == 5 && !p.cut) {
                QVERIFY2(p.length % 2 == 0 && !p.shown.back().isHighSurrogate(),
                         qPrintable(QString::number(give)));
                QCOMPARE(p.shown, name.left(p.length));
            }
        }
    }
    // Every width above cut the name.
    QCOMPARE(cuts, 70);
}

YOMORISU_GUI_TEST_MAIN(TestLineFitting)
#include "tst_linefitting.moc"
