// CComDialogs through the native utility library's dialogs, each driven as
// the user would: the open dialog's single and multiple selections parsed
// from the export's buffer, the save dialog's default extension, the folder
// browser at the root, colour and font round trips, cancelling, and the
// message when no printer is set up.
#include "classlib/misc/AppPrinter.h"
#include "classlib/misc/CComDialogs.h"
#include "classlib/misc/CFont.h"
#include "tests/gui/support/ModalDialog.h"
#include "tests/gui/support/TempFolder.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTest>

#include <fstream>

using quorvantell::CComDialogs;
using quorvantell::CFont;
using quorvantell::OFNINFO;
using velloran::test::WhenModal;

namespace {

const std::string kNul(1, '\0');

std::string Bytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// "Text", "*.txt", "All Files", "*.*".
std::string TwoFilters()
{
    return "Text" + kNul + "*.txt" + kNul + "All Files" + kNul + "*.*" + kNul + kNul;
}

}  // namespace

class ComDialogsTest : public QObject {
    Q_OBJECT

private:
    velloran::test::TempFolder m_temp;
    const std::string m_root = m_temp.Root();
    CComDialogs m_dialogs;

private slots:
    void initTestCase()
    {
        for (const char* name : {"a.txt", "b.txt", "c.log"})
            std::ofstream(m_root + "/" + name) << name;
    }

    void filterForAllFiles()
    {
        QCOMPARE(m_dialogs.filterAllFiles(), std::string("All Files\0*.*\0\0", 15));
    }

    void openSingleFile()
    {
        WhenModal<QFileDialog>([this](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Run script"));
            QCOMPARE(dialog->directory().absolutePath(), QString::fromStdString(m_root));
            QCOMPARE(dialog->nameFilters().size(), 2);
            dialog->selectFile(QString::fromStdString(m_root + "/b.txt"));
            static_cast<QDialog*>(dialog)->accept();
        });
        OFNINFO info;
        QVERIFY(m_dialogs.OpenFile(nullptr, "", m_root, TwoFilters(), 0, "", "Run script", info));
        QCOMPARE(info.PathName, m_root + "/");
        QCOMPARE(info.FileName, std::vector<std::string>{"b.txt"});
        QCOMPARE(info.nFiles, 1);
        QCOMPARE(info.nFilterIndex, 1);
    }

