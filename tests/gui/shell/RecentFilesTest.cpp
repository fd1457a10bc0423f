// The recent-folders list as the main window keeps it (folders only): what
// loading and Add do to the order, exact comparison of names, the menu with
// its "(None)" item and its clicks, and the stored list across a restart.
#include "app/shell/CRecentFiles.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "tests/gui/support/TempFolder.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

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

QStringList Items(const CRecentFiles& recent)
{
    QStringList items;
    for (const std::string& item : recent.Items())
        items << QString::fromStdString(item);
    return items;
}

}  // namespace

class RecentFilesTest : public QObject {
    Q_OBJECT

private slots:
    void loadAndAdd_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("maxRecent");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("items");
        const QStringList abc{"/a/", "/b/", "/c/"};
        QStringList forty;
        for (int i = 0; i < 40; ++i)
            forty << QStringLiteral("/f%1/").arg(i);
        QTest::newRow("twice, kept once") << QStringList{} << 20 << QStringList{"/d/", "/d/"} << QStringList{"/d/"};
        QTest::newRow("listed, moves up") << abc << 20 << QStringList{"/c/"} << QStringList{"/c/", "/a/", "/b/"};
        QTest::newRow("other case, other folder") << QStringList{"/Data/"} << 20 << QStringList{"/data/"}
                                                  << QStringList{"/data/", "/Data/"};
        QTest::newRow("full, oldest drops") << abc << 3 << QStringList{"/d/"} << QStringList{"/d/", "/a/", "/b/"};
        QTest::newRow("file or nothing refused") << abc << 20 << QStringList{"/a/notes.txt", ""} << abc;
        QTest::newRow("no room at all") << QStringList{} << 0 << QStringList{"/a/"} << QStringList{};
        QTest::newRow("loads at most MaxRecent") << abc << 2 << QStringList{} << abc.mid(0, 2);
        QTest::newRow("loads at most 30") << forty << 1'000'000 << QStringList{} << forty.mid(0, 30);
    }

    void loadAndAdd()
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
        const auto visible = [&menu] {
            QStringList captions;
            for (const QAction* action : menu.actions())
                if (action->isVisible())
                    captions << action->text();
            return captions;
        };
        QCOMPARE(visible(), QStringList{"(None)"});
        recent.Add("/home/tom & jerry/");
        recent.Add("/srv/");
        QCOMPARE(visible(), (QStringList{"/srv/", "/home/tom && jerry/"}));
        QSignalSpy clicked(&recent, &CRecentFiles::Clicked);
        menu.actions().last()->trigger();
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.front().front().value<std::string>(), std::string("/home/tom & jerry/"));
    }

    // The next start shows the same order; with RemoveDead a folder gone
    // since is left out. A list never loaded leaves the stored one alone.
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
        Store({});
        {
            QMenu menu;
            CRecentFiles recent;
            recent.Init(&menu, 20, true, false, removeDead);
            for (const char* name : {"first", "gone", "third"}) {
                QDir().mkpath(root + name);
                recent.Add((root + name + "/").toStdString());
            }
            QDir(root + "gone").removeRecursively();
            recent.Save();
        }
        CRecentFiles().Save();
        QMenu menu;
        CRecentFiles recent;
        recent.Init(&menu, 20, true, false, false);
        QStringList expected;
        for (const QString& name : afterRestart)
            expected << root + name + "/";
        QCOMPARE(Items(recent), expected);
    }
};

QTEST_MAIN(RecentFilesTest)
#include "RecentFilesTest.moc"
