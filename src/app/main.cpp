// ヨモリス: health guidance at the desk.
//
// Start here: app/ holds the shell (one object per window, the main menu,
// navigation). Each feature folder (meals/, exercise/, body/, documents/) has
// its window classes, which read their inputs, call a plain calculation and
// print the results into picture areas. tables/ reads the two table files;
// windows/ turns layout tables into widgets; common/ has the number rules.
#include "app/commandline.h"
#include "app/messageboxerrorstop.h"
#include "app/qttranslations.h"
#include "app/samples.h"
#include "app/shell.h"
#include "app/tablefolder.h"
#include "documents/systemprinter.h"
#include "documents/widgetfiledialog.h"

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
