// CTreeView and CFolderTreeView: colours that were never set read back as
// the system window and window-text colours, set colours read back and can
// be reset, keys and indexes of the category tree, hot tracking, and folder
// icons drawn transparently on a dark background.
#include "app/views/CFolderTreeView.h"
#include "app/views/CTreeView.h"
#include "app/views/FolderModel.h"
#include "app/views/FolderTreeview.h"
#include "app/views/HotTrackDelegate.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include <optional>

using velloran::CFolderTreeView;
using velloran::CTreeView;
using velloran::FolderTreeview;

namespace {

constexpr uint32_t kDarkBlue = 0x00400000;   // 0x00BBGGRR
constexpr uint32_t kOrange = 0x000080FF;

uint32_t SysColor(uint32_t index)
{
    return quorvantell::ClassLibrary::Shared().General->GetSysColor(index);
}

QTreeWidgetItem* Node(QTreeWidgetItem* parent, const char* key)
{
    auto* item = new QTreeWidgetItem(parent, {QString::fromLatin1(key)});
    CTreeView::SetKey(item, key);
    return item;
}

// Where the icon's opaque pixels sit in the image, if they appear at all.
std::optional<QPoint> FindIcon(const QImage& image, const QImage& icon)
{
    for (int y = 0; y + icon.height() <= image.height(); ++y) {
        for (int x = 0; x + icon.width() <= image.width(); ++x) {
            bool match = true;
            for (int iy = 0; iy < icon.height() && match; ++iy)
                for (int ix = 0; ix < icon.width() && match; ++ix)
                    match = qAlpha(icon.pixel(ix, iy)) != 255 ||
                            image.pixel(x + ix, y + iy) == (icon.pixel(ix, iy) | 0xFF000000u);
            if (match)
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

class ExposedDelegate : public velloran::HotTrackDelegate {
public:
    using HotTrackDelegate::HotTrackDelegate;
    using HotTrackDelegate::initStyleOption;
};

}  // namespace

class TreeWrappersTest : public QObject {
    Q_OBJECT

private slots:
    void treeColoursNeverSetReadAsSystemColours()
    {
        QTreeWidget tree;
        CTreeView wrapper;
        wrapper.Init(&tree);
        QCOMPARE(wrapper.BackColor(), SysColor(5));
        QCOMPARE(wrapper.ForeColor(), SysColor(8));
        wrapper.SetBackColor(kDarkBlue);
        wrapper.SetForeColor(kOrange);
        QCOMPARE(wrapper.BackColor(), kDarkBlue);
        QCOMPARE(wrapper.ForeColor(), kOrange);
        QCOMPARE(tree.palette().color(QPalette::Base), QColor(0, 0, 0x40));
        wrapper.SetBackColor(0xFFFFFFFFu);  // back to the default
        QCOMPARE(wrapper.BackColor(), SysColor(5));
        wrapper.SetForeColor(0x80000000u | 13);  // a system colour, read back as its value
        QCOMPARE(wrapper.ForeColor(), SysColor(13));
    }

    void keysAndIndexesFollowTheShownOrder()
    {
        QTreeWidget tree;
        auto* general = Node(nullptr, "general");
        tree.addTopLevelItem(general);
        Node(general, "colours");
        Node(general, "fonts");
        tree.addTopLevelItem(Node(nullptr, "ftp"));
        CTreeView wrapper;
        wrapper.Init(&tree);
        QCOMPARE(wrapper.IndexOfKey("general"), 1);
        QCOMPARE(wrapper.IndexOfKey("fonts"), 3);
        QCOMPARE(wrapper.IndexOfKey("ftp"), 4);
        QCOMPARE(wrapper.IndexOfKey("nothing"), 0);
        QCOMPARE(wrapper.KeyOfIndex(2), std::string("colours"));
        QCOMPARE(wrapper.KeyOfIndex(5), std::string());
        QCOMPARE(wrapper.KeyOfIndex(0), std::string());
        QVERIFY(wrapper.ReplaceKey("fonts", "typefaces"));
        QCOMPARE(wrapper.KeyOfIndex(3), std::string("typefaces"));
        QVERIFY(!wrapper.ReplaceKey("ftp", "general"));  // keys stay unique
        QVERIFY(!wrapper.ReplaceKey("fonts", "x"));
        QCOMPARE(wrapper.IndexOfKey("ftp"), 4);
    }

    void hoveredItemIsUnderlinedInTheHotTrackingColour()
    {
        QTreeWidget tree;
        tree.addTopLevelItem(Node(nullptr, "a"));
        ExposedDelegate delegate;
        QStyleOptionViewItem option;
        option.initFrom(&tree);
        option.state |= QStyle::State_MouseOver;
        delegate.initStyleOption(&option, tree.model()->index(0, 0));
        QVERIFY(option.font.underline());
        QCOMPARE(option.palette.color(QPalette::Text).rgb() & 0xFFFFFFu,
                 QColor(SysColor(26) & 0xFF, (SysColor(26) >> 8) & 0xFF, SysColor(26) >> 16).rgb() & 0xFFFFFFu);
        QStyleOptionViewItem plain;
        plain.initFrom(&tree);
        delegate.initStyleOption(&plain, tree.model()->index(0, 0));
        QVERIFY(!plain.font.underline());
    }

    void folderTreeColoursGoToItsInnerTree()
    {
        FolderTreeview folders;
        CFolderTreeView wrapper;
        wrapper.Init(&folders);
        QCOMPARE(wrapper.BackColor(), SysColor(5));
        QCOMPARE(wrapper.ForeColor(), SysColor(8));
        wrapper.SetBackColor(kDarkBlue);
        wrapper.SetForeColor(kOrange);
        QCOMPARE(wrapper.BackColor(), kDarkBlue);
        QCOMPARE(folders.TreeHWnd()->palette().color(QPalette::Text), QColor(0xFF, 0x80, 0));
    }

    void folderIconsStayTransparentOnADarkBackground()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("one/two"));
        QVERIFY(QDir(dir.path()).mkpath("three"));
        FolderTreeview folders;
        folders.resize(300, 300);
        CFolderTreeView wrapper;
        wrapper.Init(&folders);
        wrapper.SetBackColor(kDarkBlue);
        folders.show();
        QVERIFY(QTest::qWaitForWindowExposed(&folders));
        folders.SetPath(QFile::encodeName(dir.path() + "/one/two").toStdString());
        QTreeView* tree = folders.TreeHWnd();
        auto* model = static_cast<velloran::FolderModel*>(tree->model());
        const QModelIndex three = model->index(QFile::encodeName(dir.path() + "/three"));
        QTRY_VERIFY(tree->visualRect(three).isValid());
        const QRect row = tree->visualRect(three);

        const QImage image = tree->viewport()->grab(row).toImage().convertToFormat(QImage::Format_RGB32);
        const QSize size = tree->iconSize().isValid() ? tree->iconSize() : QSize(16, 16);
        const QImage icon = three.data(Qt::DecorationRole).value<QIcon>().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        const std::optional<QPoint> at = FindIcon(image, icon);
        QVERIFY2(at.has_value(), "the folder icon was not drawn");
        int transparent = 0;
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x) {
                if (qAlpha(icon.pixel(x, y)) != 0)
                    continue;
                ++transparent;
                QCOMPARE(QColor(image.pixel(at->x() + x, at->y() + y)), QColor(0, 0, 0x40));
            }
        }
        QVERIFY(transparent > 0);
    }
};

QTEST_MAIN(TreeWrappersTest)
#include "TreeWrappersTest.moc"
