// The recent-folders list as the main window keeps it (folders only): what
// Add does to the order, exact comparison of names, the menu with its
// "(None)" item and its clicks, and the stored list across a restart.
#include "app/shell/CRecentFiles.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "tests/gui/support/TempFolder.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <string>
#include <vector>

using quorvantell::eRegBaseKey;
using velloran::CRecentFiles;

namespace {

constexpr const char* kRecentKey = "Software\\Quorvantell\\Velloran\\e\\Recent Files";

quorvantell::CRegistry& Registry()
{
    return *quorvantell::ClassLibrary::Shared().Registry;
}

void Store(const QStringList& entries)
{
    Registry().DeleteKey(eRegBaseKey::HKCU, kRecentKey);
    for (int i = 0; i < entries.size(); ++i)
        Registry().SetKeyStr(eRegBaseKey::HKCU, kRecentKey, std::to_string(i), entries[i].toStdString());
}

QStringList Stored()
{
    QStringList entries;
    for (int i = 0; i < 100; ++i) {
        const std::string entry = Registry().GetKeyStr(eRegBaseKey::HKCU, kRecentKey, std::to_string(i));
        if (entry.empty())
            break;
        entries << QString::fromStdString(entry);
    }
    return entries;
}

QStringList Items(const CRecentFiles& recent)
{
    QStringList items;
    for (const std::string& item : recent.Items())
        items << QString::fromStdString(item);
    return items;
}

QStringList VisibleCaptions(const QMenu& menu)
{
    QStringList captions;
    for (const QAction* action : menu.actions())
        if (action->isVisible())
            captions << action->text();
    return captions;
}

}  // namespace

class RecentFilesTest : public QObject {
    Q_OBJECT

private slots:
    void addPutsTheEntryOnTop_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("maxRecent");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("twice, kept once") << QStringList{} << 20 << QStringList{"/data/", "/data/"}
                                          << QStringList{"/data/"};
        QTest::newRow("listed, moves up") << QStringList{"/a/", "/b/", "/c/"} << 20 << QStringList{"/c/"}
                                          << QStringList{"/c/", "/a/", "/b/"};
        QTest::newRow("other case, other folder") << QStringList{"/Data/"} << 20 << QStringList{"/data/"}
                                                  << QStringList{"/data/", "/Data/"};
        QTest::newRow("full, oldest drops") << QStringList{"/a/", "/b/", "/c/"} << 3 << QStringList{"/d/"}
                                            << QStringList{"/d/", "/a/", "/b/"};
        QTest::newRow("a file is refused") << QStringList{"/a/"} << 20 << QStringList{"/a/notes.txt"}
                                           << QStringList{"/a/"};
        QTest::newRow("nothing is refused") << QStringList{"/a/"} << 20 << QStringList{""} << QStringList{"/a/"};
        QTest::newRow("no room at all") << QStringList{} << 0 << QStringList{"/a/"} << QStringList{};
        QTest::newRow("loads at most MaxRecent") << QStringList{"/a/", "/b/", "/c/"} << 2 << QStringList{}
                                                 << QStringList{"/a/", "/b/"};
    }

    void addPutsTheEntryOnTop()
    {
        QFETCH(QStringList, stored);
        QFETCH(int, maxRecent);
        QFETCH(QStringList, added);
        QFETCH(QStringList, items);
        Store(stored);
        QMenu menu;
        CRecentFiles recent;
        recent.Init(&menu, maxRecent, true, false, false);
        for (const QString& entry : added)
            recent.Add(entry.toStdString());
        QCOMPARE(Items(recent), items);
    }

    // "(None)" shows only while the list is empty; a chosen item is
    // reported with its entry, an ampersand shown as itself.
    void menuShowsTheListAndReportsTheChoice()
    {
        Store({});
        QMenu menu;
        CRecentFiles recent;
        recent.Init(&menu, 20, true, false, false);
        QCOMPARE(VisibleCaptions(menu), QStringList{"(None)"});
        recent.Add("/home/tom & jerry/");
        recent.Add("/srv/");
        QCOMPARE(VisibleCaptions(menu), (QStringList{"/srv/", "/home/tom && jerry/"}));
        QSignalSpy clicked(&recent, &CRecentFiles::Clicked);
        menu.actions().last()->trigger();
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.front().front().value<std::string>(), std::string("/home/tom & jerry/"));
    }

    // The next start shows the same order; with RemoveDead a folder gone
    // since is left out of the stored list, which has no gaps.
    void restartKeepsTheOrder_data()
    {
        QTest::addColumn<bool>("removeDead");
        QTest::addColumn<QStringList>("afterRestart");
        QTest::newRow("all kept") << false << QStringList{"third", "gone", "first"};
        QTest::newRow("dead removed") << true << QStringList{"third", "first"};
    }

    void restartKeepsTheOrder()
    {
        QFETCH(bool, removeDead);
        QFETCH(QStringList, afterRestart);
        velloran::test::TempFolder temp;
        const QString root = QString::fromStdString(temp.Root()) + "/";
        for (const char* name : {"first", "gone", "third"})
            QDir().mkpath(root + name);
        Store({});
        {
            QMenu menu;
            CRecentFiles recent;
            recent.Init(&menu, 20, true, false, removeDead);
            for (const char* name : {"first", "gone", "third"})
                recent.Add((root + name + "/").toStdString());
            QDir(root + "gone").removeRecursively();
            recent.Save();
        }
        QStringList expected;
        for (const QString& name : afterRestart)
            expected << root + name + "/";
        QCOMPARE(Stored(), expected);
        QMenu menu;
        CRecentFiles recent;
        recent.Init(&menu, 20, true, false, false);
        QCOMPARE(Items(recent), expected);
    }

    // A list that was never loaded leaves the stored one alone; however
    // large MaxRecent is, no more items are read than the options allow.
    void storedListIsGuarded()
    {
        QStringList many;
        for (int i = 0; i < 40; ++i)
            many << QStringLiteral("/f%1/").arg(i);
        Store(many);
        CRecentFiles().Save();
        QCOMPARE(Stored(), many);
        QMenu menu;
        CRecentFiles recent;
        recent.Init(&menu, 1'000'000, true, false, false);
        QCOMPARE(Items(recent), many.mid(0, 30));
    }
};

QTEST_MAIN(RecentFilesTest)
#include "RecentFilesTest.moc"
