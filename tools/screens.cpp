// Saves a picture of every window as it looks when opened, and one with its
// picture areas printed full, so the layouts can be checked by eye.
// Usage: yomorisu_screens OUTPUT_FOLDER

#include "app/mainmenuwindow.h"
#include "body/bodywindow.h"
#include "documents/documentwindow.h"
#include "exercise/expenditurewindow.h"
#include "exercise/rmrwindow.h"
#include "meals/intakewindow.h"
#include "meals/setmealwindow.h"
#include "windows/builder.h"
#include "windows/picturearea.h"
#include "windows/startup.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTextStream>

#include <memory>

namespace {

// Listing-like lines, more than any panel shows, so the last whole line and
// the cut-off one below it can be seen; every other line uses print zones.
void fill(PictureArea& area) {
    PrintedLines& lines = area.lines();
    lines.clear();
    for (int row = 1; row <= 60; ++row) {
        if (row % 2) {
            lines.printLine(QStringLiteral("%1   散歩   %2").arg(row).arg(row * 7));
        } else {
            lines.print(QStringLiteral(" %1 ").arg(row));
            lines.nextZone();
            lines.print(row % 4 ? QStringLiteral("ジョギング")
                                : QStringLiteral("とても長い名前の運動種目です"));
            lines.nextZone();
            lines.printLine(QStringLiteral(" %1 ").arg(row / 2));
        }
    }
}

bool save(QWidget& form, const QString& path) {
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return false;
    QApplication::processEvents();
    return form.grab().save(path);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    prepareApplication();
    if (argc != 2) {
        QTextStream(stderr) << "usage: yomorisu_screens OUTPUT_FOLDER\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        QTextStream(stderr) << "cannot create " << out.path() << '\n';
        return 1;
    }
    const std::pair<const char*, const layout::Window*> windows[] = {
        {"1-mainmenu", &layout::mainMenu()},       {"2-setmeal", &layout::setMeal()},
        {"3-intake", &layout::intake()},           {"4-rmr", &layout::rmr()},
        {"5-expenditure", &layout::expenditure()}, {"6-body", &layout::body()},
        {"7-documents", &layout::documents()},
    };
    int failures = 0;
    for (const auto& [file, window] : windows) {
        std::unique_ptr<QWidget> form = buildWindow(*window);
        if (!save(*form, out.filePath(QString::fromLatin1(file) + QStringLiteral(".png"))))
            ++failures;
        const auto areas = form->findChildren<PictureArea*>();
        if (areas.isEmpty())
            continue;
        for (PictureArea* area : areas)
            fill(*area);
        if (!save(*form, out.filePath(QString::fromLatin1(file) + QStringLiteral("-printed.png"))))
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
