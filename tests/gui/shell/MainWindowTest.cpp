// The main window driven as a person would: keys, buttons, menus, drops,
// the tray and the splitter, with its message boxes answered by the test, on
// real folders.
#include "app/shell/frmMain.h"
#include "app/windows/frmLog.h"
#ifndef Q_MOC_RUN  // moc cannot read the C++20 headers behind the engine
#include "app/engine/CSync.h"
#endif
#include "app/views/FolderTreeview.h"
#include "controls/Splitter.h"
#include "controls/TrayIcon.h"
#include "controls/Twips.h"
#include "controls/XPButton.h"
#include "tests/gui/support/MainWindowOnFolders.h"
#include "tests/gui/support/MessageBoxes.h"
#include "tests/gui/support/ModalDialog.h"
#include "tests/gui/support/TempFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <fstream>
#include <string>
#include <vector>

using velloran::frmMain;
using velloran::test::Boxes;

namespace {

void Write(const std::string& path, const std::string& contents)
{
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    std::ofstream(path, std::ios::binary) << contents;
}

bool Exists(const std::string& path)
{
    return QFileInfo::exists(QString::fromStdString(path));
}


}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    velloran::test::TempFolder m_temp;
    std::string m_left, m_right;
    std::unique_ptr<frmMain> m_window;

    frmMain& Window() { return *m_window; }

