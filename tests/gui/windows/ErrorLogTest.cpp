// The error log window over a real main window on the offscreen screen (15
// twips a pixel): shown only for errors, one window whose text is replaced,
// its size limits and layout rules, Esc and the remembered place, and
// saving the log through the save dialog, also when the save fails.
#include "app/shell/frmMain.h"
#include "app/windows/frmLog.h"
#ifndef Q_MOC_RUN  // moc cannot read the C++20 headers behind the engine
#include "app/engine/CSync.h"
#endif
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "tests/gui/support/ModalDialog.h"
#include "tests/gui/support/TempFolder.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <fstream>
#include <memory>

using quorvantell::eRegBaseKey;
using velloran::frmLog;
using velloran::test::WhenModal;

namespace {

constexpr const char* kWindowKey = "Software\\Quorvantell\\Velloran\\e\\Window";

QString Contents(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QPushButton* Button(const QString& caption)
{
    for (auto* button : frmLog::Instance()->findChildren<QPushButton*>())
        if (button->text() == caption)
            return button;
    return nullptr;
}

}  // namespace

class ErrorLogTest : public QObject {
    Q_OBJECT

private:
    velloran::test::TempFolder m_temp;
    std::unique_ptr<velloran::frmMain> m_main;

    void Show(const std::string& text) { frmLog::ShowErrors(m_main.get(), m_main->Sync(), text); }
    QString Shown() const { return frmLog::Instance()->findChild<QPlainTextEdit*>()->toPlainText(); }

private slots:
    void init()
    {
        quorvantell::ClassLibrary::Shared().Registry->DeleteKey(eRegBaseKey::HKCU, kWindowKey);
        m_main = std::make_unique<velloran::frmMain>();
        m_main->show();
    }

    void cleanup() { m_main.reset(); }

    void onlyErrorsOpenTheWindowAndNewErrorsReplaceTheText()
    {
        Show("");
        QVERIFY(frmLog::Instance() == nullptr);
        Show("Error writing file /a/x\r\n");
        frmLog* first = frmLog::Instance();
        QVERIFY(first != nullptr && first->isVisible());
        QCOMPARE(first->windowTitle(), QStringLiteral("Error Log"));
        QCOMPARE(first->parentWidget(), m_main.get());
        Show("Error deleting file /b/y\r\nWarning: Target /b/zis newer than the source file.\r\n");
        QCOMPARE(frmLog::Instance(), first);
        QCOMPARE(Shown(), QStringLiteral("Error deleting file /b/y\nWarning: Target /b/zis newer than the source file.\n"));
    }

    // Client sizes in pixels, one after the other on one window, and where
    // the text box and the buttons end up.
    void layoutFollowsOnlyTheDimensionThatChanged_data()
    {
        QTest::addColumn<QList<QSize>>("sizes");
        QTest::addColumn<QRect>("text");
        QTest::addColumn<QPoint>("save");
        QTest::addColumn<QPoint>("close");
        QTest::newRow("400 x 300") << QList<QSize>{{400, 300}} << QRect(8, 8, 384, 251) << QPoint(115, 267)
                                   << QPoint(204, 267);
        QTest::newRow("then wider") << QList<QSize>{{400, 300}, {500, 300}} << QRect(8, 8, 484, 251)
                                    << QPoint(165, 267) << QPoint(254, 267);
        QTest::newRow("then taller") << QList<QSize>{{400, 300}, {400, 400}} << QRect(8, 8, 384, 351)
                                     << QPoint(115, 367) << QPoint(204, 367);
    }

    void layoutFollowsOnlyTheDimensionThatChanged()
    {
        QFETCH(QList<QSize>, sizes);
        QFETCH(QRect, text);
        QFETCH(QPoint, save);
        QFETCH(QPoint, close);
        Show("Error writing file /a/x\r\n");
        for (const QSize& size : sizes)
            frmLog::Instance()->resize(size);
        QTRY_COMPARE(frmLog::Instance()->findChild<QPlainTextEdit*>()->geometry(), text);
        QCOMPARE(Button("&Save to file")->pos(), save);
        QCOMPARE(Button("Close")->pos(), close);
    }

