// SPDX-License-Identifier: GPL-3.0-or-later
// ヨモリス: health guidance at the desk.
//
// Start here: app/ holds the shell (one object per window, navigation) and
// the main menu. Each feature folder (meals/, exercise/, body/, documents/)
// has its window classes with their layout tables; a window reads its inputs,
// calls a plain calculation and prints the results into picture areas.
// tables/ reads the two table files; forms/ turns layout tables into
// widgets and holds the interfaces a window is handed (host.h); print/ lays
// out pages and handouts; common/ has the number rules and the data folder;
// system/ does those interfaces with the real message box, file dialog and
// printer, and only this file uses it.
#include "app/commandline.h"
#include "app/qttranslations.h"
#include "app/shell.h"
#include "common/datafolder.h"
#include "forms/startup.h"
#include "system/messageboxerrorstop.h"
#include "system/quitrequests.h"
#include "system/runninginstance.h"
#include "system/systemprinter.h"
#include "system/widgetfiledialog.h"
#include "system/widgethandoutdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>

namespace {

QStringList argumentList(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Window managers draw a window's icon in title bars and task lists, 64 px at
// the most; docks and launchers take the larger pictures from the icon theme
// through the desktop entry. Handing the window the 128 and 256 px ones too
// would decode and send them at every start for nothing.
constexpr int WindowIconSizes[] = {16, 22, 24, 32, 48, 64};

// The pictures the installed package puts in the hicolor icon theme, where
// the theme's search path finds them; the ones built into the program when
// it runs from the build folder, where no theme has them.
QIcon programIcon() {
    const QString name = QStringLiteral("jp.yomorisu.Yomorisu.png");
    QIcon icon;
    for (const int size : WindowIconSizes) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps/").arg(size);
        for (const QString& themes : QIcon::themeSearchPaths()) {
            const QString path = QDir(themes).filePath(folder + name);
            if (QFileInfo::exists(path)) {
                icon.addPixmap(pngPicture(path));
                break;
            }
        }
    }
    if (!icon.isNull())
        return icon;
    for (const int size : WindowIconSizes) {
        const QString path = QStringLiteral(":/icon/%1.png").arg(size);
        if (QFileInfo::exists(path))
            icon.addPixmap(pngPicture(path));
    }
    return icon;
}

} // namespace

int main(int argc, char* argv[]) {
    // Help, the version and a wrong option are answered on the terminal
    // before any window system is started, so they work without a display.
    if (const auto answer = answerCommandLine(argumentList(argc, argv), QStringLiteral(YOMORISU_VERSION))) {
        std::fputs(answer->out.toUtf8().constData(), stdout);
        std::fputs(answer->err.toUtf8().constData(), stderr);
        return answer->status;
    }

    // Before anything is read from the program's folder: from here on, a
    // setup or an uninstaller waits for the program to end.
    const RunningInstance running;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("yomorisu"));
    QApplication::setApplicationVersion(QStringLiteral(YOMORISU_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.yomorisu.Yomorisu"));
    QApplication::setWindowIcon(programIcon()); // every window's, dialogs' too
    // Every text on screen is Japanese, the toolkit's own buttons and file
    // dialog included, whatever the system's language.
    if (!installQtTranslations(app))
        qWarning("Qt's Japanese translations (qtbase_ja.qm) are missing; dialogs stay in English");

    prepareApplication();

    // The program ends on おわり or when the last window is closed from its
    // title bar; the shell decides which, not Qt.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString tableFolder = defaultTableFolder();
    if (const QString samples = installedSampleFolder(); !samples.isEmpty()) {
        const SampleCopy copy = copyMissingSamples(samples, tableFolder);
        for (const QString& name : copy.copied)
            qInfo("yomorisu: copied the sample %s to %s", qUtf8Printable(name), qUtf8Printable(tableFolder));
        for (const QString& failure : copy.failed)
            qWarning("yomorisu: could not copy the sample %s", qUtf8Printable(failure));
    }

    MessageBoxErrorStop errorStop;
    WidgetFileDialog fileDialog(tableFolder);
    SystemPrinter printer;
    WidgetHandoutDialogs handoutDialogs;
    Shell shell(
        errorStop, tableFolder, [] { QCoreApplication::quit(); }, fileDialog, printer);
    shell.setHandoutDialogs(handoutDialogs);
    endOnQuitRequests([&shell] { shell.endProgram(); });
    shell.start();
    // The shell goes first and waits for its windows' work, which may still
    // be using the printer.
    return QApplication::exec();
}
