// The file details window opened from the main window's view buttons and
// filled by the engine from real folders (and a real FTP server), and the
// sync dialog run over its selected rows as a person would.
#include "app/shell/frmMain.h"
#include "app/shell/frmSync.h"
#include "app/windows/frmDetails.h"
#ifndef Q_MOC_RUN  // moc cannot read the C++20 headers behind the engine
#include "app/engine/CSync.h"
#include "tests/app/ftp/FtpServers.h"
#include "tests/app/ftp/SshServer.h"
#endif
#include "app/views/CListView.h"
#include "controls/Twips.h"
#include "controls/XPButton.h"
#include "tests/gui/support/MainWindowOnFolders.h"
#include "tests/gui/support/MessageBoxes.h"
#include "tests/gui/support/ModalDialog.h"
#include "tests/gui/support/TempFolder.h"

#include <QLabel>
#include <QMenu>
#include <QTreeView>
#include <QPushButton>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

using velloran::CListView;
using velloran::frmDetails;
using velloran::frmMain;
using velloran::frmSync;
using quorvantell::Twips;
using velloran::test::Boxes;

namespace {

constexpr int64_t kTime = 1700000000;  // seconds since 1970

void Write(const std::string& path, const std::string& contents, int64_t seconds = kTime)
{
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    std::ofstream(path, std::ios::binary) << contents;
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return in ? text.str() : "<missing>";
}

bool Exists(const std::string& path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}

int64_t ModifiedAt(const std::string& path)
{
    struct stat st{};
    return stat(path.c_str(), &st) == 0 ? st.st_mtime : -1;
}

// The row showing name, 0 when there is none.
int32_t Row(CListView& list, const std::string& name)
{
    for (int32_t i = 1; i <= list.Count(); ++i) {
        if (list.Item(i, 1) == name)
            return i;
    }
    return 0;
}

QString Status(frmDetails& details)
{
    return details.lbl(2)->text();
}

}  // namespace

class DetailsWindowTest : public QObject {
    Q_OBJECT

private:
    velloran::test::TempFolder m_temp;
    std::string m_left, m_right;
    std::unique_ptr<frmMain> m_window;

    frmMain& Window() { return *m_window; }
    frmDetails& Details() { return *frmDetails::Instance(); }

    // Every kind of pair: one side only, either side newer, the same, same
    // time and another size, a folder on the left only.
    void MakePairs()
    {
        Write(m_left + "/only-left.txt", "L");
        Write(m_right + "/only-right.txt", "R");
        Write(m_left + "/left-newer.txt", "new left", kTime + 1000);
        Write(m_right + "/left-newer.txt", "old right");
        Write(m_left + "/right-newer.txt", "old left");
        Write(m_right + "/right-newer.txt", "new right", kTime + 1000);
        Write(m_left + "/same.txt", "same");
        Write(m_right + "/same.txt", "same");
        Write(m_left + "/size.txt", "aa");
        Write(m_right + "/size.txt", "a");
        Write(m_left + "/folder/in-folder.txt", "F");
        Write(m_right + "/deep/er/only-right-deep.txt", "D");
    }

    // "View &differences..." (or "&View files...") of the main window.
    void View(bool diffOnly)
    {
        emit Window().cmd(diffOnly ? 1 : 0)->Click();
        QVERIFY(frmDetails::Instance() != nullptr);
        QVERIFY(Details().isVisible());
    }

    // "&Sync selected file(s)..." over the row `name` of `list`, the
    // direction button clicked `clicks` times in the dialog (a file row's),
    // then "S&ync".
    // Returns the message boxes' texts.
    std::vector<QString> SyncRow(int list, const std::string& name, int clicks)
    {
        CListView& rows = Details().lvw(list);
        rows.SetSelectAll(false);
        const int32_t row = Row(rows, name);
        rows.SetSelectedItem(row);
        // The list the loop works in is the one that last had the focus.
        QFocusEvent focus(QEvent::FocusIn);
        QApplication::sendEvent(rows.List(), &focus);
        if (rows.Tag(row) != "D") {
            velloran::test::WhenModal<frmSync>([clicks](frmSync* dialog) {
                for (int i = 0; i < clicks; ++i)
                    emit dialog->cmdSyncDir()->Click();
                emit dialog->cmd(0)->Click();
            });
        }
        Boxes boxes({});
        Details().cmd(0)->click();
        return boxes.texts;
    }

