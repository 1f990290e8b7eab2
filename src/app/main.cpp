// ヨモリス: health guidance at the desk.
//
// Start here: app/ holds the shell (one object per window, navigation) and
// the main menu. Each feature folder (meals/, exercise/, body/, documents/)
// has its window classes with their layout tables; a window reads its inputs,
// calls a plain calculation and prints the results into picture areas.
// tables/ reads the two table files; windows/ turns layout tables into
// widgets and holds the interfaces a window is handed (host.h); common/ has
// the number rules and the data folder; system/ does those interfaces with
// the real message box, file dialog and printer, and only this file uses it.
#include "app/commandline.h"
#include "app/qttranslations.h"
#include "app/shell.h"
#include "common/datafolder.h"
#include "system/messageboxerrorstop.h"
#include "system/systemprinter.h"
#include "system/widgetfiledialog.h"
#include "windows/startup.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

QStringList argumentList(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char* argv[]) {
    // Help and version are printed on a terminal that may have no display.
    if (asksOnlyForInformation(argumentList(argc, argv)) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("yomorisu"));
    QApplication::setApplicationVersion(QStringLiteral(YOMORISU_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.yomorisu.Yomorisu"));
    // Every text on screen is Japanese, the toolkit's own buttons and file
    // dialog included, whatever the system's language.
    if (!installQtTranslations(app))
        qWarning("Qt's Japanese translations (qtbase_ja.qm) are missing; dialogs stay in English");

    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(app);
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
    WidgetFileDialog fileDialog;
    SystemPrinter printer;
    Shell shell(
        errorStop, tableFolder, [] { QCoreApplication::quit(); }, fileDialog, printer);
    shell.start();
    return QApplication::exec();
}
