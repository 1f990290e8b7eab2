// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/builder.h"

#include "forms/caption.h"
#include "forms/fonts.h"
#include "forms/imagecontrol.h"
#include "forms/picturearea.h"
#include "forms/textbox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
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

// The light scheme the designed colours were chosen against: black text,
// white boxes, light grey faces.
QPalette lightScheme() {
    const QColor face(240, 240, 240);
    return QPalette(face, face);
}

// Every role a control draws with is set on the control itself, so a
// coloured window does not pass its background on to controls that have none
// listed. A control with a colour of its own, or on a window with one, takes
// its other colours from the light scheme, so no designed colour meets a dark
// desktop's partner; the rest follow the desktop.
void applyColours(QWidget* w, const Control& c, bool onColouredWindow, const QColor& windowBackground) {
    const bool designed = c.background || c.foreground || onColouredWindow;
    const QPalette scheme = designed ? lightScheme() : QApplication::palette();
    QPalette pal = scheme;
    auto set = [&](QPalette::ColorRole role, const std::optional<Colour>& listed, const QColor& fallback) {
        pal.setColor(role, listed ? toQColor(*listed) : fallback);
    };
    switch (c.kind) {
    case ControlKind::CommandButton:
        set(QPalette::Button, c.background, scheme.color(QPalette::Button));
        set(QPalette::ButtonText, c.foreground, scheme.color(QPalette::ButtonText));
        set(QPalette::Window, c.background, scheme.color(QPalette::Button));
        break;
    case ControlKind::Label:
        // Drawn on the window's surface: without a background of its own it
        // shows the window's, whatever the style would fill it with, unless
        // its designed text needs the light face beneath it.
        set(QPalette::Window, c.background,
            c.foreground && !onColouredWindow ? scheme.color(QPalette::Button) : windowBackground);
        set(QPalette::WindowText, c.foreground, scheme.color(QPalette::WindowText));
        break;
    case ControlKind::PictureArea:
        // The 3-D face colour, as on buttons, with the face's text.
        set(QPalette::Window, c.background, scheme.color(QPalette::Button));
        set(QPalette::WindowText, c.foreground, scheme.color(QPalette::ButtonText));
        break;
    case ControlKind::TextBox:
        set(QPalette::Base, c.background, scheme.color(QPalette::Base));
        set(QPalette::Text, c.foreground, scheme.color(QPalette::Text));
        set(QPalette::Window, std::nullopt, scheme.color(QPalette::Button));
        break;
    case ControlKind::Image:
    case ControlKind::FileDialog:
        return;
    }
    w->setPalette(pal);
}

QWidget* makeTextBox(const Control& c, QWidget* form) {
    if (!(c.settings & MultiLine)) {
        auto* edit = new QLineEdit(c.caption, form);
        if (c.maxLength > 0)
            setWholeCharacterMaxLength(edit, c.maxLength);
        edit->setCursorPosition(0);
        return edit;
    }
    auto* edit = new TextBox(form);
    edit->setText(c.caption);
    edit->setMaxLength(c.maxLength);
    if (c.settings & BothScrollBars) {
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    } else {
        // A multi-line box without scroll bars wraps at its width instead.
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    edit->moveCursor(QTextCursor::Start);
    return edit;
}

QWidget* makeControl(const Control& c, QWidget* form) {
    switch (c.kind) {
    case ControlKind::CommandButton:
        return new CommandButton(c.caption, form);
    case ControlKind::Label: {
        auto* label = new LabelControl(c.caption, form);
        label->setAlignment((c.settings & Centred) ? Qt::AlignHCenter | Qt::AlignTop
                                                   : Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::TextBox:
        return makeTextBox(c, form);
    case ControlKind::PictureArea:
        return new PictureArea(form);
    case ControlKind::Image: {
        auto* image = new ImageControl(form);
        image->setStretched(c.settings & Stretched);
        if (!c.picture.isEmpty())
            image->setPicture(QPixmap(c.picture));
        return image;
    }
    case ControlKind::FileDialog:
        // Not part of the window's surface; the document window opens its
        // own dialog when asked.
        return nullptr;
    }
    return nullptr;
}

bool isDrawnOnSurface(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::Image;
}

} // namespace

std::unique_ptr<QWidget> buildWindow(const Window& window, QMenuBar* menuBar) {
    auto form = std::make_unique<QWidget>();
    form->setObjectName(window.name);
    form->setWindowTitle(window.caption);
    form->setFont(toQFont(window.font));
    QPalette formPalette = window.background ? lightScheme() : QApplication::palette();
    if (window.background)
        formPalette.setColor(QPalette::Window, toQColor(*window.background));
    form->setPalette(formPalette);
    form->setAutoFillBackground(true);
    const QSize client(twipsToPixels(window.clientWidth), twipsToPixels(window.clientHeight));
    QWidget* surface = form.get();
    QSize size = client;
    if (menuBar) {
        menuBar->setParent(form.get());
        // The menu is the desktop's, not part of the design.
        menuBar->setPalette(QApplication::palette());
        menuBar->setFont(menuFont(form->font()));
        const int menuHeight = menuBar->sizeHint().height();
        menuBar->setGeometry(0, 0, client.width(), menuHeight);
        surface = new QWidget(form.get());
        surface->setObjectName(ClientAreaName);
        surface->setGeometry(QRect(QPoint(0, menuHeight), client));
        size.rheight() += menuHeight;
    }
    if (window.position) {
        // setGeometry places the client area, not the frame, as designed.
        form->setGeometry(
            QRect(QPoint(twipsToPixels(window.position->x()), twipsToPixels(window.position->y())), size));
    } else {
        form->resize(size);
    }

    QList<std::pair<int, QWidget*>> focusChain;
    QList<QWidget*> onTop;
    for (const Control& c : window.controls) {
        QWidget* w = makeControl(c, surface);
        if (!w)
            continue;
        w->setObjectName(c.name);
        w->setGeometry(pixelRect(c));
        if (c.font)
            w->setFont(toQFont(*c.font));
        // A scrolling document has no width to fit, and the narrow Latin face
        // would also take its symbols (■, “ ”, …) from the Japanese one,
        // which draws them full-width as the designed face does.
        if (c.kind == ControlKind::TextBox && (c.settings & BothScrollBars))
            w->setFont(metricsFace(w->font()));
        applyColours(w, c, window.background.has_value(), formPalette.color(QPalette::Window));
        if (!c.accessibleName.isEmpty())
            w->setAccessibleName(c.accessibleName);
        if (c.settings & Hidden)
            w->setVisible(false);
        if (isDrawnOnSurface(c.kind))
            w->setFocusPolicy(Qt::NoFocus);
        else
            onTop.append(w);
        if (c.tab >= 0 && w->focusPolicy() != Qt::NoFocus)
            focusChain.append({c.tab, w});
    }
    // Labels and images lie beneath buttons, boxes and picture areas.
    for (QWidget* w : onTop)
        w->raise();

    std::stable_sort(focusChain.begin(), focusChain.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (qsizetype i = 1; i < focusChain.size(); ++i)
        QWidget::setTabOrder(focusChain[i - 1].second, focusChain[i].second);
    if (!focusChain.isEmpty())
        focusChain.first().second->setFocus();
    return form;
}
