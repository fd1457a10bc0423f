// CListView on a real QTreeView: the header's sort cycle and arrow, sizes
// and times sorted by number with the secondary column and the name as tie
// breaks, rows addressed by key and index, names that are not UTF-8 kept
// byte for byte, the settings under "Window", file icons cached per type,
// overlays, check boxes against state images, and row colours.
#include "app/views/CListView.h"
#include "app/views/ListImages.h"
#include "app/views/ListModel.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "tests/gui/support/TempFolder.h"

#include <QHeaderView>
#include <QImageWriter>
#include <QMimeDatabase>
#include <QPainter>
#include <QTest>
#include <QTreeView>

#include <sys/stat.h>

#include <fstream>

using quorvantell::ClassLibrary;
using quorvantell::eRegBaseKey;
using velloran::CItemState;
using velloran::CListView;
using velloran::ListImages;

using Keys = std::vector<std::string>;
Q_DECLARE_METATYPE(Keys)
Q_DECLARE_METATYPE(std::vector<int>)

namespace {

constexpr const char* kWindowKey = "Software\\Quorvantell\\Velloran\\e\\Window";

struct List {
    QTreeView view;
    ListImages images;
    CListView wrapper;

    List()
    {
        wrapper.Init(&view, 3, &images);
        wrapper.SetColumnCaptions({"File", "Size", "Modified"});
    }

    // A file row the way the details window gets it; size < 0: a folder row.
    void Add(const std::string& key, const std::string& name, const std::string& sizeText, int64_t size, int64_t time)
    {
        QVERIFY(wrapper.AddItem(key, {name, size < 0 ? "" : sizeText, size < 0 ? "" : "t" + std::to_string(time)}) > 0);
        if (size >= 0) {
            wrapper.SetSortValue(key, 2, size);
            wrapper.SetSortValue(key, 3, time);
        }
    }

    Keys Order() const
    {
        Keys keys;
        for (int32_t i = 1; i <= wrapper.Count(); ++i)
            keys.push_back(wrapper.KeyOfIndex(i));
        return keys;
    }

    // A click on the column's header, as the user makes it.
    void ClickHeader(int column)
    {
        QHeaderView* header = view.header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column - 1) + 4, header->height() / 2));
    }

    int ArrowSection() const { return view.header()->sortIndicatorSection(); }
    Qt::SortOrder ArrowOrder() const { return view.header()->sortIndicatorOrder(); }
};

int32_t Stored(const std::string& name)
{
    return ClassLibrary::Shared().Registry->GetKeyWord(eRegBaseKey::HKCU, kWindowKey, name, -12345);
}

void Store(const std::string& name, int32_t value)
{
    ClassLibrary::Shared().Registry->SetKeyWord(eRegBaseKey::HKCU, kWindowKey, name, value);
}

void Touch(const std::string& path, mode_t mode = 0644)
{
    std::ofstream(path) << "x";
    QCOMPARE(chmod(path.c_str(), mode), 0);
}

QPixmap Filled(Qt::GlobalColor colour)
{
    QPixmap picture(16, 16);
    picture.fill(colour);
    return picture;
}

}  // namespace

class ListViewTest : public QObject {
    Q_OBJECT

private slots:
    void init() { ClassLibrary::Shared().Registry->DeleteKey(eRegBaseKey::HKCU, kWindowKey); }

    void headerClicksSortByNumberThenSecondaryThenName_data()
    {
        QTest::addColumn<std::vector<int>>("clicks");
        QTest::addColumn<int>("secondary");
        QTest::addColumn<Keys>("order");
        QTest::addColumn<int>("arrow");
        QTest::addColumn<bool>("descending");
        QTest::newRow("name, case-insensitive") << std::vector<int>{1} << -1 << Keys{"B", "A", "C", "E", "D"} << 0 << false;
        QTest::newRow("name, descending") << std::vector<int>{1, 1} << -1 << Keys{"D", "E", "C", "A", "B"} << 0 << true;
        QTest::newRow("third click: added order") << std::vector<int>{1, 1, 1} << -1 << Keys{"A", "B", "C", "D", "E"} << -1 << false;
        QTest::newRow("size by bytes, ties by name") << std::vector<int>{2} << -1 << Keys{"D", "A", "E", "B", "C"} << 1 << false;
        QTest::newRow("size, ties by time") << std::vector<int>{2} << 3 << Keys{"D", "E", "A", "B", "C"} << 1 << false;
        QTest::newRow("size descending, ties by time") << std::vector<int>{2, 2} << 3 << Keys{"C", "B", "A", "E", "D"} << 1 << true;
        QTest::newRow("time by number, ties by name") << std::vector<int>{3} << -1 << Keys{"D", "B", "E", "C", "A"} << 2 << false;
        QTest::newRow("another column starts ascending") << std::vector<int>{2, 2, 3} << -1 << Keys{"D", "B", "E", "C", "A"} << 2 << false;
    }