    void openTwoFilesWithTheSecondFilter()
    {
        WhenModal<QFileDialog>([](QFileDialog* dialog) {
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles);
            dialog->selectNameFilter(dialog->nameFilters().at(1));
            // Typed names are matched against the listed files, which the
            // dialog reads in the background.
            auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
            QVERIFY(QTest::qWaitFor([list] { return list->model()->rowCount(list->rootIndex()) == 3; }));
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText("\"a.txt\" \"c.log\"");
            static_cast<QDialog*>(dialog)->accept();
        });
        OFNINFO info;
        QVERIFY(m_dialogs.OpenFile(nullptr, "", m_root, TwoFilters(), quorvantell::OFN_ALLOWMULTISELECT, "", "Pick",
                                   info));
        QCOMPARE(info.PathName, m_root + "/");
        QCOMPARE(info.FileName.size(), size_t(2));
        QCOMPARE(info.FileName, (std::vector<std::string>{"a.txt", "c.log"}));
        QCOMPARE(info.nFiles, 2);
        QCOMPARE(info.nFilterIndex, 2);
    }

    void openAtTheRoot()
    {
        const QStringList rootFiles = QDir("/").entryList(QDir::Files);
        if (rootFiles.isEmpty())
            QSKIP("no file in / to choose");
        WhenModal<QFileDialog>([&rootFiles](QFileDialog* dialog) {
            dialog->selectFile("/" + rootFiles.first());
            static_cast<QDialog*>(dialog)->accept();
        });
        OFNINFO info;
        QVERIFY(m_dialogs.OpenFile(nullptr, "", "/", m_dialogs.filterAllFiles(), 0, "", "Root", info));
        QCOMPARE(info.PathName, std::string("/"));
        QCOMPARE(info.FileName, std::vector<std::string>{Bytes(rootFiles.first())});
    }

    void cancelLeavesTheResultAlone()
    {
        WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        OFNINFO info;
        info.PathName = "untouched";
        QVERIFY(!m_dialogs.OpenFile(nullptr, "", m_root, TwoFilters(), 0, "", "Cancel", info));
        QCOMPARE(info.PathName, std::string("untouched"));
        QCOMPARE(info.nFiles, 0);
    }

    // Callers name the extension plainly or as a filter pattern.
    void saveAddsTheDefaultExtension_data()
    {
        QTest::addColumn<QString>("defExt");
        QTest::addColumn<QString>("saved");
        QTest::newRow("plain") << "txt" << "report.txt";
        QTest::newRow("pattern") << "*.log" << "report.log";
        QTest::newRow("dotted") << ".log" << "report.log";
        QTest::newRow("every file") << "*.*" << "report";
    }

    void saveAddsTheDefaultExtension()
    {
        QFETCH(QString, defExt);
        QFETCH(QString, saved);
        WhenModal<QFileDialog>([](QFileDialog* dialog) {
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(), QStringLiteral("report"));
            static_cast<QDialog*>(dialog)->accept();
        });
        OFNINFO info;
        QVERIFY(m_dialogs.SaveFile(nullptr, "report", m_root, TwoFilters(), 0, defExt.toStdString(), "Save log", info));
        QCOMPARE(info.PathName, m_root + "/");
        QCOMPARE(info.FileName, std::vector<std::string>{saved.toStdString()});
    }

    void browseFromTheRootReturnsTheRoot()
    {
        WhenModal<QFileDialog>([](QFileDialog* dialog) {
            QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
            QCOMPARE(dialog->directory().absolutePath(), QStringLiteral("/"));
            static_cast<QDialog*>(dialog)->accept();
        });
        std::string chosen = "untouched";
        QVERIFY(m_dialogs.BrowseFolder(nullptr, "Choose", "/", quorvantell::BIF_RETURNONLYFSDIRS, chosen));
        QCOMPARE(chosen, std::string("/"));
    }

    void browseStartsInTheFolderAndEndsInASlash()
    {
        WhenModal<QFileDialog>([](QFileDialog* dialog) { static_cast<QDialog*>(dialog)->accept(); });
        std::string chosen;
        QVERIFY(m_dialogs.BrowseFolder(nullptr, "Choose", m_root + "/", 0, chosen));
        QCOMPARE(chosen, m_root + "/");
        std::string untouched = "x";
        QVERIFY(!m_dialogs.BrowseFolder(nullptr, "Computers", m_root, quorvantell::BIF_BROWSEFORCOMPUTER, untouched));
        QCOMPARE(untouched, std::string("x"));
    }

    void colourAndCustomColoursComeBack()
    {
        std::vector<uint8_t> custom(64, 0);
        custom[4] = 0x11;  // custom colour 1 = 0x00000011, a dark red
        WhenModal<QColorDialog>([](QColorDialog* dialog) {
            QCOMPARE(dialog->currentColor(), QColor(0x30, 0x20, 0x10));
            QCOMPARE(QColorDialog::customColor(1), QColor(0x11, 0, 0));
            QColorDialog::setCustomColor(2, QColor(1, 2, 3));
            dialog->setCurrentColor(QColor(0xAA, 0xBB, 0xCC));
            static_cast<QDialog*>(dialog)->accept();
        });
        uint32_t colour = 0x00102030;
        QVERIFY(m_dialogs.GetColor(nullptr, colour, custom, quorvantell::CC_RGBINIT));
        QCOMPARE(colour, 0x00CCBBAAu);
        QCOMPARE(custom.size(), size_t(64));
        QCOMPARE(custom[4], uint8_t(0x11));
        QCOMPARE((std::vector<uint8_t>(custom.begin() + 8, custom.begin() + 12)), (std::vector<uint8_t>{1, 2, 3, 0}));

        WhenModal<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
        QVERIFY(!m_dialogs.GetColor(nullptr, colour, custom, 0));
        QCOMPARE(colour, 0x00CCBBAAu);
    }

    void fontRoundTripKeepsTheColour()
    {
        QString family;
        for (const QString& candidate : QFontDatabase::families()) {
            if (QFontDatabase::styles(candidate).contains(QStringLiteral("Bold Italic")))
                family = candidate;
        }
        if (family.isEmpty())
            QSKIP("no font with a bold italic style installed");
        CFont font;
        font.Name = family.toStdString();
        font.Weight = 700;
        font.Italic = 1;
        font.Size = 30;
        font.Color = 0x000000FF;
        WhenModal<QFontDialog>([family](QFontDialog* dialog) {
            QCOMPARE(dialog->currentFont().family(), family);
            QCOMPARE(dialog->currentFont().weight(), QFont::Bold);
            QVERIFY(dialog->currentFont().italic());
            QVERIFY(dialog->currentFont().pointSize() != 30);  // the size is not preselected
            QFont chosen(family, 14, QFont::Normal, true);
            chosen.setUnderline(true);
            dialog->setCurrentFont(chosen);
            static_cast<QDialog*>(dialog)->accept();
        });
        QVERIFY(m_dialogs.GetFont(nullptr, font, quorvantell::CF_EFFECTS));
        QCOMPARE(font.Name, family.toStdString());
        QCOMPARE(font.Size, 14);
        QCOMPARE(font.Weight, 400);
        QCOMPARE(font.Italic, uint8_t(1));
        QCOMPARE(font.Underline, uint8_t(1));
        QCOMPARE(font.Color, 0x000000FFu);
        QCOMPARE(font.Charset, uint8_t(1));
    }

    void noPrinterIsToldAndRefused()
    {
        if (!quorvantell::AppPrinter::Available().empty())
            QSKIP("this machine has printers");
        QString shown;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            shown = box->text();
            icon = box->icon();
            box->accept();
        });
        int32_t flags = quorvantell::PD_NOSELECTION;
        QVERIFY(!m_dialogs.GetPrint(nullptr, flags));
        QCOMPARE(shown, QStringLiteral("No printers are set up on your system"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(flags, int32_t(quorvantell::PD_NOSELECTION));
    }
};

QTEST_MAIN(ComDialogsTest)
#include "ComDialogsTest.moc"
