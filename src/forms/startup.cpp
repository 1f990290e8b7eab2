// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/startup.h"

#include "forms/fonts.h"
#include "forms/pictureaccessible.h"

#include <QApplication>
#include <QImageReader>
#include <QPixmapCache>
#include <QProxyStyle>
#include <QWidget>

namespace {

// The desktop's own style, but for the one picture every menu bar asks for
// when it is made: the button that shows the menus a narrow bar cannot.
// The style would read Qt's PNGs for it by guessing their format, which
// loads every image plugin before the first window; here they are read as
// the PNGs they are.
class PlainPictureStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which != SP_ToolBarHorizontalExtensionButton)
            return QProxyStyle::standardIcon(which, option, widget);
        const bool rtl = widget ? widget->isRightToLeft() : QApplication::isRightToLeft();
        const QString pictures =
            QStringLiteral(":/qt-project.org/styles/commonstyle/images/toolbar-ext-h%1-%2.png")
                .arg(rtl ? QStringLiteral("-rtl") : QString());
        QIcon icon;
        for (const int size : {8, 16, 32})
            icon.addPixmap(pngPicture(pictures.arg(size)));
        return icon;
    }
};

} // namespace

QPixmap pngPicture(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

void prepareApplication() {
    installFontSubstitutions();
    installAccessibleInterfaces();
    // Whichever style the desktop or -style chose, wrapped: the proxy takes
    // it over, so the application does not delete it when it takes the proxy.
    QApplication::setStyle(new PlainPictureStyle(QApplication::style()));
    // The style keeps what it draws keyed by each control's palette, and each
    // load gives the controls new palettes, so nothing kept is ever drawn
    // again; Qt 6.4 holds even the keys of what it drops until the program
    // idles. Redrawing a button face costs less than keeping it.
    QPixmapCache::setCacheLimit(0);
}
