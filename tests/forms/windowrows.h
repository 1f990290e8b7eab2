// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainmenuwindow.h"
#include "body/bodywindow.h"
#include "documents/documentwindow.h"
#include "exercise/expenditurewindow.h"
#include "exercise/rmrwindow.h"
#include "forms/builder.h"
#include "forms/layout.h"
#include "meals/intakewindow.h"
#include "meals/setmealwindow.h"

#include <QList>
#include <QTest>
#include <QWidget>

#include <memory>

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

// A window built from its layout, shown and given the focus, as when it opens.
inline std::unique_ptr<QWidget> shown(const layout::Window& window) {
    std::unique_ptr<QWidget> form = buildWindow(window);
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get()))
        qWarning("window %s not activated", qPrintable(window.name));
    return form;
}
