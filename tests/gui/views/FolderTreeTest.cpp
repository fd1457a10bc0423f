// FolderTreeview: writing the selected folder expands to it and selects it at
// once, also by a name that is not UTF-8, a folder that cannot be shown
// leaves another selection, the same-folder test goes by device and inode,
// right-button events reach the window, and only folders are listed, also
// beside many files.
#include "app/views/FolderModel.h"
#include "app/views/FolderTreeview.h"
#include "tests/gui/support/TempFolder.h"

#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

using velloran::FolderTreeview;

namespace {

void MakeFolder(const std::string& path)
{
    QVERIFY2(QDir().mkpath(QFile::decodeName(QByteArray::fromStdString(path))), path.c_str());
}

}  // namespace

class FolderTreeTest : public QObject {
    Q_OBJECT

private:
    velloran::test::TempFolder m_temp;
    const std::string m_root = m_temp.Root();

private slots:
    void initTestCase()
    {
        MakeFolder(m_root + "/a/b/c");
        MakeFolder(m_root + "/d");
        MakeFolder(m_root + "/.hidden/inner");
        QVERIFY(mkdir((m_root + "/d/\xff\xfe").c_str(), 0755) == 0);
        std::ofstream(m_root + "/a/file.txt") << "x";
        QVERIFY(symlink((m_root + "/a/b").c_str(), (m_root + "/link-to-b").c_str()) == 0);
    }

    void writingSelectsAndExpandsToTheFolder()
    {
        FolderTreeview tree;
        tree.show();
        tree.SetPath(m_root + "/a/b/c/");
        QCOMPARE(tree.Path(), m_root + "/a/b/c");
        auto* model = static_cast<velloran::FolderModel*>(tree.TreeHWnd()->model());
        QVERIFY(tree.TreeHWnd()->isExpanded(model->index(QByteArray::fromStdString(m_root + "/a/b"))));
        QVERIFY(tree.TreeHWnd()->isExpanded(model->index(QByteArray::fromStdString(m_root + "/a"))));
        tree.SetPath(m_root + "/.hidden/inner");  // hidden folders are shown
        QCOMPARE(tree.Path(), m_root + "/.hidden/inner");
        tree.SetPath(m_root + "/d/\xff\xfe");
        QCOMPARE(tree.Path(), m_root + "/d/\xff\xfe");
        tree.SetPath("/");
        QCOMPARE(tree.Path(), std::string("/"));
    }

    void aFolderThatCannotBeShownLeavesADifferentSelection()
    {
        FolderTreeview tree;
        QCOMPARE(tree.Path(), std::string());
        tree.SetPath(m_root + "/d");
        tree.SetPath(m_root + "/missing");
        QCOMPARE(tree.Path(), m_root + "/d");
        tree.SetPath(m_root + "/a/file.txt");  // a file is no folder
        QCOMPARE(tree.Path(), m_root + "/d");
        tree.SetPath("");
        QCOMPARE(tree.Path(), m_root + "/d");
    }

    void sameFolderGoesByDeviceAndInode()
    {
        FolderTreeview left, right;
        QVERIFY(!left.SameFolder(right));  // nothing selected
        left.SetPath(m_root + "/a/b");
        right.SetPath(m_root + "/link-to-b");
        QCOMPARE(right.Path(), m_root + "/link-to-b");
        QVERIFY(left.SameFolder(right));
        QVERIFY(right.SameFolder(left));
        right.SetPath(m_root + "/a");
        QVERIFY(!left.SameFolder(right));
    }

    void mouseButtonsReachTheWindow()
    {
        FolderTreeview tree;
        tree.resize(300, 200);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QSignalSpy downs(&tree, &FolderTreeview::MouseDown);
        QSignalSpy ups(&tree, &FolderTreeview::MouseUp);
        QWidget* viewport = tree.TreeHWnd()->viewport();
        QTest::mousePress(viewport, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 4));
        QTest::mouseRelease(viewport, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 4));
        QCOMPARE(downs.count(), 1);
        QCOMPARE(ups.count(), 1);
        const QPoint inTree = viewport->mapTo(tree.TreeHWnd(), QPoint(10, 4));
        QCOMPARE(ups.first(), (QList<QVariant>{2, 1, inTree.x() * 15, inTree.y() * 15}));
    }

    void listsOnlyFoldersBesideManyFiles()
    {
        const std::string big = m_root + "/big";
        MakeFolder(big + "/sub1");
        MakeFolder(big + "/sub2");
        for (int i = 0; i < 3000; ++i)
            std::ofstream(big + "/file" + std::to_string(i));
        FolderTreeview tree;
        tree.show();
        tree.SetPath(big);
        QAbstractItemModel* model = tree.TreeHWnd()->model();
        const QModelIndex bigIndex = tree.TreeHWnd()->currentIndex();
        tree.TreeHWnd()->expand(bigIndex);
        QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(bigIndex), 2, 60000);
        tree.SetPath(big + "/sub2");
        QCOMPARE(tree.Path(), big + "/sub2");
    }

    void movesInTwips()
    {
        QWidget parent;
        FolderTreeview tree(&parent);
        tree.Move(150, 300, 1500, 3000);
        QCOMPARE(tree.geometry(), QRect(10, 20, 100, 200));
    }
};

QTEST_MAIN(FolderTreeTest)
#include "FolderTreeTest.moc"
