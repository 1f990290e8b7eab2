// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qttranslations.h"
#include "guitest.h"
#include "system/widgetfiledialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// The program's own file dialog, shown for real and answered from a timer,
// in Japanese as the program starts it.
class TestWidgetFileDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void opensInTheFolderWithThePattern();
    void returnsTheFullPathOfTheChosenFile();
    void cancelReturnsNothing();
    void sideBarListsTheDocumentsFolders_data();
    void sideBarListsTheDocumentsFolders();

private:
    // Shows the dialog and hands it to `answer` once it is up.
    QString showAndAnswer(const std::function<void(QFileDialog&)>& answer,
                          const QString& documentsFolder = {});

    QTemporaryDir m_dir;
};

void TestWidgetFileDialog::initTestCase() {
    QVERIFY2(installQtTranslations(*QCoreApplication::instance()), "qtbase_ja.qm not found");
    QFile file(m_dir.filePath(QStringLiteral("かぜ.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QString TestWidgetFileDialog::showAndAnswer(const std::function<void(QFileDialog&)>& answer,
                                            const QString& documentsFolder) {
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            answer(*dialog);
        }
    });
    poll.start();
    // Never left waiting on a dialog that was not answered.
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, this, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    safety.start(10000);
    WidgetFileDialog dialog(documentsFolder);
    return dialog.chooseFile(nullptr, m_dir.path(), QStringLiteral("*.txt"));
}

void TestWidgetFileDialog::opensInTheFolderWithThePattern() {
    QString folder;
    QStringList filters;
    QString openText;
    QString cancelText;
    QString nameLabel;
    showAndAnswer([&](QFileDialog& dialog) {
        folder = dialog.directory().absolutePath();
        filters = dialog.nameFilters();
        const auto* buttons = dialog.findChild<QDialogButtonBox*>();
        if (buttons && buttons->button(QDialogButtonBox::Open))
            openText = buttons->button(QDialogButtonBox::Open)->text();
        if (buttons && buttons->button(QDialogButtonBox::Cancel))
            cancelText = buttons->button(QDialogButtonBox::Cancel)->text();
        if (const auto* label = dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel")))
            nameLabel = label->text();
        dialog.reject();
    });
    QCOMPARE(folder, QDir(m_dir.path()).absolutePath());
    QCOMPARE(filters, QStringList{QStringLiteral("*.txt")});
    QVERIFY2(openText.contains(QStringLiteral("開く")), qPrintable(openText));
    QVERIFY2(cancelText.contains(QStringLiteral("キャンセル")), qPrintable(cancelText));
    QVERIFY2(nameLabel.contains(QStringLiteral("ファイル名")), qPrintable(nameLabel));
}

void TestWidgetFileDialog::returnsTheFullPathOfTheChosenFile() {
    const QString chosen = showAndAnswer([](QFileDialog& dialog) {
        // Typed into the name box, as a user does.
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("かぜ.txt"));
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
    });
    QCOMPARE(chosen, m_dir.filePath(QStringLiteral("かぜ.txt")));
    QVERIFY(QFileInfo(chosen).isAbsolute());
}

void TestWidgetFileDialog::cancelReturnsNothing() {
    const QString chosen = showAndAnswer([](QFileDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("かぜ.txt"));
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    QCOMPARE(chosen, QString());
}

void TestWidgetFileDialog::sideBarListsTheDocumentsFolders_data() {
    QTest::addColumn<bool>("consultationFolder");
    QTest::newRow("with 健康相談") << true;
    QTest::newRow("without") << false;
}

void TestWidgetFileDialog::sideBarListsTheDocumentsFolders() {
    QFETCH(bool, consultationFolder);
    QTemporaryDir documents;
    if (consultationFolder)
        QVERIFY(QDir(documents.path()).mkdir(QStringLiteral("健康相談")));
    QList<QUrl> places;
    showAndAnswer(
        [&](QFileDialog& dialog) {
            places = dialog.sidebarUrls();
            dialog.reject();
        },
        documents.path());
    QList<QUrl> expected{QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath()),
                         QUrl::fromLocalFile(documents.path())};
    if (consultationFolder)
        expected.append(QUrl::fromLocalFile(documents.filePath(QStringLiteral("健康相談"))));
    QCOMPARE(places, expected);
}

YOMORISU_GUI_TEST_MAIN(TestWidgetFileDialog)
#include "tst_widgetfiledialog.moc"
