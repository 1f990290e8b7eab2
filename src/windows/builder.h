// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windows/layout.h"

#include <QWidget>

#include <memory>

// Builds a window's on-screen part from its layout: a top-level widget named
// after the window, holding one child per control, each named after its
// control. Called afresh on every load, so the window shows its design
// contents each time.
std::unique_ptr<QWidget> buildWindow(const layout::Window& window);
