// The window exports of the native utility library, called by ordinal: the
// file-properties window, foreground and top-most switching, and the print
// dialog exchanging its settings through the device-mode block.
#include "tests/gui/support/ModalDialog.h"
#include "tests/gui/support/TempFolder.h"
#include "utils/UtilsImport.h"

#include <QDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <memory>

namespace utils = quorvantell::utils;
using quorvantell::DEVMODE;
using velloran::test::WhenModal;

namespace {

QDialog* PropertiesWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("filePropertiesDialog") && widget->isVisible())
            return qobject_cast<QDialog*>(widget);
    }
    return nullptr;
}

QString Field(QDialog* dialog, const char* name)
{
    auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
    return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

void CloseProperties()
{
    while (QDialog* dialog = PropertiesWindow()) {
        dialog->close();
        QApplication::processEvents();
    }
}

}  // namespace

class NativeWindowsTest : public QObject {
    Q_OBJECT

private:
    velloran::test::TempFolder m_temp;
    const std::string m_root = m_temp.Root();

private slots:
    void cleanup() { CloseProperties(); }

    void propertiesOfAFile()
    {
        const std::string file = m_root + "/notes.txt";
        std::ofstream(file) << "12345";
        QCOMPARE(chmod(file.c_str(), 0640), 0);
        QVERIFY(utils::ShowFileProperties(file.c_str()) != 0);
        QDialog* dialog = PropertiesWindow();
        QVERIFY(dialog != nullptr);
        QCOMPARE(Field(dialog, "name"), QStringLiteral("notes.txt"));
        QCOMPARE(Field(dialog, "folder"), QString::fromStdString(m_root));
        QCOMPARE(Field(dialog, "type"), QStringLiteral("File"));
        QCOMPARE(Field(dialog, "size"), QStringLiteral("5 bytes"));
        QCOMPARE(Field(dialog, "permissions"), QStringLiteral("rw-r----- (0640)"));
        QVERIFY(!Field(dialog, "modified").isEmpty());
        QVERIFY(dialog->windowTitle().contains(QStringLiteral("notes.txt")));
    }

    void propertiesOfFoldersAndLinks()
    {
        QVERIFY(utils::ShowFileProperties((m_root + "/").c_str()) != 0);
        QCOMPARE(Field(PropertiesWindow(), "type"), QStringLiteral("Folder"));
        CloseProperties();
        const std::string link = m_root + "/link";
        QCOMPARE(symlink("notes.txt", link.c_str()), 0);
        QVERIFY(utils::ShowFileProperties(link.c_str()) != 0);
        QCOMPARE(Field(PropertiesWindow(), "type"), QStringLiteral("Symbolic link to notes.txt"));
    }

    void noPropertiesForAMissingPath()
    {
        QCOMPARE(utils::ShowFileProperties((m_root + "/missing").c_str()), 0);
        QCOMPARE(utils::ShowFileProperties(""), 0);
        QVERIFY(PropertiesWindow() == nullptr);
    }

    void foregroundGoesToTheWindow()
    {
        QWidget first, second;
        first.show();
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        first.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &first);
        QVERIFY(utils::ForceForeground(&second) != 0);
        QTRY_COMPARE(QApplication::activeWindow(), &second);
        QVERIFY(utils::ForceForeground(&second) != 0);  // already in front
        second.hide();
        QCOMPARE(utils::ForceForeground(&second), 0);
        QCOMPARE(utils::ForceForeground(nullptr), 0);
    }

    void topMostOnAWindowNotYetShown()
    {
        QWidget window;
        QVERIFY(utils::SetTopMost(&window, -1) != 0);
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!window.isVisible());
        QVERIFY(utils::SetTopMost(&window, 0) != 0);
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(utils::SetTopMost(nullptr, -1), 0);
    }

    void printDialogTakesAndGivesTheSettings()
    {
        DEVMODE mode;
        mode.dmSize = sizeof mode;
        mode.dmFields = quorvantell::DM_ORIENTATION | quorvantell::DM_COPIES | quorvantell::DM_PAPERSIZE;
        mode.dmOrientation = 2;  // landscape
        mode.dmCopies = 3;
        mode.dmPaperSize = 11;  // A5
        WhenModal<QPrintDialog>([](QPrintDialog* dialog) {
            QCOMPARE(dialog->printer()->pageLayout().orientation(), QPageLayout::Landscape);
            QCOMPARE(dialog->printer()->copyCount(), 3);
            QCOMPARE(dialog->printer()->pageLayout().pageSize().id(), QPageSize::A5);
            QVERIFY(!dialog->testOption(QAbstractPrintDialog::PrintToFile));
            QVERIFY(!dialog->testOption(QAbstractPrintDialog::PrintPageRange));
            dialog->printer()->setPageOrientation(QPageLayout::Portrait);
            static_cast<QDialog*>(dialog)->accept();
        });
        int32_t flags = 0;
        const int32_t result = utils::PrintSetupDlg(nullptr, &flags, nullptr, 0, &mode);
        if (result == 0)
            QSKIP("the print dialog refuses to close without a printer on this machine");
        QCOMPARE(mode.dmOrientation, int16_t(1));
        QCOMPARE(mode.dmCopies, int16_t(3));
        QCOMPARE(mode.dmPaperSize, int16_t(11));
        QCOMPARE(flags & 0x140108, 0x140108);  // the flags the dialog always adds
    }

    void printDialogCancelledOrMalformedChangesNothing()
    {
        DEVMODE mode;
        mode.dmSize = sizeof mode;
        mode.dmCopies = 7;
        WhenModal<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
        int32_t flags = 0;
        QCOMPARE(utils::PrintSetupDlg(nullptr, &flags, nullptr, 0, &mode), 0);
        QCOMPARE(flags, 0);
        QCOMPARE(mode.dmCopies, int16_t(7));
        mode.dmSize = 10;  // too short to be a device mode
        QCOMPARE(utils::PrintSetupDlg(nullptr, &flags, nullptr, 0, &mode), 0);
    }
};

QTEST_MAIN(NativeWindowsTest)
#include "NativeWindowsTest.moc"
