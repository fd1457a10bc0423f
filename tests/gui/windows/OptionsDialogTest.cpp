// The options dialog over a real main window: the category tree and its
// pages, what a fresh installation shows, the number boxes' clamps, the
// controls that enable others, Apply / Cancel / OK with the changed-flags,
// colours and fonts reaching the open windows, the recent count, and the
// script association on a real freedesktop database in temporary folders.
#include "app/shell/ScriptAssociation.h"
#include "app/shell/frmMain.h"
#include "app/views/CTreeView.h"
#include "app/views/HotTrackDelegate.h"
#include "app/windows/frmDetails.h"
#include "app/windows/frmLog.h"
#include "app/windows/frmOptions.h"
#ifndef Q_MOC_RUN  // moc cannot read the C++20 headers behind the engine
#include "app/engine/CSync.h"
#endif
#include "classlib/files/DesktopEntry.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "controls/OleColor.h"
#include "tests/gui/support/ModalDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include <fstream>
#include <memory>

using quorvantell::eRegBaseKey;
using velloran::frmOptions;
using velloran::ScriptAssociation;
using velloran::test::WhenModal;

namespace {

quorvantell::CRegistry& Registry()
{
    return *quorvantell::ClassLibrary::Shared().Registry;
}

QString Contents(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void Write(const std::string& path, const std::string& contents)
{
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    std::ofstream(path, std::ios::binary) << contents;
}

QString DefaultForScripts()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {"query", "default", ScriptAssociation::kMimeType});
    query.waitForFinished();
    return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
}

QColor Fill(const QFrame* swatch)
{
    return swatch->palette().color(QPalette::Window);
}

void ChooseColor(QPushButton* button, const QColor& colour)
{
    WhenModal<QColorDialog>([colour](QColorDialog* dialog) {
        dialog->setCurrentColor(colour);
        static_cast<QDialog*>(dialog)->accept();
    });
    button->click();
}

void ChooseFont(QPushButton* button, const QFont& font)
{
    WhenModal<QFontDialog>([font](QFontDialog* dialog) {
        dialog->setCurrentFont(font);
        static_cast<QDialog*>(dialog)->accept();
    });
    button->click();
}

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_xdg;
    std::unique_ptr<velloran::frmMain> m_main;
    std::unique_ptr<frmOptions> m_dialog;

    frmOptions& Dialog() { return *m_dialog; }
    velloran::CSync& Sync() { return m_main->Sync(); }
    void Reopen()
    {
        m_dialog = std::make_unique<frmOptions>(*m_main);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    }
    void Click(QTreeWidgetItem* node)
    {
        QTreeWidget* tree = Dialog().tvwOptions();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
    }

