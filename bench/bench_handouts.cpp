// SPDX-License-Identifier: GPL-3.0-or-later
// 定食1's handout of a full table saved to PDF.
// Run by hand:
//   build/bench/bench_handouts -platform offscreen
// Goals: the save through the window's ファイル menu at most 1.2 times
// QTextDocument::print of the same rows as plain lines to a QPdfWriter; the
// event loop never stalls longer than 100 ms meanwhile.
#include "app/shell.h"
#include "benchsupport.h"
#include "common/datafolder.h"
#include "common/textdecoding.h"
#include "guitest.h"
#include "print/pages.h"
#include "tables/listing.h"

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

// The save dialog answers with one path; a notice means the window had
// nothing to save, which stops the benchmark.
class FixedSavePath : public HandoutDialogs {
public:
    QString chooseSavePath(QWidget*, const QString&) override { return path; }
    void tell(QWidget*, const QString& message) override { qFatal("told: %s", qPrintable(message)); }
    QString chooseSaveFile(QWidget*, const QString&, const QString&) override { return path; }
    bool confirm(QWidget*, const QString&) override { return false; }
    QString path;
};

// A name as users write them: mostly short, every seventh ten kanji or more,
// some marked with ■ or carrying full-width digits.
QString mealName(int n) {
    static const QStringList plain{QStringLiteral("焼き魚定食"),        QStringLiteral("鯖の味噌煮定食"),
                                   QStringLiteral("とんかつ定食"),      QStringLiteral("親子丼"),
                                   QStringLiteral("天ぷらそば"),        QStringLiteral("チキン南蛮定食"),
                                   QStringLiteral("ミックスフライ定食")};
    static const QStringList longer{
        QStringLiteral("国産黒毛和牛焼肉御膳特上盛"), QStringLiteral("白身魚南蛮漬野菜餡掛定食"),
        QStringLiteral("■特製幕の内弁当（季節の小鉢３品とデザート、味噌汁、香の物付き）"),
        QStringLiteral("季節野菜天麩羅盛合御膳")};
    if (n % 7 == 0)
        return longer[(n / 7) % longer.size()];
    if (n % 5 == 0) {
        QString digits = QString::number(n);
        for (QChar& c : digits)
            c = QChar(c.unicode() - u'0' + u'０');
        return QStringLiteral("■日替わり定食") + digits;
    }
    return plain[n % plain.size()];
}

} // namespace

class BenchHandouts : public QObject {
    Q_OBJECT
private slots:
    void saveTheFullTable();
};

void BenchHandouts::saveTheFullTable() {
    QTemporaryDir dir;
    QString table;
    for (int n = 1; n <= Table::LastRow; ++n)
        table += QStringLiteral("%1,%2\r\n").arg(mealName(n)).arg(n % 3 == 0 ? 1000 + 7 * n : 300 + n);
    {
        QFile file(QDir(dir.path()).filePath(SetMealFileName));
        const QByteArray bytes = encodeCodePage932(table);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    FailingErrorStop errors;
    CancelledDialog openDialog;
    NoPrinter printer;
    FixedSavePath saveDialog;
    saveDialog.path = dir.filePath(QStringLiteral("定食1.pdf"));
    Shell shell(
        errors, dir.path(), [] {}, openDialog, printer);
    shell.setHandoutDialogs(saveDialog);
    shell.open<SetMealWindow>();
    SetMealWindow& window = shell.window<SetMealWindow>();
    // 表示 reads the whole table; the handout is all of it, whichever page shows.
    QTest::mouseClick(window.control<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(window.table().rowCount(), Table::LastRow);
    // The panels are painted now, so that their first paint after 表示 is not
    // counted as a stall of the save.
    QCoreApplication::processEvents();

    QString lines;
    for (const QStringList& row : formattedListingCells(window.table()))
        lines += row.join(u' ') + u'\n';

    constexpr int Runs = 5;
    QList<qint64> save;
    QList<qint64> bare;
    qint64 stall = 0;
    QElapsedTimer timer;
    for (int run = 0; run < Runs; ++run) {
        QFile::remove(saveDialog.path);
        {
            StallProbe probe;
            timer.start();
            window.saveHandout();
            waitUntilIdle(window);
            save.append(timer.nsecsElapsed());
            stall = std::max(stall, probe.longestMs());
        }
        QVERIFY(QFileInfo(saveDialog.path).size() > 0);

        bare.append(plainPrintNs(lines, dir.filePath(QStringLiteral("bare.pdf"))));
    }
    const double saveMs = medianMs(save);
    const double bareMs = medianMs(bare);
    qInfo("定食1, %d rows: PDF に保存 through the window: %.0f ms; QTextDocument::print of the rows to "
          "QPdfWriter: %.0f ms (medians of %d)",
          int(Table::LastRow), saveMs, bareMs, Runs);
    qInfo("ratio %.2f (goal at most 1.2); longest event-loop stall %lld ms (goal at most 100)",
          saveMs / bareMs, qlonglong(stall));
}

YOMORISU_GUI_TEST_MAIN(BenchHandouts)
#include "bench_handouts.moc"
