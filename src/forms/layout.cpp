// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/layout.h"

namespace layout {

const Control* Window::control(const QString& controlName) const {
    for (const Control& c : controls) {
        if (c.name == controlName)
            return &c;
    }
    return nullptr;
}

} // namespace layout
