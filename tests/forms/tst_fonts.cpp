// SPDX-License-Identifier: GPL-3.0-or-later
// Which faces stand in for a designed one, and how the program tells that a
// face is installed.

#include "forms/fontinstalled.h"
#include "forms/fonts.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QTest>

class TestFonts : public QObject {
    Q_OBJECT
private slots:
    void aliasesDoNotCountAsInstalled_data();
    void aliasesDoNotCountAsInstalled();
    void designedFaceWhenInstalled();
    void standInsAreInstalledFaces_data();
    void standInsAreInstalledFaces();
};

void TestFonts::aliasesDoNotCountAsInstalled_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("installed");
    // fontconfig resolves the Japanese Windows names to the IPA faces, which
    // is no such font: the check must see through that.
    QTest::newRow("a face this machine has") << QStringLiteral("IPAPGothic") << true;
    QTest::newRow("its Japanese name") << QStringLiteral("IPA Pゴシック") << true;
    QTest::newRow("a designed face fontconfig aliases") << QStringLiteral("MS PGothic") << false;
    QTest::newRow("its Japanese name too") << QStringLiteral("ＭＳ Ｐゴシック") << false;
    QTest::newRow("no face at all") << QStringLiteral("No Such Face 12345") << false;
    QTest::newRow("no name") << QString() << false;
}

void TestFonts::aliasesDoNotCountAsInstalled() {
    QFETCH(QString, family);
    QFETCH(bool, installed);
    QCOMPARE(fontInstalled(family), installed);
}

void TestFonts::designedFaceWhenInstalled() {
    // On a Japanese Windows the designed face itself, and nothing in front.
    QCOMPARE(standInFaces(QStringLiteral("ＭＳ Ｐゴシック"), true),
             QStringList{QStringLiteral("ＭＳ Ｐゴシック")});
    QVERIFY(
        !standInFaces(QStringLiteral("ＭＳ Ｐゴシック"), false).contains(QStringLiteral("ＭＳ Ｐゴシック")));
}

void TestFonts::standInsAreInstalledFaces_data() {
    QTest::addColumn<QString>("designed");
    QTest::newRow("proportional Gothic") << QStringLiteral("ＭＳ Ｐゴシック");
    QTest::newRow("proportional Mincho") << QStringLiteral("ＭＳ Ｐ明朝");
    QTest::newRow("Mincho") << QStringLiteral("ＭＳ 明朝");
}

void TestFonts::standInsAreInstalledFaces() {
    // A misspelt stand-in would fall back to some other face unseen; here
    // every one is a font the setup installs, and the last one, which gives
    // the kana and kanji, is what a font asking for them resolves to.
    QFETCH(QString, designed);
    const QStringList faces = standInFaces(designed);
    QVERIFY(!faces.isEmpty());
    for (const QString& face : faces)
        QVERIFY2(fontInstalled(face), qPrintable(face));
    QFont font;
    font.setFamilies({faces.last()});
    QCOMPARE(QFontInfo(font).family(), faces.last());
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
