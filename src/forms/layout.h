// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

// The design of every window: captions, positions and sizes in twips as the
// designer gave them, fonts, colours, tab order and the few settings that
// change behaviour. The builder turns one of these into widgets.
namespace layout {

enum class ControlKind { CommandButton, Label, TextBox, PictureArea, Image, FileDialog };

struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

struct Font {
    QString face;
    double points = 9;
    bool bold = false;
    bool italic = false;
};

enum Setting : unsigned {
    NoSettings = 0,
    MultiLine = 1u << 0,      // Enter starts a new line
    BothScrollBars = 1u << 1, // and lines never wrap
    Hidden = 1u << 2,         // never shown; only holds its picture
    Stretched = 1u << 3,      // picture scaled to the control's rectangle
    Centred = 1u << 4,        // label text centred
};

struct Control {
    QString name;
    ControlKind kind = ControlKind::Label;
    QString caption;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int tab = -1; // -1: no tab position (images, the file dialog)
    std::optional<Font> font;
    std::optional<Colour> background;
    std::optional<Colour> foreground;
    unsigned settings = NoSettings;
    int maxLength = 0; // 0: no limit
    QString picture;   // resource path of an image's picture
    // What assistive technology calls the control when its caption does not
    // say it: the label that explains a box or a picture area. Empty: the
    // caption, or nothing.
    QString accessibleName;
};

struct Window {
    QString name;
    QString caption;
    int clientWidth = 0;
    int clientHeight = 0;
    std::optional<QPoint> position; // client area's top-left on screen, twips; none: the system chooses
    std::optional<Colour> background;
    Font font;
    QList<Control> controls;

    const Control* control(const QString& controlName) const;
};

// Twips to logical pixels: 15 twips are one pixel at 96 dots per inch.
constexpr int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}

// Each window's own table stands beside its class.

} // namespace layout
