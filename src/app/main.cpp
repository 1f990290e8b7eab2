// ヨモリス: health guidance at the desk.
//
// Start here: app/ holds the shell (one object per window, the main menu,
// navigation). Each feature folder (meals/, exercise/, body/, documents/) has
// its window classes, which read their inputs, call a plain calculation and
// print the results into picture areas. tables/ reads the two table files;
// windows/ turns layout tables into widgets; common/ has the number rules.
#include "app/messageboxerrorstop.h"
#include "app/qttranslations.h"
#include "app/shell.h"
#include "app/tablefolder.h"
#include "documents/systemprinter.h"
#include "documents/widgetfiledialog.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("yomorisu"));
    if (!installQtTranslations(app))
        qWarning("Qt's Japanese translations (qtbase_ja.qm) are missing; dialogs stay in English");
    // The program ends on おわり or when the last window is closed from its
    // title bar; the shell decides which, not Qt.
    QApplication::setQuitOnLastWindowClosed(false);

    MessageBoxErrorStop errorStop;
    WidgetFileDialog fileDialog;
    SystemPrinter printer;
    Shell shell(
        errorStop, defaultTableFolder(), [] { QCoreApplication::quit(); }, fileDialog, printer);
    shell.start();
    return QApplication::exec();
}
