#include "windows/builder.h"

#include "windows/fonts.h"
#include "windows/picturearea.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include <algorithm>

using namespace layout;

namespace {

QColor toQColor(const Colour& c) {
    return QColor(c.red, c.green, c.blue);
}

QRect pixelRect(const Control& c) {
    return QRect(twipsToPixels(c.left), twipsToPixels(c.top), twipsToPixels(c.width),
                 twipsToPixels(c.height));
}

QWidget* makeControl(const Control& c, QWidget* form) {
    switch (c.kind) {
    case ControlKind::CommandButton:
        return new QPushButton(c.caption, form);
    case ControlKind::Label: {
        auto* label = new QLabel(c.caption, form);
        label->setAlignment((c.settings & Centred) ? Qt::AlignHCenter | Qt::AlignTop
                                                   : Qt::AlignLeft | Qt::AlignTop);
        label->setAutoFillBackground(true);
        return label;
    }
    case ControlKind::TextBox: {
        if (c.settings & MultiLine) {
            auto* edit = new QPlainTextEdit(c.caption, form);
            edit->setTabChangesFocus(true);
            if (c.settings & BothScrollBars) {
                edit->setLineWrapMode(QPlainTextEdit::NoWrap);
                edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            }
            return edit;
        }
        auto* edit = new QLineEdit(c.caption, form);
        if (c.maxLength > 0)
            edit->setMaxLength(c.maxLength);
        return edit;
    }
    case ControlKind::PictureArea:
        return new PictureArea(form);
    case ControlKind::Image: {
        auto* image = new QLabel(form);
        image->setScaledContents(c.settings & Stretched);
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (!c.picture.isEmpty())
            image->setPixmap(QPixmap(c.picture));
        return image;
    }
    case ControlKind::FileDialog:
        return nullptr;
    }
    return nullptr;
}

} // namespace

QWidget* buildWindow(const Window& window) {
    installFontSubstitutions();
    auto* form = new QWidget;
    form->setObjectName(window.name);
    form->setWindowTitle(window.caption);
    form->setFont(toQFont(window.font));
    if (window.background) {
        QPalette pal = form->palette();
        pal.setColor(QPalette::Window, toQColor(*window.background));
        form->setPalette(pal);
        form->setAutoFillBackground(true);
    }
    const QSize client(twipsToPixels(window.clientWidth), twipsToPixels(window.clientHeight));
    if (window.position)
        form->setGeometry(
            QRect(QPoint(twipsToPixels(window.position->x()), twipsToPixels(window.position->y())), client));
    else
        form->resize(client);

    QList<QWidget*> focusChain;
    QList<QWidget*> onTop;
    for (const Control& c : window.controls) {
        QWidget* w = makeControl(c, form);
        if (!w)
            continue;
        w->setObjectName(c.name);
        w->setGeometry(pixelRect(c));
        if (c.font)
            w->setFont(toQFont(*c.font));
        QPalette pal = w->palette();
        if (c.background) {
            pal.setColor(QPalette::Window, toQColor(*c.background));
            pal.setColor(QPalette::Base, toQColor(*c.background));
            pal.setColor(QPalette::Button, toQColor(*c.background));
            w->setAutoFillBackground(true);
        }
        if (c.foreground) {
            pal.setColor(QPalette::WindowText, toQColor(*c.foreground));
            pal.setColor(QPalette::Text, toQColor(*c.foreground));
            pal.setColor(QPalette::ButtonText, toQColor(*c.foreground));
        }
        w->setPalette(pal);
        if (c.settings & Hidden)
            w->setVisible(false);
        if (c.kind == ControlKind::Label || c.kind == ControlKind::Image)
            w->setFocusPolicy(Qt::NoFocus);
        else
            onTop.append(w);
        if (c.tab >= 0 && w->focusPolicy() != Qt::NoFocus)
            focusChain.append(w);
    }
    // Labels lie beneath buttons, boxes and picture areas.
    for (QWidget* w : onTop)
        w->raise();

    std::stable_sort(focusChain.begin(), focusChain.end(), [&](QWidget* a, QWidget* b) {
        return window.control(a->objectName())->tab < window.control(b->objectName())->tab;
    });
    for (qsizetype i = 1; i < focusChain.size(); ++i)
        QWidget::setTabOrder(focusChain[i - 1], focusChain[i]);
    if (!focusChain.isEmpty())
        focusChain.first()->setFocus();
    return form;
}