    int32_t SyncWayOf(int list, const std::string& name)
    {
        const std::string key = Details().lvw(list).KeyOfIndex(Row(Details().lvw(list), name));
        return Window().Sync().m_arrFile.vell(std::stoi(key.substr(1))).syncWay();
    }

private slots:
    void init()
    {
        velloran::test::OpenMainWindow(m_temp.Root(), m_left, m_right, m_window);
    }

    void cleanup()
    {
        Window().Sync().Options.ShowOneSidedDetails = true;
        Window().close();
        m_window.reset();
    }

    // The state image and the row of every kind of pair in both views; the
    // placeholders of the difference view, with and without the details of
    // one-sided files.
    void rowsOfEveryKindOfPair()
    {
        MakePairs();
        struct Expected {
            const char* name;
            int left, right;  // state images; -1 no row
        };
        const Expected differences[] = {
            {"only-left.txt", 1, 2}, {"only-right.txt", 2, 1}, {"left-newer.txt", 3, 3},
            {"right-newer.txt", 4, 4}, {"size.txt", 5, 5},      {"same.txt", -1, -1},
            {"folder/", 1, 2},
        };
        const Expected all[] = {
            {"only-left.txt", 1, -1}, {"only-right.txt", -1, 1}, {"right-newer.txt", 4, 4},
            {"same.txt", 0, 0},       {"folder/", 1, -1},
        };
        for (const bool oneSidedDetails : {true, false}) {
            Window().Sync().Options.ShowOneSidedDetails = oneSidedDetails;
            View(true);
            QCOMPARE(Status(Details()), QStringLiteral("Done."));
            QVERIFY(Details().cmd(0)->isEnabled());
            for (const Expected& e : differences) {
                for (int list = 0; list < 2; ++list) {
                    CListView& rows = Details().lvw(list);
                    const int32_t row = Row(rows, e.name);
                    const int expected = list == 0 ? e.left : e.right;
                    QVERIFY2((row != 0) == (expected >= 0), e.name);
                    if (row == 0)
                        continue;
                    QVERIFY2(rows.StateImage(row) == expected, e.name);
                    // Placeholders are dimmed and name only; one-sided rows
                    // show size and date as the setting says.
                    QCOMPARE(rows.State(rows.KeyOfIndex(row)).has_value(), expected == 2);
                    const bool folder = std::string(e.name).back() == '/';
                    const bool details = !folder && (expected > 2 || (expected == 1 && oneSidedDetails));
                    QVERIFY2(rows.Item(row, 3).empty() == !details, e.name);
                }
            }
            Details().cmd(1)->click();
        }
        View(false);
        for (const Expected& e : all) {
            for (int list = 0; list < 2; ++list) {
                const int32_t row = Row(Details().lvw(list), e.name);
                const int expected = list == 0 ? e.left : e.right;
                QVERIFY2((row != 0) == (expected >= 0), e.name);
                if (row != 0)
                    QVERIFY2(Details().lvw(list).StateImage(row) == expected, e.name);
            }
        }
    }

    void identicalTreesHaveNothingToSync()
    {
        Write(m_left + "/a.txt", "same");
        Write(m_right + "/a.txt", "same");
        View(true);
        QCOMPARE(Status(Details()), QStringLiteral("No differences found."));
        QVERIFY(!Details().cmd(0)->isEnabled());
        QCOMPARE(Details().lvw(0).Count() + Details().lvw(1).Count(), 0);
        Details().cmd(1)->click();
        View(false);
        QCOMPARE(Status(Details()), QStringLiteral("Done."));
        for (int list = 0; list < 2; ++list) {
            QCOMPARE(Details().lvw(list).Count(), 1);
            QCOMPARE(Details().lvw(list).StateImage(1), 0);
        }
    }

