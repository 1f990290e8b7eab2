#pragma once

// The whole program as a test drives it: a shell over a temporary table
// folder, with failures recorded instead of shown and the program's end
// counted instead of performed.

#include "app/shell.h"
#include "testsupport.h"

#include <QPushButton>
#include <QTest>

struct ShellFixture {
    QTemporaryDir dir;
    RecordingErrorStop errors;
    int quits = 0;
    Shell shell{errors, dir.path(), [this] { ++quits; }};

    // Clicks a window's button as the user would.
    static void click(const WindowObject& window, const QString& button) {
        auto* b = window.control<QPushButton>(button);
        QVERIFY2(b, qPrintable(button));
        QTest::mouseClick(b, Qt::LeftButton);
    }
};