    // The size limits (3000 x 3500 twips); Esc closes the window, and the
    // next one opens where it was, as large.
    void sizeLimitsEscAndTheRememberedPlace()
    {
        Show("Error writing file /a/x\r\n");
        QCOMPARE(frmLog::Instance()->size(), QSize(253, 300));  // 3800 x 4500 twips
        frmLog::Instance()->resize(50, 50);
        QTRY_COMPARE(frmLog::Instance()->size(), QSize(200, 233));
        frmLog::Instance()->resize(420, 330);
        QTRY_COMPARE(frmLog::Instance()->size(), QSize(420, 330));
        frmLog::Instance()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frmLog::Instance()));
        QTest::keyClick(frmLog::Instance(), Qt::Key_Escape);
        QVERIFY(frmLog::Instance() == nullptr);
        auto& registry = *quorvantell::ClassLibrary::Shared().Registry;
        QCOMPARE(registry.GetKeyWord(eRegBaseKey::HKCU, kWindowKey, "ErrLogScaleWidth"), 6300);
        QCOMPARE(registry.GetKeyWord(eRegBaseKey::HKCU, kWindowKey, "ErrLogScaleHeight"), 4950);
        Show("Error writing file /a/x\r\n");
        QCOMPARE(frmLog::Instance()->size(), QSize(420, 330));
    }

    // The saved file holds the text with the platform's line ends and one
    // more line end; the default extension is .log; the dialog starts in
    // lastLogDir and leaves there the folder chosen.
    void saveWritesTheTextAndALineEnd_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("saved");
        QTest::newRow("last line ended") << "Error writing file /a/x\r\nError writing file /a/y\r\n"
                                         << "Error writing file /a/x\nError writing file /a/y\n\n";
        QTest::newRow("last line open") << "Warning: one\r\nWarning: two" << "Warning: one\nWarning: two\n";
    }

    void saveWritesTheTextAndALineEnd()
    {
        QFETCH(QString, text);
        QFETCH(QString, saved);
        const std::string folder = m_temp.Root() + "/" + QTest::currentDataTag() + "/";
        QDir().mkpath(QString::fromStdString(folder));
        std::ofstream(folder + "errors.log") << "an older log, to be replaced\n";
        m_main->Sync().lastLogDir = m_temp.Root() + "/";
        Show(text.toStdString());
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Save log as"));
            QCOMPARE(dialog->directory().absolutePath() + "/", QString::fromStdString(m_temp.Root() + "/"));
            QCOMPARE(dialog->nameFilters().front(), QStringLiteral("Log File (*.log)"));
            // The name is taken: the dialog asks before replacing it.
            WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(folder) + "errors");
            static_cast<QDialog*>(dialog)->accept();
        });
        Button("&Save to file")->click();
        QCOMPARE(Contents(folder + "errors.log"), saved);
        QCOMPARE(m_main->Sync().lastLogDir, folder);
        QVERIFY(frmLog::Instance() == nullptr);
    }

    // A file that cannot be written: the message, then the dialog again;
    // cancelling it leaves the window open with its text.
    void failedSaveShowsTheMessageAndTheDialogAgain()
    {
        Show("Error writing file /a/x\r\n");
        QString message, caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool askedAgain = false;
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            WhenModal<QMessageBox>([&](QMessageBox* box) {
                message = box->text();
                caption = box->windowTitle();
                icon = box->icon();
                WhenModal<QFileDialog>([&](QFileDialog* again) {
                    askedAgain = true;
                    again->reject();
                });
                box->accept();
            });
            const QString inMissingFolder = QString::fromStdString(m_temp.Root() + "/missing/errors.log");
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(inMissingFolder);
            static_cast<QDialog*>(dialog)->accept();
        });
        Button("&Save to file")->click();
        QCOMPARE(message, QStringLiteral("Error saving log file.  Check that the filename is correct and the disk is "
                                         "not write protected."));
        QCOMPARE(caption, QStringLiteral("Error saving log"));
        QCOMPARE(icon, QMessageBox::Critical);
        QVERIFY(askedAgain);
        QVERIFY(frmLog::Instance() != nullptr);
        QCOMPARE(Shown(), QStringLiteral("Error writing file /a/x\n"));
    }
};

QTEST_MAIN(ErrorLogTest)
#include "ErrorLogTest.moc"
