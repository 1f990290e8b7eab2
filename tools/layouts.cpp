// SPDX-License-Identifier: GPL-3.0-or-later
// Prints every window's layout table as JSON: for each window by its name,
// its caption, designed client size and place, and each control's name,
// caption and rectangle, all in twips. Tests that drive the program from
// outside (tests/e2e/windows_setup.py) find what they click here rather than
// in a copy that a layout change would leave behind.
// Usage: yomorisu_layouts > layouts.json

#include "app/mainmenuwindow.h"
#include "body/bodywindow.h"
#include "documents/documentwindow.h"
#include "exercise/expenditurewindow.h"
#include "exercise/rmrwindow.h"
#include "meals/intakewindow.h"
#include "meals/setmealwindow.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QJsonArray rectangle(int left, int top, int width, int height) {
    return {left, top, width, height};
}

QJsonObject described(const layout::Window& window) {
    QJsonObject controls;
    for (const layout::Control& control : window.controls)
        controls.insert(control.name,
                        QJsonObject{{QStringLiteral("caption"), control.caption},
                                    {QStringLiteral("rectangle"),
                                     rectangle(control.left, control.top, control.width, control.height)}});
    QJsonObject described{{QStringLiteral("caption"), window.caption},
                          {QStringLiteral("client"), QJsonArray{window.clientWidth, window.clientHeight}},
                          {QStringLiteral("controls"), controls}};
    if (window.position)
        described.insert(QStringLiteral("position"), QJsonArray{window.position->x(), window.position->y()});
    return described;
}

} // namespace

int main() {
    QJsonObject windows;
    for (const layout::Window* window :
         {&layout::mainMenu(), &layout::setMeal(), &layout::intake(), &layout::rmr(), &layout::expenditure(),
          &layout::body(), &layout::documents()})
        windows.insert(window->name, described(*window));
    const QByteArray json = QJsonDocument(windows).toJson();
    std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
    return 0;
}
