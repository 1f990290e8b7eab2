// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The start of every widget test: Qt's own, then the program's start-up, as
// main() does it.

#include "forms/startup.h"

#include <QTest>

#define YOMORISU_GUI_TEST_MAIN(TestObject)                                                                   \
    QTEST_MAIN_WRAPPER(TestObject, QTEST_MAIN_SETUP() prepareApplication();)