private slots:
    void init()
    {
        velloran::test::OpenMainWindow(m_temp.Root(), m_left, m_right, m_window);
    }

    void cleanup()
    {
        // A test that left an operation running leaves it to stop first.
        Window().Sync().syncRunning = false;
        Window().close();
        m_window.reset();
    }

    // Ctrl+3 asks to delete from the right what the left lacks: the right
    // folder first, then the left one; No runs nothing.
    void ctrlThreeAsksTheDeleteQuestion()
    {
        Write(m_right + "/stray.txt", "s");
        Boxes boxes({QMessageBox::No});
        QTest::keyClick(&Window(), Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(boxes.texts.size(), size_t{1});
        // On screen the text has the platform's line ends.
        const QString expected = QString::fromStdString(
            "Warning: You are about to make permanent changes to your file system.\n\nDo you wish to delete files "
            "from\n" + m_right + "\n\nif they don't exist in\n" + m_left + "?");
        QCOMPARE(boxes.texts[0], expected);
        QVERIFY(Exists(m_right + "/stray.txt"));
    }

    // A sync button runs its action, then "Operation completed
    // successfully", and the controls come back.
    void copyButtonCopiesAndReports()
    {
        Write(m_left + "/a.txt", "a");
        Boxes boxes({QMessageBox::Yes, QMessageBox::Ok});
        Window().cmdSync(0)->SetValue(true);
        QVERIFY(Exists(m_right + "/a.txt"));
        QCOMPARE(boxes.texts.size(), size_t{2});
        QCOMPARE(boxes.texts[1], QStringLiteral("Operation completed successfully"));
        QCOMPARE(Window().lbl(2)->text(), QStringLiteral("Done."));
        QVERIFY(Window().pic(0)->isEnabled());
        QCOMPARE(Window().cmd(7)->Caption(), QStringLiteral("E&xit"));
        QVERIFY(!Window().Sync().syncRunning);
    }

    // An operation that logged errors shows them in the error log window;
    // its folders go to the top of the recent folders, and choosing one
    // selects it in the left tree.
    void errorsShowTheLogAndFoldersBecomeRecent()
    {
        Write(m_left + "/sub/a.txt", "a");
        Write(m_right + "/sub", "a file where the folder should go");
        Window().Sync().Options.ErrorAction = 1;
        Boxes boxes({QMessageBox::Yes, QMessageBox::Ok});
        Window().cmdSync(0)->SetValue(true);
        QVERIFY(velloran::frmLog::Instance() != nullptr);
        QVERIFY(velloran::frmLog::Instance()->isVisible());
        QVERIFY(velloran::frmLog::Instance()->findChild<QPlainTextEdit*>()->toPlainText().contains(
            QString::fromStdString("Error creating folder " + m_right + "/sub/")));
        const std::vector<std::string>& recent = Window().recentFiles.Items();
        QVERIFY(recent.size() >= 2);
        QCOMPARE(recent[0], m_right + "/");
        QCOMPARE(recent[1], m_left + "/");
        emit Window().recentFiles.Clicked(m_right + "/");
        QCOMPARE(Window().SelectedFolder(0), m_right);
        QCOMPARE(Window().recentFiles.Items().front(), m_right + "/");
    }

    // In FTP mode only the first button runs; the others warn. The folder
    // history is normalised either way: "pub" becomes "/pub/" at the top.
    void ftpModeWarnsAndNormalisesTheHistory()
    {
        QTest::keyClick(&Window(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(Window().Sync().modeFTP);
        QVERIFY(Window().pic(2)->isVisible());
        QVERIFY(!Window().ftv(1)->isVisible());
        Window().cbo()->clear();
        Window().cbo()->addItem(QStringLiteral("/old/"));
        Window().cbo()->addItem(QStringLiteral("/pub/"));
        Window().cbo()->setEditText(QStringLiteral("pub"));
        Boxes boxes({QMessageBox::Ok});
        Window().cmdSync(2)->SetValue(true);
        QCOMPARE(boxes.texts, std::vector<QString>{"This automatic synchronisation function is not available in FTP mode"});
        QCOMPARE(Window().cbo()->count(), 2);
        QCOMPARE(Window().cbo()->itemText(0), QStringLiteral("/pub/"));
        QCOMPARE(Window().cbo()->itemText(1), QStringLiteral("/old/"));
        QCOMPARE(Window().cbo()->currentText(), QStringLiteral("/pub/"));
        QApplication::setActiveWindow(&Window());  // back from the message box
        QTest::keyClick(&Window(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(!Window().Sync().modeFTP);
        QVERIFY(Window().ftv(1)->isVisible());
    }

    // A folder dropped on a title is selected in its tree; a file is refused.
    void dropsOnTheFolderTitles()
    {
        Write(m_temp.Root() + "/dropped/file.txt", "f");
        const auto drop = [&](const std::string& path) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
            QLabel* title = Window().lbl(0);
            QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(title, &enter);
            const bool offered = enter.isAccepted();
            QDropEvent dropped(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(title, &dropped);
            return offered;
        };
        QVERIFY(!drop(m_temp.Root() + "/dropped/file.txt"));
        QCOMPARE(Window().SelectedFolder(0), m_left);
        QVERIFY(drop(m_temp.Root() + "/dropped"));
        QCOMPARE(Window().SelectedFolder(0), m_temp.Root() + "/dropped");
    }

    // The splitter far to the right leaves the FTP fields 1500 twips wide.
    void ftpFieldsKeepTheirWidthWhenTheSplitterIsFarRight()
    {
        QTest::keyClick(&Window(), Qt::Key_F, Qt::ControlModifier);
        Window().split()->SetPosition(1'000'000);
        QVERIFY(quorvantell::Twips::FromPixelsX(Window().txt(0)->width(), &Window()) >= 1500 - 15);
        QVERIFY(quorvantell::Twips::FromPixelsX(Window().cbo()->width(), &Window()) >= 1500 - 15);
    }

    // A click on the tray icon brings a minimised window back.
    void trayRestoresTheWindow()
    {
        Window().showMinimized();
        QTRY_VERIFY(Window().isMinimized());
        emit Window().trayIcon()->Click(quorvantell::TrayIcon::eTrayButton::WM_LBUTTONUP);
        QTRY_VERIFY(!Window().isMinimized());
        QVERIFY(Window().isVisible());
    }

    // Closing during a copy stops the copy and keeps the window.
    void closeDuringACopyCancels()
    {
        Write(m_left + "/big.bin", std::string(40 * 1024 * 1024, 'b'));
        QPointer<frmMain> window(&Window());
        // Yes to the copy; the close comes during it; Yes to the cancel
        // question; OK to "Cancelled by user.".
        Boxes boxes({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok});
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (Window().Sync().syncRunning) {
                closer.stop();
                Window().close();
            }
        });
        closer.start(1);
        Window().cmdSync(0)->SetValue(true);
        QVERIFY(window);
        QVERIFY(Window().isVisible());
        QVERIFY(!Exists(m_right + "/big.bin"));
        QVERIFY(boxes.texts.size() >= 3);
        QCOMPARE(boxes.texts[1], QStringLiteral("Are you sure you wish to cancel this operation?"));
        QCOMPARE(boxes.texts[2], QStringLiteral("Cancelled by user."));
    }

    // A script run in the window; its quit line closes the program when
    // nothing was logged.
    void scriptWithQuitLineCloses()
    {
        Write(m_left + "/s.txt", "s");
        const std::string script = m_temp.Root() + "/job.velloran";
        Write(script, m_left + "\r\n" + m_right + "\r\n1\r\nN\r\nQ\r\n");
        QSignalSpy unloaded(&Window(), &frmMain::Unloaded);
        Window().Read(script);
        QVERIFY(Exists(m_right + "/s.txt"));
        QCOMPARE(unloaded.count(), 1);
    }

    // File > "Run script..." (Ctrl+R) asks for the script, starting in the
    // last folder one came from, and runs it.
    void scriptChosenFromTheMenu()
    {
        Write(m_left + "/m.txt", "m");
        const std::string folder = m_temp.Root() + "/scripts";
        Write(folder + "/menu.velloran", m_left + "\r\n" + m_right + "\r\n1\r\nN\r\nQ\r\n");
        Window().Sync().lastFileDir = folder + "/";
        velloran::test::WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Choose a script file"));
            QCOMPARE(dialog->directory().absolutePath(), QString::fromStdString(folder));
            QCOMPARE(dialog->nameFilters().front(), QStringLiteral("Velloran Script (*.velloran)"));
            dialog->selectFile(QString::fromStdString(folder + "/menu.velloran"));
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::keyClick(&Window(), Qt::Key_R, Qt::ControlModifier);
        QTRY_VERIFY(Exists(m_right + "/m.txt"));
    }

    // A script naming a missing folder says so and stays open.
    void scriptWithAMissingFolder()
    {
        const std::string script = m_temp.Root() + "/missing.velloran";
        Write(script, m_left + "\r\n" + m_temp.Root() + "/nowhere\r\n1\r\nN\r\nQ\r\n");
        QSignalSpy unloaded(&Window(), &frmMain::Unloaded);
        Boxes boxes({QMessageBox::Ok});
        Window().Read(script);
        QCOMPARE(unloaded.count(), 0);
        QVERIFY(!boxes.texts.empty());
        QVERIFY(boxes.texts[0].contains(QStringLiteral("which could not be found")));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