    // The lists take the icon a file list gives each file on its own, also
    // where the name alone settles the type and the disk is not asked again.
    void fileIconsAreThoseOfTheFiles()
    {
        Write(m_left + "/notes.txt", "text");
        Write(m_left + "/picture.png", "not really a picture");
        Write(m_left + "/tool", "#!/bin/sh\n");
        chmod((m_left + "/tool").c_str(), 0755);
        Write(m_left + "/viewer.desktop", "[Desktop Entry]\nType=Application\nName=V\nExec=v\nIcon=folder-open\n");
        Write(m_left + "/sub/inner.txt", "x");
        View(false);
        QTreeView view;
        CListView probe;
        probe.Init(&view, 3, &Details().Images());
        CListView& rows = Details().lvw(0);
        for (const char* name : {"notes.txt", "picture.png", "tool", "viewer.desktop", "sub/", "sub/inner.txt"}) {
            probe.AddItem(name, {name});
            probe.SetFileIcon(name, m_left + "/" + name);
            QCOMPARE(rows.Icon(Row(rows, name)), probe.Icon(name));
        }
    }

    // The first code each kind of pair offers, and where clicks take it.
    void directionCodesCycleByPair_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("only left") << 0 << "only-left.txt" << QStringList{">+", "-<", "S", ">+"};
        QTest::newRow("left newer") << 0 << "left-newer.txt" << QStringList{">", "<", "S", ">"};
        QTest::newRow("right newer") << 1 << "right-newer.txt" << QStringList{"<", ">", "S", "<"};
        QTest::newRow("only right") << 1 << "only-right.txt" << QStringList{"+<", ">-", "S", "+<"};
        QTest::newRow("other size") << 0 << "size.txt" << QStringList{">", "<", "S", ">"};
        QTest::newRow("same") << 0 << "same.txt" << QStringList{"S", "S"};
    }

    void directionCodesCycleByPair()
    {
        QFETCH(int, list);
        QFETCH(QString, name);
        QFETCH(QStringList, codes);
        MakePairs();
        View(QString(QTest::currentDataTag()) != "same");
        frmSync dialog(Details());
        dialog.FillForm(list, Row(Details().lvw(list), name.toStdString()));
        for (const QString& code : codes) {
            QCOMPARE(QString::fromStdString(dialog.Direction()), code);
            emit dialog.cmdSyncDir()->Click();
        }
        QVERIFY(!dialog.cmdSyncDir()->Picture().isNull());
        QVERIFY(!dialog.HasErr());
    }

    // What the dialog shows: a long name cut at its end, a long folder in
    // its middle, the full texts as tooltips, "Doesn't exist" for the
    // missing side; the width stays fixed and the buttons at the bottom.
    void dialogShowsThePairFitted()
    {
        const std::string deep = "a-long-folder-name-that-does-not-fit/" + std::string(60, 'x') + "/end";
        const std::string name = std::string(80, 'n') + ".txt";
        Write(m_left + "/" + deep + "/" + name, "L");
        View(true);
        frmSync dialog(Details());
        dialog.FillForm(0, Row(Details().lvw(0), deep + "/" + name));
        dialog.show();
        QCOMPARE(dialog.lblFileName()->toolTip().toStdString(), name);
        QVERIFY(dialog.lblFileName()->text().endsWith(QChar(0x2026)));
        QCOMPARE(dialog.lblLeft()->toolTip().toStdString(), m_left + "/" + deep + "/");
        const QString folderLine = dialog.lblLeft()->text().section('\n', 0, 0);
        QVERIFY(folderLine.contains(QChar(0x2026)) && folderLine.endsWith(QStringLiteral("/end/")));
        QCOMPARE(dialog.lblRight()->text().section('\n', 1), QStringLiteral("Doesn't exist"));
        QCOMPARE(dialog.lblLeft()->text().count('\n'), 2);
        const int width = dialog.width();
        dialog.resize(width + 300, dialog.height() + 200);
        QTest::qWait(50);
        QCOMPARE(dialog.width(), width);
        QVERIFY(qAbs(dialog.height() - dialog.cmd(0)->y() - Twips::ToPixelsY(495, &dialog)) <= 1);
    }

    // Each code carried out on real files: the files, the record and both rows.
    void syncCarriesOutTheCode()
    {
        MakePairs();
        View(true);
        // "<": the left file becomes the right one, the left row takes the
        // right row's texts and both lose their state image.
        SyncRow(1, "right-newer.txt", 0);
        QCOMPARE(Read(m_left + "/right-newer.txt"), std::string("new right"));
        QCOMPARE(ModifiedAt(m_left + "/right-newer.txt"), kTime + 1000);
        const std::string key = Details().lvw(1).KeyOfIndex(Row(Details().lvw(1), "right-newer.txt"));
        for (int list = 0; list < 2; ++list)
            QCOMPARE(Details().lvw(list).StateImage(key), 0);
        for (int col = 1; col <= 3; ++col)
            QCOMPARE(Details().lvw(0).Item(key, col), Details().lvw(1).Item(key, col));
        QCOMPARE(SyncWayOf(0, "right-newer.txt"), 0);
        // "+<" into a folder chain the left side lacks; the placeholder
        // becomes a plain row.
        SyncRow(1, "deep/er/only-right-deep.txt", 0);
        QCOMPARE(Read(m_left + "/deep/er/only-right-deep.txt"), std::string("D"));
        const int32_t placeholder = Row(Details().lvw(0), "deep/er/only-right-deep.txt");
        QVERIFY(!Details().lvw(0).State(Details().lvw(0).KeyOfIndex(placeholder)).has_value());
        QCOMPARE(Details().lvw(0).StateImage(placeholder), 0);
        // ">": the right file becomes the left one.
        SyncRow(0, "left-newer.txt", 0);
        QCOMPARE(Read(m_right + "/left-newer.txt"), std::string("new left"));
        // "-<" and ">-": the file goes, and its rows from both lists.
        SyncRow(0, "only-left.txt", 1);
        SyncRow(1, "only-right.txt", 1);
        QVERIFY(!Exists(m_left + "/only-left.txt") && !Exists(m_right + "/only-right.txt"));
        for (int list = 0; list < 2; ++list)
            QVERIFY(Row(Details().lvw(list), "only-left.txt") == 0 && Row(Details().lvw(list), "only-right.txt") == 0);
        // "S" changes nothing.
        SyncRow(0, "size.txt", 2);
        QCOMPARE(Read(m_right + "/size.txt"), std::string("a"));
        QCOMPARE(SyncWayOf(0, "size.txt"), 5);
    }

    // A copy whose source went away since the lists were filled is reported
    // with the reason; the file pair, its rows and the target stay as they were.
    void failedLocalCopyIsReportedAndChangesNothing()
    {
        MakePairs();
        View(true);
        QVERIFY(unlink((m_left + "/left-newer.txt").c_str()) == 0);
        const std::vector<QString> texts = SyncRow(0, "left-newer.txt", 0);
        QCOMPARE(texts.size(), size_t{2});
        QVERIFY2(texts[0].startsWith(QStringLiteral("Error writing file ")) &&
                     texts[0].contains(QStringLiteral("No such file or directory")),
                 qPrintable(texts[0]));
        QCOMPARE(texts[1], QStringLiteral("All done!"));
        QCOMPARE(Read(m_right + "/left-newer.txt"), std::string("old right"));
        QCOMPARE(SyncWayOf(0, "left-newer.txt"), 2);
        QCOMPARE(Details().lvw(1).StateImage(Row(Details().lvw(1), "left-newer.txt")), 3);
    }

    void folderRowsAloneNeedNoDialog()
    {
        MakePairs();
        View(true);
        bool dialogShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&dialogShown] {
            dialogShown = dialogShown || qobject_cast<frmSync*>(QApplication::activeModalWidget()) != nullptr;
        });
        watch.start(5);
        const std::vector<QString> texts = SyncRow(0, "folder/", 0);
        QVERIFY(!dialogShown);
        QCOMPARE(texts, std::vector<QString>{QStringLiteral("All done!")});
    }

    // "&Close" while the lists fill stops the filling and keeps what is
    // listed; the second "&Close" closes the window.
    void closeWhileFillingStopsThenCloses()
    {
        for (int i = 0; i < 3000; ++i)
            Write(m_left + "/f" + std::to_string(i) + ".txt", "x");
        QTimer watch;
        watch.setInterval(0);
        connect(&watch, &QTimer::timeout, this, [&watch] {
            frmDetails* details = frmDetails::Instance();
            if (details != nullptr && details->lbl(2)->text() == QStringLiteral("Populating window...") &&
                details->lvw(0).Count() > 0) {
                watch.stop();
                details->cmd(1)->click();
            }
        });
        watch.start();
        Boxes boxes({QMessageBox::Yes});
        View(true);
        QVERIFY(frmDetails::Instance() != nullptr);
        QVERIFY(Status(Details()).startsWith(QStringLiteral("Cancelled by user.")));
        const int32_t listed = Details().lvw(0).Count();
        QVERIFY(listed > 0 && listed < 3000);
        QPointer<frmDetails> details = frmDetails::Instance();
        details->cmd(1)->click();
        QTRY_VERIFY(details.isNull() || !details->isVisible());
    }

    // Over FTP: an upload into a server folder that does not exist fails
    // the loop with the FTP message and leaves the pair; a download takes
    // the server file's time; an upload gives the server the local time.
    void ftpSyncUploadsDownloadsAndFails()
    {
        using velloran::test::FtpServer;
        using velloran::test::FtpServerKind;
        if (const std::string why = FtpServer::MissingReason(FtpServerKind::Pyftpdlib); !why.empty())
            QSKIP(why.c_str());
        const std::unique_ptr<FtpServer> server = FtpServer::Start(FtpServerKind::Pyftpdlib);
        Write(m_left + "/up.txt", "up", kTime + 500);
        Write(m_left + "/sub/nested.txt", "nested");
        server->MakeFile("down.txt", "down", 0);
        velloran::FtpSiteFields site;
        site.Server = server->Address();
        site.Username = server->User();
        site.Passwd = server->Password();
        site.FTPDirs = {server->ServerFolder()};
        site.Pasv = 1;
        Window().SetFtpSite(site);
        Window().mnu(1)->actions().at(2)->trigger();
        QVERIFY(Window().Sync().modeFTP);
        View(true);
        QCOMPARE(Status(Details()), QStringLiteral("Done."));

        std::vector<QString> texts = SyncRow(0, "sub/nested.txt", 0);
        QCOMPARE(texts, std::vector<QString>{QStringLiteral("Error occurred while copying files to FTP server.")});
        QVERIFY(!Exists(server->Local("sub/nested.txt")));
        QCOMPARE(SyncWayOf(0, "sub/nested.txt"), 1);

        SyncRow(0, "up.txt", 0);
        QCOMPARE(Read(server->Local("up.txt")), std::string("up"));
        QCOMPARE(ModifiedAt(server->Local("up.txt")), kTime + 500);
        SyncRow(1, "down.txt", 0);
        QCOMPARE(Read(m_left + "/down.txt"), std::string("down"));
        QCOMPARE(ModifiedAt(m_left + "/down.txt"), ModifiedAt(server->Local("down.txt")));
        Details().cmd(1)->click();
    }

    // Over SFTP: the host key is asked about once, in the window, and kept
    // with the site; a file synchronised up keeps its time.
    void sftpAsksToTrustTheHostOnce()
    {
        using velloran::test::SshServer;
        if (const std::string why = SshServer::MissingReason(); !why.empty())
            QSKIP(why.c_str());
        const std::unique_ptr<SshServer> server = SshServer::Start();
        Write(m_left + "/up.txt", "up", kTime + 500);
        velloran::FtpSiteFields site;
        site.Server = server->Server();
        site.Username = server->User();
        site.Passwd = server->Password();
        site.FTPDirs = {server->Folder()};
        Window().SetFtpSite(site);
        Window().mnu(1)->actions().at(2)->trigger();
        {
            Boxes boxes({QMessageBox::Yes});
            View(true);
            QCOMPARE(Status(Details()), QStringLiteral("Done."));
            QCOMPARE(boxes.texts.size(), size_t{1});
            QVERIFY(boxes.texts[0].contains(QString::fromStdString(server->HostKey())));
            QVERIFY(boxes.texts[0].endsWith(QStringLiteral("Trust this server?")));
        }
        QCOMPARE(Window().FtpSite().TrustedKey, server->HostKey());
        QCOMPARE(SyncRow(0, "up.txt", 0), std::vector<QString>{QStringLiteral("All done!")});
        QCOMPARE(Read(server->Folder() + "up.txt"), std::string("up"));
        QCOMPARE(ModifiedAt(server->Folder() + "up.txt"), kTime + 500);
        Details().cmd(1)->click();
        Boxes none({});
        View(true);
        QCOMPARE(Status(Details()), QStringLiteral("No differences found."));
        QVERIFY(none.texts.empty());
        Details().cmd(1)->click();
    }
};

QTEST_MAIN(DetailsWindowTest)
#include "DetailsWindowTest.moc"