private slots:
    void initTestCase()
    {
        // The association test writes the user's desktop folders: never the real ones.
        qputenv("XDG_DATA_HOME", (m_xdg.path() + "/data").toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_xdg.path() + "/config").toUtf8());
    }

    void init()
    {
        m_main = std::make_unique<velloran::frmMain>();
        m_main->Load();
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        Reopen();
    }

    void cleanup()
    {
        m_dialog.reset();
        // What a test applied stays out of the next test's settings.
        Sync().Options.SaveOnExit = false;
        m_main->close();
        m_main.reset();
    }

    // Eleven nodes in order under their parents, the roots expanded; a click
    // shows the node's page alone with its title and description; clicking
    // the shown node again changes nothing.
    void categoryTreeShowsEachPage()
    {
        struct Node {
            const char *text, *key, *parent, *description;
        };
        const Node nodes[] = {
            {"Appearance", "0A", "", "Change the appearance of the display"},
            {"Colors", "1A", "0A", "Change the colors used in Velloran"},
            {"Fonts", "2A", "0A", "Change the fonts used in Velloran"},
            {"Behaviour", "3A", "", "Configure Velloran's behaviour"},
            {"Window settings", "4A", "3A", "Configure various windows features"},
            {"Time settings", "10A", "3A", "Configure Velloran's time settings"},
            {"Filter settings", "9A", "3A", "Configure filter settings"},
            {"FTP settings", "8A", "3A", "Configure Velloran's environment settings"},
            {"Setup", "5A", "", "Configure settings to do with windows explorer"},
            {"Advanced", "6A", "5A", "Configure Velloran's priority"},
            {"Environment", "7A", "5A", "Configure Velloran's environment settings"},
        };
        QCOMPARE(Dialog().windowTitle(), QStringLiteral("Options"));
        QCOMPARE(Dialog().lbl(11)->text(), QStringLiteral("Appearance"));
        QTreeWidgetItemIterator it(Dialog().tvwOptions());
        for (const Node& node : nodes) {
            QTreeWidgetItem* item = *it++;
            QVERIFY(item != nullptr);
            QCOMPARE(item->text(0), QString::fromUtf8(node.text));
            QCOMPARE(velloran::CTreeView::KeyOf(item), std::string(node.key));
            QCOMPARE(item->parent() ? velloran::CTreeView::KeyOf(item->parent()) : std::string(), std::string(node.parent));
            QVERIFY(item->parent() != nullptr || item->isExpanded());
            Click(item);
            QCOMPARE(Dialog().lbl(11)->text(), QString::fromUtf8(node.text));
            QCOMPARE(Dialog().lbl(12)->text(), QString::fromUtf8(node.description));
            for (int page = 0; page < 11; ++page)
                QCOMPARE(Dialog().pic(page)->isVisible(), page == std::atoi(node.key));
        }
        QVERIFY(*it == nullptr);
        Dialog().lbl(11)->setText(QStringLiteral("unchanged"));
        Click(Dialog().tvwOptions()->currentItem());
        QCOMPARE(Dialog().lbl(11)->text(), QStringLiteral("unchanged"));
    }

    // A fresh installation, and every changed-flag down.
    void freshInstallationShowsTheDefaults()
    {
        struct Box {
            int index;
            bool checked, enabled;
        };
        const Box boxes[] = {{0, true, true},  {1, false, true}, {2, true, true}, {3, true, true}, {4, false, true},
                             {5, true, true},  {6, false, true}, {7, true, true}, {8, true, true}, {9, false, true}};
        for (const Box& box : boxes) {
            QCOMPARE(Dialog().chk(box.index)->isChecked(), box.checked);
            QCOMPARE(Dialog().chk(box.index)->isEnabled(), box.enabled);
        }
        const char* const texts[] = {"12", "20", "10", "", "0"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(Dialog().txt(i)->text(), QString::fromUtf8(texts[i]));
        QVERIFY(Dialog().opt(0)->isChecked());
        QCOMPARE(Dialog().sld(0)->value(), 2);
        QCOMPARE(Dialog().sld(1)->value(), 3);
        QCOMPARE(Dialog().spnConnections()->value(), velloran::CSync::kDefaultFTPConnections);
        QCOMPARE(Dialog().spnConnections()->maximum(), 8);
        QCOMPARE(Fill(Dialog().shp(0)), quorvantell::OleColor::ToQColor(0x006A0035));
        QCOMPARE(Fill(Dialog().shp(1)), QColor(Qt::white));
        for (const int i : {3, 4, 5, 6, 8})
            QCOMPARE(Dialog().cmd(i)->property("Tag").toString(), QStringLiteral("False"));
        QCOMPARE(Dialog().chk(7)->property("Tag").toString(), QStringLiteral("False"));
    }

    // Leaving a box clamps its number; an empty box or text that is no
    // number counts as 0 first.
    void numberBoxesAreClampedWhenLeft()
    {
        struct Entry {
            int box;
            const char *typed, *shown;
        };
        const Entry entries[] = {
            {0, "99", "45"},       {0, "0", "0"},          {0, "", "0"},   {1, "0", "1"},
            {1, "31", "30"},       {1, "", "1"},           {2, "1", "2"},  {2, "40000000", "31536000"},
            {2, "abc", "2"},       {2, "", "2"},           {2, "-7", "2"}, {1, "99999999999999999999", "30"},
        };
        Click(Dialog().tvwOptions()->topLevelItem(1)->child(0));  // "Window settings" holds txt(0)
        for (const Entry& entry : entries) {
            QLineEdit* box = Dialog().txt(entry.box);
            box->setText(QString::fromUtf8(entry.typed));
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(box, &out);
            QCOMPARE(box->text(), QString::fromUtf8(entry.shown));
        }
    }

    // EasyMove switches the snap controls; the tray box switches "hide from
    // taskbar" without touching its check mark.
    void checkBoxesEnableTheirDependents()
    {
        Click(Dialog().tvwOptions()->topLevelItem(1)->child(0));
        const auto snapControls = [this] {
            return std::vector<bool>{Dialog().chk(3)->isEnabled(), Dialog().txt(0)->isEnabled(),
                                     Dialog().lbl(5)->isEnabled(), Dialog().lbl(3)->isEnabled()};
        };
        Dialog().chk(2)->click();
        QCOMPARE(snapControls(), std::vector<bool>({false, false, false, false}));
        Dialog().chk(3)->setChecked(false);
        Dialog().chk(2)->click();
        QCOMPARE(snapControls(), std::vector<bool>({true, false, false, false}));
        Dialog().chk(3)->click();
        QCOMPARE(snapControls(), std::vector<bool>({true, true, true, true}));

        Dialog().chk(1)->setChecked(true);
        Dialog().chk(0)->click();
        QVERIFY(!Dialog().chk(1)->isEnabled());
        QVERIFY(Dialog().chk(1)->isChecked());
        Dialog().chk(0)->click();
        QVERIFY(Dialog().chk(1)->isEnabled());
    }

    // Apply puts the settings in force at once and keeps the dialog; Cancel
    // afterwards keeps them. Colours, the hot colour and the association are
    // taken only when their flag went up; a time offset that is no number
    // counts as 0, and one too wide for 16 bits is held at its end.
    void applyThenCancelKeepsWhatWasApplied()
    {
        struct Offset {
            const char* text;
            int16_t applied;
        };
        for (const Offset& offset : {Offset{"-5", -5}, Offset{"abc", 0}, Offset{"99999", 32767}, Offset{"30", 30}}) {
            Dialog().txt(4)->setText(QString::fromUtf8(offset.text));
            Dialog().cmd(2)->click();
            QCOMPARE(Sync().Options.LeftTimeOffset, offset.applied);
        }
        Dialog().txt(0)->setText(QStringLiteral("99"));  // Apply checks the box it leaves unchecked
        Dialog().chk(9)->setChecked(true);
        Dialog().opt(2)->setChecked(true);
        Dialog().sld(1)->setValue(2);
        Dialog().spnConnections()->setValue(9);  // held at the top of its range
        Dialog().chk(7)->setChecked(false);
        const QColor before = m_main->txt(0)->palette().color(QPalette::Base);
        Sync().Options.BackgroundColor = 0x000000FF;  // not the dialog's: a flagged apply would take its own
        Dialog().cmd(2)->click();
        QVERIFY(Dialog().isVisible());
        QCOMPARE(Sync().Options.SnapDistance, 45);
        QCOMPARE(velloran::CFormUtils::SnapDistance(), 45);
        QVERIFY(Sync().Options.FilterDotFiles);
        QCOMPARE(Sync().Options.ErrorAction, 2);
        QCOMPARE(Sync().Options.ThreadPriority, int16_t{2});
        QCOMPARE(Sync().FTPConnections, 8);
        QVERIFY(!Sync().Options.AssociateScripts);
        QCOMPARE(Sync().Options.BackgroundColor, 0x000000FFu);
        QCOMPARE(m_main->txt(0)->palette().color(QPalette::Base), before);
        QCOMPARE(Registry().GetKeyStr(eRegBaseKey::HKCU, "Control Panel\\Colors", "HotTrackingColor", "none"),
                 std::string("none"));
        QCOMPARE(Registry().GetKeyStr(eRegBaseKey::HKCR, "Velloran.Script", "", ""), std::string("Velloran script"));

        Dialog().txt(0)->setText(QStringLiteral("20"));
        Dialog().chk(7)->click();
        QCOMPARE(Dialog().chk(7)->property("Tag").toString(), QStringLiteral("True"));
        Dialog().cmd(1)->click();
        QVERIFY(frmOptions::Instance() == nullptr);
        QCOMPARE(Sync().Options.SnapDistance, 45);
        QVERIFY(!Sync().Options.AssociateScripts);
    }

    // Colours and fonts chosen and confirmed with OK reach the main window,
    // the details and error log windows at once; the hot colour becomes the
    // lists' and is stored as "red green blue".
    void okAppliesColoursAndFontsToOpenWindows()
    {
        velloran::frmDetails& details = velloran::frmDetails::Open(m_main.get(), Sync());
        details.Init(false, false);
        details.show();
        velloran::frmLog::ShowErrors(m_main.get(), Sync(), "Error writing file /a/x\r\n");
        const QString family = QFontDatabase::families().value(0);
        QVERIFY(!family.isEmpty());
        const QColor back(10, 20, 30), text(200, 210, 220), hot(255, 0, 0);
        ChooseColor(Dialog().cmd(3), back);
        ChooseColor(Dialog().cmd(4), text);
        ChooseColor(Dialog().cmd(6), hot);
        ChooseFont(Dialog().cmd(5), QFont(family, 14));
        ChooseFont(Dialog().cmd(8), QFont(family, 11));
        QCOMPARE(Fill(Dialog().shp(0)), back);
        for (const int i : {3, 4, 5, 6, 8})
            QCOMPARE(Dialog().cmd(i)->property("Tag").toString(), QStringLiteral("True"));
        Dialog().cmd(0)->click();
        QVERIFY(frmOptions::Instance() == nullptr);

        QCOMPARE(Sync().Options.ConsoleFontSize, int64_t{140'000});
        QCOMPARE(Sync().OthFont, family.toStdString());
        const QPlainTextEdit* log = velloran::frmLog::Instance()->findChild<QPlainTextEdit*>();
        for (const QWidget* field : {static_cast<const QWidget*>(m_main->txt(0)), static_cast<const QWidget*>(log)}) {
            QCOMPARE(field->palette().color(QPalette::Base), back);
            QCOMPARE(field->palette().color(QPalette::Text), text);
            QCOMPARE(field->font().family(), family);
            QCOMPARE(field->font().pointSize(), 11);
        }
        for (const QTreeView* list : details.findChildren<QTreeView*>()) {
            QCOMPARE(list->palette().color(QPalette::Base), back);
            QCOMPARE(list->font().pointSize(), 14);
        }
        QCOMPARE(details.lbl(0)->font().pointSize(), 11);
        QCOMPARE(Registry().GetKeyStr(eRegBaseKey::HKCU, "Control Panel\\Colors", "HotTrackingColor", ""),
                 std::string("255 0 0"));
        QCOMPARE(velloran::HotTrackDelegate::HotColor(), hot);
    }

    // "&Browse" puts the chosen file in the log file box and remembers its folder.
    void browseChoosesTheLogFile()
    {
        const std::string folder = QFile::encodeName(QFileInfo(m_xdg.path()).canonicalFilePath()).toStdString() + "/";
        WhenModal<QFileDialog>([&folder](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Choose where the log file will be saved"));
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(folder + "sync.log"));
            static_cast<QDialog*>(dialog)->accept();
        });
        Dialog().cmd(7)->click();
        QCOMPARE(Dialog().txt(3)->text(), QString::fromStdString(folder + "sync.log"));
        QCOMPARE(Sync().lastLogDir, folder);
    }

    // A lower recent count takes effect for the next folders; the folders
    // shown stay.
    void recentCountLoweredWhileRunning()
    {
        for (const char* folder : {"/a/", "/b/", "/c/"})
            m_main->recentFiles.Add(folder);
        Dialog().txt(1)->setText(QStringLiteral("2"));
        Dialog().cmd(0)->click();
        QCOMPARE(Sync().Options.RecentCount, 2);
        QCOMPARE(m_main->recentFiles.MaxRecent, 2);
        m_main->recentFiles.Add("/d/");
        QCOMPARE(m_main->recentFiles.Items(), std::vector<std::string>({"/d/", "/c/", "/b/"}));
    }

    // Checking the box makes Velloran the scripts' program in the store and
    // on the desktop; unchecking takes back only Velloran's part: another
    // program's association stays, and so does the type it needs.
    void scriptAssociationOnTheDesktop()
    {
        if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
            QSKIP("xdg-mime is not installed");
        Write(ScriptAssociation::MimeAppsPath(), "[Default Applications]\ntext/plain=other.desktop;\n");
        const auto apply = [this](bool associate) {
            Dialog().chk(7)->setChecked(!associate);
            Dialog().chk(7)->click();
            Dialog().cmd(2)->click();
        };
        apply(true);
        QCOMPARE(Registry().GetKeyStr(eRegBaseKey::HKCR, ".velloran", "", ""), std::string("Velloran.Script"));
        QCOMPARE(DefaultForScripts(), QString::fromLatin1(ScriptAssociation::kDesktopId));
        QVERIFY(Contents(ScriptAssociation::MimePackagePath()).contains("*.velloran"));
        const auto entry = quorvantell::DesktopEntry::Read(ScriptAssociation::DesktopEntryPath());
        QVERIFY(entry.has_value());
        const std::string program = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
        QCOMPARE(entry->Command("/s/a b.velloran"), std::vector<std::string>({program, "/s/a b.velloran"}));

        apply(false);
        QCOMPARE(Registry().GetKeyStr(eRegBaseKey::HKCR, ".velloran", "", "none"), std::string("none"));
        QCOMPARE(DefaultForScripts(), QString());
        QVERIFY(!QFile::exists(QString::fromStdString(ScriptAssociation::DesktopEntryPath())));
        QVERIFY(!QFile::exists(QString::fromStdString(ScriptAssociation::MimePackagePath())));
        QVERIFY(!Contents(ScriptAssociation::MimeAppsPath()).contains("velloran"));
        QVERIFY(Contents(ScriptAssociation::MimeAppsPath()).contains("text/plain=other.desktop;"));

        // Another program took the scripts over after Velloran.
        apply(true);
        Registry().SetKeyStr(eRegBaseKey::HKCR, ".velloran", "", "Other.Script");
        Write(ScriptAssociation::MimeAppsPath(), "[Default Applications]\napplication/x-velloran-script=other.desktop;\n");
        Write(QString(qgetenv("XDG_DATA_HOME") + "/applications/other.desktop").toStdString(),
              "[Desktop Entry]\nType=Application\nName=Other\nExec=true %f\n");
        apply(false);
        QCOMPARE(Registry().GetKeyStr(eRegBaseKey::HKCR, ".velloran", "", ""), std::string("Other.Script"));
        QCOMPARE(DefaultForScripts(), QStringLiteral("other.desktop"));
        QVERIFY(QFile::exists(QString::fromStdString(ScriptAssociation::MimePackagePath())));
        QVERIFY(!QFile::exists(QString::fromStdString(ScriptAssociation::DesktopEntryPath())));
    }

    // Tools > "&Options" (F12) opens the dialog modally over the main window.
    void f12OpensTheDialog()
    {
        m_dialog.reset();
        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        QString title;
        WhenModal<frmOptions>([&title](frmOptions* dialog) {
            title = dialog->windowTitle();
            QCOMPARE(frmOptions::Instance(), dialog);
            dialog->cmd(1)->click();
        });
        QTest::keyClick(m_main.get(), Qt::Key_F12);
        QCOMPARE(title, QStringLiteral("Options"));
        QVERIFY(frmOptions::Instance() == nullptr);
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
