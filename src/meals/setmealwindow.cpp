#include "meals/setmealwindow.h"

SetMealWindow::SetMealWindow(WindowHost& host) : WindowObject(host, layout::setMeal()) {}

void SetMealWindow::bindControls() {
    onBackToMenu(QStringLiteral("Command2"));
}
