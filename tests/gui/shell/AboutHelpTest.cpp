// The About box and the help page: title, version and icon in the box, the
// page beside the built program, and the message when the page is missing.
#include "app/shell/HelpFile.h"
#include "app/shell/frmAbout.h"
#include "tests/gui/support/ModalDialog.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using velloran::test::WhenModal;

class AboutHelpTest : public QObject {
    Q_OBJECT

private slots:
    void aboutShowsTitleVersionAndIcon()
    {
        velloran::frmAbout box(nullptr);
        QStringList texts;
        bool pictured = false;
        for (const QLabel* label : box.findChildren<QLabel*>()) {
            texts << label->text();
            pictured = pictured || !label->pixmap().isNull();
        }
        QVERIFY(texts.contains(QStringLiteral("Velloran")));
        QCOMPARE(texts.filter(QRegularExpression(QStringLiteral("^v\\d+\\.\\d+\\.\\d+$"))).size(), 1);
        QVERIFY(pictured);
        QVERIFY(!box.windowIcon().isNull());
        auto* ok = box.findChild<QPushButton*>();
        QCOMPARE(ok->text(), QStringLiteral("&OK"));
        QTimer::singleShot(0, ok, &QPushButton::click);
        QCOMPARE(box.exec(), int(QDialog::Accepted));
    }

    // The build puts the page in help/ beside the programs, where a program
    // run from the build tree finds it.
    void helpPageLiesBesideTheBuiltProgram()
    {
        const QString page = QString::fromStdString(velloran::HelpFilePath());
        QCOMPARE(page, QApplication::applicationDirPath() + "/help/velloran.html");
        QVERIFY(QFileInfo(page).isFile());
    }

    void missingHelpPageSaysSo_data()
    {
        QTest::addColumn<QString>("helpFile");
        QTest::newRow("no such file") << QApplication::applicationDirPath() + "/help/none.html";
        QTest::newRow("no path") << QString();
    }

    void missingHelpPageSaysSo()
    {
        QFETCH(QString, helpFile);
        QString text, caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            text = box->text();
            caption = box->windowTitle();
            icon = box->icon();
            box->accept();
        });
        velloran::OpenHelp(nullptr, helpFile.toStdString());
        QCOMPARE(text, QStringLiteral("Help files could not be found!"));
        QCOMPARE(caption, QStringLiteral("Error opening help"));
        QCOMPARE(icon, QMessageBox::Critical);
    }
};

QTEST_MAIN(AboutHelpTest)
#include "AboutHelpTest.moc"
