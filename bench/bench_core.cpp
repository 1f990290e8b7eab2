// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of what the user waits for: building a window from its layout (start-up
// and every opening) and loading a full table file. Run by hand:
//   build/bench/bench_core -platform offscreen
// Target: each well under 50 ms on the project machine, so a click feels instant.
// A table file of any size, however long, answers well within two seconds.
#include "app/mainmenuwindow.h"
#include "common/runtimeerror.h"
#include "common/textdecoding.h"
#include "forms/builder.h"
#include "guitest.h"
#include "meals/intakewindow.h"
#include "tables/table.h"
#include "tables/tableload.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

class BenchCore : public QObject {
    Q_OBJECT
private slots:
    void buildMainMenu() {
        QBENCHMARK {
            buildWindow(layout::mainMenu());
        }
    }
    void buildIntakeWindow() {
        QBENCHMARK {
            buildWindow(layout::intake());
        }
    }
    void loadFullTable() {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("定食.csv"));
        QString text;
        for (int n = 1; n <= Table::LastRow; ++n)
            text += QStringLiteral("焼き魚定食 その%1,%2\r\n").arg(n).arg(400 + n);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(encodeCodePage932(text));
        file.close();
        Table table;
        QBENCHMARK {
            loadTable(table, path);
        }
        QCOMPARE(int(table.rowCount()), Table::LastRow);
    }
    // A gigabyte of zero bytes under a table's name: the first field is too
    // long long before the end.
    void refuseGigabyteOfZeros() {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("定食.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 30));
        file.close();
        Table table;
        QBENCHMARK {
            QVERIFY_THROWS_EXCEPTION(RuntimeError, loadTable(table, path));
        }
    }
    // The most a load ever reads: 300 records whose names are as long as a
    // field may be, then a gigabyte it never reaches.
    void loadLongestTableBeforeAGigabyte() {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("定食.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int n = 1; n <= Table::LastRow; ++n)
            file.write(QByteArray(16 * 1024 - 4, 'a') + "," + QByteArray::number(n) + "\r\n");
        QVERIFY(file.resize(qint64(1) << 30));
        file.close();
        Table table;
        QBENCHMARK {
            QVERIFY_THROWS_EXCEPTION(RuntimeError, loadTable(table, path));
        }
        QCOMPARE(int(table.rowCount()), Table::LastRow);
    }
};

YOMORISU_GUI_TEST_MAIN(BenchCore)
#include "bench_core.moc"
