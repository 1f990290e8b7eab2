// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/layout.h"

#include <QWidget>

#include <memory>

class QMenuBar;

// Builds a window's on-screen part from its layout: a top-level widget named
// after the window, holding one child per control, each named after its
// control. Called afresh on every load, so the window shows its design
// contents each time.
//
// A menu bar, when given, goes above the designed client area, which then
// becomes a child widget of its designed size holding the controls at their
// designed places; the window grows by the menu bar's height.
std::unique_ptr<QWidget> buildWindow(const layout::Window& window, QMenuBar* menuBar = nullptr);

// The object name of that client area.
inline const QString ClientAreaName = QStringLiteral("ClientArea");