    void headerClicksSortByNumberThenSecondaryThenName()
    {
        QFETCH(std::vector<int>, clicks);
        QFETCH(int, secondary);
        List list;
        list.Add("A", "b.txt", "9 bytes", 9, 300);
        list.Add("B", "a.txt", "10 KB", 10240, 100);
        list.Add("C", "C.txt", "10 KB", 10240, 200);
        list.Add("D", "folder", "", -1, 0);
        list.Add("E", "d.txt", "9 bytes", 9, 100);
        list.wrapper.SetSecondSort(secondary);
        list.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list.view));
        for (const int column : clicks)
            list.ClickHeader(column);
        QTEST(list.Order(), "order");
        QTEST(list.ArrowSection(), "arrow");
        if (list.ArrowSection() >= 0)
            QTEST(list.ArrowOrder() == Qt::DescendingOrder, "descending");
        QCOMPARE(list.wrapper.Sorted(), list.ArrowSection() >= 0);
    }

    void rowsAddedToASortedListTakeTheirPlacesWhenDrawnOrAddressed()
    {
        List list;
        list.wrapper.ColumnClick(1);
        list.Add("F0", "zeta", "1 bytes", 1, 1);
        list.Add("F1", "alpha", "1 bytes", 1, 1);
        list.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list.view));
        QTRY_COMPARE(list.view.model()->index(0, 0).data().toString(), QString("alpha"));
        QCOMPARE(list.wrapper.AddItem("F2", {"beta"}), 3);  // waits at the end until addressed
        QCOMPARE(list.wrapper.IndexOfKey("F2"), 2);
        QCOMPARE(list.Order(), (Keys{"F1", "F2", "F0"}));
    }

    void rowsByKeyAndByIndex()
    {
        List list;
        QCOMPARE(list.wrapper.AddItem("F0", {"one", "1 bytes", "x"}), 1);
        QCOMPARE(list.wrapper.AddItem("F1", {"two"}), 2);
        QCOMPARE(list.wrapper.AddItem("F1", {"again"}), 0);  // keys are unique
        QCOMPARE(list.wrapper.AddItemByIndex(1, {"top"}), 1);
        QCOMPARE(list.wrapper.AddItemByIndex(9, {"far"}), 0);
        QCOMPARE(list.Order(), (Keys{"", "F0", "F1"}));
        QCOMPARE(list.wrapper.Item(1, 1), std::string("top"));
        QCOMPARE(list.wrapper.Item("F0", 2), std::string("1 bytes"));
        QCOMPARE(list.wrapper.Item("F1", 3), std::string());
        QCOMPARE(list.wrapper.Item("F9", 1), std::string());
        QCOMPARE(list.wrapper.Item(4, 1), std::string());
        QCOMPARE(list.wrapper.Item("F0", 4), std::string());

        list.wrapper.SetSortValue("F0", 2, 1);
        list.wrapper.SetItem("F0", {"one", "2 bytes", "x"});
        QCOMPARE(list.wrapper.Item(2, 2), std::string("2 bytes"));
        QVERIFY(!list.wrapper.SortValue("F0", 2));  // the number of the old text is gone
        list.wrapper.SetItemText("F1", 3, "today");
        QCOMPARE(list.wrapper.Item("F1", 3), std::string("today"));
        list.wrapper.SetTag("F1", "D");
        QCOMPARE(list.wrapper.Tag(3), std::string("D"));

        list.wrapper.ReplaceKey("F0", "F1");  // taken: nothing changes
        QCOMPARE(list.wrapper.IndexOfKey("F0"), 2);
        list.wrapper.ReplaceKey("F0", "F7");
        QCOMPARE(list.wrapper.IndexOfKey("F0"), 0);
        QCOMPARE(list.wrapper.KeyOfIndex(2), std::string("F7"));
        list.wrapper.RemoveItem("F7");
        list.wrapper.RemoveItem("F7");
        list.wrapper.RemoveItem(0);
        QCOMPARE(list.Order(), (Keys{"", "F1"}));
        QCOMPARE(list.wrapper.IndexOfKey("F1"), 2);
        list.wrapper.ColumnClick(1);
        list.wrapper.ColumnClick(1);
        list.wrapper.ColumnClick(1);  // unsorted again: the row put on top stays there
        QCOMPARE(list.wrapper.Item(1, 1), std::string("top"));
    }

    void manyRowsKeepKeysAndTextsThroughChangesAndRemovals()
    {
        List list;
        const std::string tail(300, 'x');  // longer than one length byte holds
        const auto text = [&tail](int i, int round) { return std::to_string(i) + "-" + std::to_string(round) + tail; };
        for (int i = 0; i < 3000; ++i)
            list.wrapper.AddItem("K" + std::to_string(i), {text(i, 0)});
        for (int round = 1; round <= 3; ++round) {  // old texts pile up and are compacted away
            for (int i = 0; i < 3000; ++i)
                list.wrapper.SetItemText("K" + std::to_string(i), 1, text(i, round));
        }
        for (int i = 0; i < 3000; i += 3)
            list.wrapper.RemoveItem("K" + std::to_string(i));
        QCOMPARE(list.wrapper.Count(), 2000);
        for (int i = 0; i < 3000; ++i) {
            const std::string key = "K" + std::to_string(i);
            const int32_t index = list.wrapper.IndexOfKey(key);
            QCOMPARE(index, i % 3 == 0 ? 0 : i - i / 3);
            if (index != 0) {
                QCOMPARE(list.wrapper.KeyOfIndex(index), key);
                QCOMPARE(list.wrapper.Item(key, 1), text(i, 3));
            }
        }
    }

    void selectionFollowsItsRowsThroughSorts()
    {
        List list;
        list.Add("A", "b.txt", "9 bytes", 9, 300);
        list.Add("B", "a.txt", "10 KB", 10240, 100);
        list.Add("C", "c.txt", "1 bytes", 1, 200);
        QCOMPARE(list.wrapper.SelectedItem(), 0);
        list.wrapper.SetSelectedItem("A");
        QCOMPARE(list.wrapper.SelectedItem(), 1);
        list.wrapper.ColumnClick(2);  // C, A, B
        QCOMPARE(list.wrapper.SelectedItem(), 2);
        QVERIFY(list.wrapper.Selected(2) && !list.wrapper.Selected(1));
        list.wrapper.SetSelectAll(true);
        QVERIFY(list.wrapper.Selected(1) && list.wrapper.Selected(3));
        list.wrapper.SetSelectAll(false);
        QCOMPARE(list.wrapper.SelectedItem(), 0);
    }

    void namesThatAreNotUtf8ComeBackByteForByte()
    {
        List list;
        const std::string latin1 = "caf\xE9 \xFF.txt";
        list.Add("F\xE9", latin1, "1 bytes", 1, 1);
        list.Add("F1", "cafe.txt", "1 bytes", 1, 1);
        list.wrapper.ColumnClick(1);
        QCOMPARE(list.Order(), (Keys{"F1", "F\xE9"}));
        QCOMPARE(list.wrapper.Item("F\xE9", 1), latin1);
        QCOMPARE(list.wrapper.KeyOfIndex(2), std::string("F\xE9"));
        QVERIFY(list.view.model()->index(1, 0).data().toString().startsWith("caf"));
    }

    void layoutAndSortStateRoundTripThroughTheSettings()
    {
        {
            List list;
            list.wrapper.ReadSettings("Details0", true, {180, 60, 110});
            QCOMPARE(list.view.header()->sectionSize(0), 180);
            QCOMPARE(list.view.header()->sectionSize(2), 110);
            QCOMPARE(list.ArrowSection(), 0);  // a fresh list sorts by name
            list.view.header()->resizeSection(1, 75);
            list.view.header()->moveSection(2, 0);  // Modified, File, Size
            list.wrapper.ColumnClick(3);
            list.wrapper.ColumnClick(3);
            list.wrapper.SetSecondSort(2);
            list.wrapper.SaveSettings("Details0");
        }
        QCOMPARE(Stored("Details0lv1"), 75);
        QCOMPARE(Stored("Details0lvCol1"), 1);
        QCOMPARE(Stored("Details0lvCol3"), 0);
        QCOMPARE(Stored("Details0lvSortIdx"), 3);
        QCOMPARE(Stored("Details0lvSortOrd"), 1);
        QCOMPARE(Stored("Details0lvSecSort"), 2);
        QCOMPARE(Stored("Details0lvSorted"), -1);
        Store("Details0lv0", 3);
        List again;
        again.wrapper.ReadSettings("Details0", false, {180, 60, 110});
        QCOMPARE(again.view.header()->sectionSize(0), 8);
        QCOMPARE(again.view.header()->sectionSize(1), 75);
        QCOMPARE(again.view.header()->logicalIndex(0), 2);
        QCOMPARE(again.ArrowSection(), 2);
        QCOMPARE(again.ArrowOrder(), Qt::DescendingOrder);
        QCOMPARE(again.wrapper.secondSort(), 2);

        Store("Details0lvSorted", 0);
        Store("Details0lvCol1", 0);  // two columns at one place: natural order
        List unsorted;
        unsorted.wrapper.ReadSettings("Details0", true, {});
        QVERIFY(!unsorted.wrapper.Sorted());
        QCOMPARE(unsorted.ArrowSection(), -1);
        QCOMPARE(unsorted.view.header()->logicalIndex(0), 0);
    }

    void fileIconsAreCachedByTypeOrByPath()
    {
        velloran::test::TempFolder folder;
        const std::string root = folder.Root() + "/";
        Touch(root + "a.txt");
        Touch(root + "b.txt");
        Touch(root + "one.exe");
        Touch(root + "two.exe");
        Touch(root + "tool", 0755);
        QImage red(16, 16, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(QImageWriter(QString::fromStdString(root + "red.ico"), "ico").write(red));
        QVERIFY(red.save(QString::fromStdString(root + "red.png")));
        std::ofstream(root + "app.desktop") << "[Desktop Entry]\nType=Application\nIcon=" << root << "red.png\n";
        List list;
        const struct {
            std::string path;
            bool byName;
            std::string key;
        } cases[] = {
            {root + "a.txt", false, "text/plain"},
            {root + "b.txt", false, "text/plain"},
            {root + "one.exe", false, root + "one.exe"},
            {root + "two.exe", false, root + "two.exe"},
            {root + "tool", false, "application/x-executable"},
            {folder.Root(), false, "inode/directory"},
            {root + "gone.txt", false, "Default"},
            {"far/away.txt", true, "text/plain"},
            {"setup.exe", true, QMimeDatabase().mimeTypeForFile("setup.exe").name().toStdString()},
            {root + "red.ico", false, root + "red.ico"},
            {root + "app.desktop", false, root + "app.desktop"},
        };
        for (const auto& each : cases) {
            const std::string key = "F" + std::to_string(list.wrapper.Count());
            list.wrapper.AddItem(key, {each.path});
            if (each.byName)
                list.wrapper.SetFileIconByExt(key, each.path);
            else
                list.wrapper.SetFileIcon(key, each.path);
            QCOMPARE(list.wrapper.Icon(key), each.key);
        }
        QCOMPARE(list.images.Count(), 9);  // one picture per distinct key
        for (const int32_t own : {list.wrapper.Count() - 1, list.wrapper.Count()})
            QCOMPARE(list.wrapper.ItemImage(own).toImage().pixelColor(8, 8), QColor(Qt::red));
    }

    void overlaysAreComposedOnTheBaseIcon()
    {
        List list;
        list.images.Add("base", Filled(Qt::blue));
        QPixmap corner(16, 16);
        corner.fill(Qt::transparent);
        {
            QPainter painter(&corner);
            painter.fillRect(0, 0, 4, 4, Qt::yellow);
        }
        list.images.Add("link", corner);
        list.images.Add("shared", corner);
        list.wrapper.AddItem("F0", {"a"});
        list.wrapper.SetIcon("F0", "base");
        list.wrapper.SetOverlay("F0", "link");
        QCOMPARE(list.wrapper.Icon("F0"), std::string("OLlink.base"));
        QCOMPARE(list.wrapper.Overlay("F0"), std::string("link"));
        const QImage composed = list.wrapper.ItemImage(1).toImage();
        QCOMPARE(composed.pixelColor(1, 1), QColor(Qt::yellow));
        QCOMPARE(composed.pixelColor(8, 8), QColor(Qt::blue));
        list.wrapper.SetOverlay("F0", "shared");
        QCOMPARE(list.wrapper.Icon("F0"), std::string("OLshared.base"));
        list.wrapper.SetOverlay("F0", "missing");
        QCOMPARE(list.wrapper.Icon("F0"), std::string("OLshared.base"));
        list.wrapper.SetOverlay("F0", "");
        QCOMPARE(list.wrapper.Icon("F0"), std::string("base"));
        QCOMPARE(list.wrapper.Overlay("F0"), std::string());
        list.wrapper.SetIcon("F0", "nothing");
        QCOMPARE(list.wrapper.Icon("F0"), std::string("base"));
    }

    void checkBoxesTakeThePlaceOfStateImages()
    {
        List list;
        for (const char* key : {"F0", "F1", "F2"})
            list.wrapper.AddItem(key, {key});
        list.wrapper.SetStateImage("F0", 3);
        QCOMPARE(list.wrapper.StateImage(1), 3);
        QVERIFY(!list.wrapper.Checked(1));
        list.wrapper.SetCheckBoxes(true);
        QVERIFY(list.wrapper.CheckBoxes());
        list.wrapper.SetStateImage("F0", 4);  // ignored while boxes show
        QCOMPARE(list.wrapper.StateImage(1), 1);
        list.wrapper.SetChecked(2, true);
        QCOMPARE(list.wrapper.StateImage("F1"), 2);
        QVERIFY(list.view.model()->setData(list.view.model()->index(2, 0), Qt::Checked, Qt::CheckStateRole));
        list.wrapper.InvertCheckboxes();
        QCOMPARE((std::vector<bool>{list.wrapper.Checked(1), list.wrapper.Checked(2), list.wrapper.Checked(3)}),
                 (std::vector<bool>{true, false, false}));
        list.wrapper.CheckAll(true);
        QVERIFY(list.wrapper.Checked(2) && list.wrapper.Checked(3));
        list.wrapper.SetCheckBoxes(false);
        QCOMPARE(list.wrapper.StateImage(1) + list.wrapper.StateImage(2) + list.wrapper.StateImage(3), 0);
        list.wrapper.InvertCheckboxes();
        QCOMPARE(list.wrapper.StateImage(1), 0);
        list.wrapper.SetStateImage(1, 5);
        QCOMPARE(list.wrapper.StateImage("F0"), 5);
    }

    void stateImagesAreDrawnBeforeTheName()
    {
        List list;
        list.wrapper.AddItem("F0", {"newer on the left"});
        list.wrapper.SetStateImage("F0", 3);
        list.view.resize(300, 100);
        list.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list.view));
        const QRect cell = list.view.visualRect(list.view.model()->index(0, 0));
        const auto blueIn = [&list, &cell] {  // the arrow of "left is newer"
            const QImage shot = list.view.viewport()->grab(QRect(cell.topLeft(), QSize(16, cell.height()))).toImage();
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    if (shot.pixelColor(x, y).blue() > 150 && shot.pixelColor(x, y).red() < 60)
                        return true;
            return false;
        };
        QVERIFY(blueIn());
        list.wrapper.SetCheckBoxes(true);
        QVERIFY(!blueIn());
    }

    void rowColoursAreKeptByKeyAndDrawnOnceEnabled()
    {
        List list;
        list.wrapper.SetState("F1", {0x000000FF, 0x00FF0000});  // before the row exists
        list.wrapper.AddItem("F0", {"plain"});
        list.wrapper.AddItem("F1", {"placeholder"});
        QCOMPARE(list.wrapper.IndexOfKey("F1"), 2);
        const QModelIndex coloured = list.view.model()->index(1, 0);
        QVERIFY(!coloured.data(Qt::ForegroundRole).isValid());
        list.wrapper.EnableItemColoring();
        QCOMPARE(coloured.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        QCOMPARE(coloured.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::blue));
        QVERIFY(!list.view.model()->index(0, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(!list.wrapper.State("F0"));
        list.wrapper.RemoveState("F0");
        list.wrapper.RemoveItem("F1");
        QCOMPARE(list.wrapper.State("F1")->BackColor, 0x00FF0000u);
        list.wrapper.Clear();
        QVERIFY(!list.wrapper.State("F1"));
        QCOMPARE(list.wrapper.Count(), 0);
    }
};

QTEST_MAIN(ListViewTest)
#include "ListViewTest.moc"
