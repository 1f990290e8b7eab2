#pragma once

#include "windows/layout.h"

#include <QList>

// The seven windows, in the order the main menu lists them.
inline QList<const layout::Window*> allWindows() {
    return {&layout::mainMenu(),    &layout::setMeal(), &layout::intake(),   &layout::rmr(),
            &layout::expenditure(), &layout::body(),    &layout::documents()};
}

inline const layout::Window& windowNamed(const QString& name) {
    for (const layout::Window* w : allWindows()) {
        if (w->name == name)
            return *w;
    }
    qFatal("no window %s", qPrintable(name));
}
