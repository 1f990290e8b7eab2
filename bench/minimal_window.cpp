// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for start-up: the smallest Qt Widgets program that shows what the
// main menu shows first, a window with a title in IPA Mincho 14.25 pt bold
// and a button in Liberation Sans Narrow then IPA P Gothic 9 pt (the
// stand-ins the program gives its designed faces), so the fonts are found and
// loaded as they are for ヨモリス. bench_startup measures ヨモリス against it.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(312, 232);
    // Pixel sizes at 96 dots per inch, as the program sets them.
    QFont titleFont(QStringLiteral("IPAMincho"));
    titleFont.setPixelSize(19);
    titleFont.setBold(true);
    QLabel title(QStringLiteral("ヨ　モ　リ　ス"), &window);
    title.setFont(titleFont);
    title.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title.setGeometry(56, 8, 217, 17);
    QFont buttonFont;
    buttonFont.setFamilies({QStringLiteral("Liberation Sans Narrow"), QStringLiteral("IPAPGothic")});
    buttonFont.setPixelSize(12);
    QPushButton button(QStringLiteral("食品カロリー"), &window);
    button.setFont(buttonFont);
    button.setGeometry(24, 48, 105, 25);
    window.show();
    return QApplication::exec();
}
