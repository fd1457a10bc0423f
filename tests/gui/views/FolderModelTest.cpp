// FolderModel: only folders and links to folders are listed, in the tree's
// order, with names that are not UTF-8 kept as bytes; a deep path gets its
// row at once and keeps it when the siblings arrive; folders made or
// removed on disk come and go without a reset.
#include "app/views/FolderModel.h"
#include "tests/gui/support/TempFolder.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

using velloran::FolderModel;

namespace {

QByteArray Bytes(const std::string& path)
{
    return QByteArray::fromStdString(path);
}

void MakeFolder(const std::string& path)
{
    QVERIFY2(mkdir(path.c_str(), 0755) == 0, path.c_str());
}

// Opens the folder's branch and waits until its sub-folders are in.
QModelIndex Read(FolderModel& model, const std::string& folder)
{
    const QModelIndex index = model.index(Bytes(folder));
    QSignalSpy loaded(&model, &FolderModel::directoryLoaded);
    model.fetchMore(index);
    while (model.canFetchMore(index) && loaded.wait()) {
    }
    return index;
}

QList<QByteArray> Rows(const FolderModel& model, const QModelIndex& parent)
{
    QList<QByteArray> paths;
    for (int row = 0; row < model.rowCount(parent); ++row)
        paths.append(model.filePath(model.index(row, 0, parent)));
    return paths;
}

}  // namespace

class FolderModelTest : public QObject {
    Q_OBJECT

private:
    velloran::test::TempFolder m_temp;
    const std::string m_root = m_temp.Root();

private slots:
    void listsFoldersAndLinksToFoldersInOrder()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // numbers by value
        const std::string list = m_root + "/list";
        MakeFolder(list);
        for (const char* name : {"b", "A", "a10", "a9", ".hidden", "Zeta", "\xff"})
            MakeFolder(list + "/" + name);
        std::ofstream(list + "/file.txt") << "x";
        QVERIFY(symlink((list + "/b").c_str(), (list + "/link-to-b").c_str()) == 0);
        QVERIFY(symlink((list + "/file.txt").c_str(), (list + "/link-to-file").c_str()) == 0);
        QVERIFY(symlink((list + "/missing").c_str(), (list + "/broken").c_str()) == 0);
        QVERIFY(mkfifo((list + "/pipe").c_str(), 0644) == 0);

        FolderModel model;
        const QModelIndex index = model.index(Bytes(list));
        QVERIFY(model.hasChildren(index));  // an arrow before the read
        Read(model, list);
        QList<QByteArray> expected;
        for (const char* name : {".hidden", "A", "a9", "a10", "b", "link-to-b", "Zeta", "\xff"})
            expected.append(Bytes(list + "/" + name));
        QCOMPARE(Rows(model, index), expected);
        QCOMPARE(model.index(7, 0, index).data().toString(), QString(QChar::ReplacementCharacter));
        QCOMPARE(model.filePath(model.index(Bytes(list + "/\xff"))), Bytes(list + "/\xff"));

        const QModelIndex empty = Read(model, list + "/b");
        QVERIFY(!model.hasChildren(empty));  // read and empty: no arrow
        QVERIFY(model.hasChildren(model.index(Bytes(list + "/a9"))));  // not read yet
        QVERIFY(!(model.flags(empty) & (Qt::ItemIsEditable | Qt::ItemIsDragEnabled)));
        QLocale::setDefault(QLocale::c());
    }

    void aDeepFolderHasItsRowAtOnce()
    {
        const std::string deep = m_root + "/deep";
        QVERIFY(QDir().mkpath(QString::fromStdString(deep + "/x/y/z")));
        MakeFolder(deep + "/w");
        MakeFolder(deep + "/x2");
        FolderModel model;
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        const QPersistentModelIndex z = model.index(Bytes(deep + "/x/y/z/"));
        QVERIFY(z.isValid());
        QCOMPARE(model.filePath(z), Bytes(deep + "/x/y/z"));
        const QModelIndex top = model.index(Bytes(deep));
        QCOMPARE(model.rowCount(top), 1);  // siblings are not read yet
        Read(model, deep);
        QCOMPARE(Rows(model, top), (QList<QByteArray>{Bytes(deep + "/w"), Bytes(deep + "/x"), Bytes(deep + "/x2")}));
        QVERIFY(z.isValid());
        QCOMPARE(model.filePath(z), Bytes(deep + "/x/y/z"));
        QCOMPARE(QModelIndex(z), model.index(Bytes(deep + "/x/y/z")));
        QCOMPARE(resets.count(), 0);

        std::ofstream(deep + "/file") << "x";
        for (const std::string& path : {deep + "/missing", deep + "/file", deep + "/x/../x", deep + "/./x",
                                        std::string("relative"), std::string()})
            QVERIFY2(!model.index(Bytes(path)).isValid(), path.c_str());
        QCOMPARE(model.filePath(model.index(QByteArrayLiteral("/"))), QByteArrayLiteral("/"));
    }

    void foldersMadeOrRemovedOnDiskComeAndGo_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("UTF-8") << QByteArrayLiteral("watched");
        QTest::newRow("not UTF-8") << QByteArrayLiteral("watched-\xfe");
    }

    void foldersMadeOrRemovedOnDiskComeAndGo()
    {
        QFETCH(QByteArray, name);
        const std::string folder = m_root + "/" + name.toStdString();
        MakeFolder(folder);
        MakeFolder(folder + "/keep");
        FolderModel model;
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        const QModelIndex index = Read(model, folder);
        const QPersistentModelIndex keep = model.index(0, 0, index);
        MakeFolder(folder + "/a");
        MakeFolder(folder + "/z");
        std::ofstream(folder + "/file") << "x";
        QTRY_COMPARE(Rows(model, index),
                     (QList<QByteArray>{Bytes(folder + "/a"), Bytes(folder + "/keep"), Bytes(folder + "/z")}));
        QVERIFY(rmdir((folder + "/a").c_str()) == 0);
        QTRY_COMPARE(Rows(model, index), (QList<QByteArray>{Bytes(folder + "/keep"), Bytes(folder + "/z")}));
        QCOMPARE(model.filePath(keep), Bytes(folder + "/keep"));
        QCOMPARE(resets.count(), 0);
    }
};

QTEST_MAIN(FolderModelTest)
#include "FolderModelTest.moc"
