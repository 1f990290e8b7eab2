// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shorthand for the layout tables that stand beside each window class.
// Rows are in tab order; images and the file dialog, which take no focus,
// come last. Captions keep their full-width spaces exactly.
// Window: name, caption, client width and height; client position on screen
// (none: the system places it), background, font.
// Controls: name, kind, caption, left, top, width, height, tab, font,
// background, text colour, settings, maximum length, picture, accessible name.
// Positions and sizes are twips.

#include "forms/layout.h"

namespace layout::rows {

// The designer's three Japanese faces; fonts.cpp maps them to installed fonts.
inline const QString PGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString PMincho = QStringLiteral("ＭＳ Ｐ明朝");
inline const QString Mincho = QStringLiteral("ＭＳ 明朝");

constexpr auto Button = ControlKind::CommandButton;
constexpr auto Label = ControlKind::Label;
constexpr auto TextBox = ControlKind::TextBox;
constexpr auto Picture = ControlKind::PictureArea;
constexpr auto Image = ControlKind::Image;
constexpr auto FileDialog = ControlKind::FileDialog;

} // namespace layout::rows
