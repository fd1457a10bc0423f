// CFormUtils on the offscreen screen (800 x 800 pixels, 15 twips each):
// dragging, snapping to the work area and to other program windows,
// remembered geometry with the keep-visible rule, placement beside a parent,
// the window list, and the always-on-top switch.
#include "app/views/CFormUtils.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "controls/Twips.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <fstream>
#include <memory>

using quorvantell::ClassLibrary;
using quorvantell::eRegBaseKey;
using velloran::CFormUtils;

namespace {

constexpr const char* kWindowKey = "Software\\Quorvantell\\Velloran\\e\\Window";
constexpr int kTwips = 15;  // per pixel on the offscreen screen

int32_t Stored(const std::string& value)
{
    return ClassLibrary::Shared().Registry->GetKeyWord(eRegBaseKey::HKCU, kWindowKey, value, -123456);
}

struct Window {
    std::unique_ptr<QWidget> widget = std::make_unique<QWidget>();
    CFormUtils form;

    // Geometry: the outer frame's corner and the client size.
    Window(QRect geometry)
    {
        widget->resize(geometry.size());
        form.Init(widget.get());
        widget->show();
        widget->move(geometry.topLeft());
    }
    ~Window() { form.Terminate(); }

    // A drag from (0, 0) to (dx, dy) pixels in one step.
    void Drag(int dx, int dy)
    {
        form.MoveS(0, 0);
        form.Move(dx * kTwips, dy * kTwips);
        form.MoveE();
    }

    QPoint Position() const { return widget->frameGeometry().topLeft(); }
    int OuterWidth() const { return widget->frameGeometry().width(); }
    int OuterHeight() const { return widget->frameGeometry().height(); }
};

}  // namespace

class FormUtilsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(quorvantell::Twips::PerPixelX(), 15.0);
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 800, 800));
    }

    void init()
    {
        CFormUtils::SetUseEasyMove(true);
        CFormUtils::SetSnapToEdges(true);
        CFormUtils::SetSnapDistance(12);
        ClassLibrary::Shared().Registry->DeleteKey(eRegBaseKey::HKCU, kWindowKey);
    }

    void dragMovesTheWindowAndRemembersItsPlace()
    {
        Window w(QRect(100, 100, 200, 150));
        w.Drag(40, 30);
        QCOMPARE(w.Position(), QPoint(140, 130));
        QCOMPARE(w.form.dLeft, 140 * kTwips);
        QCOMPARE(w.form.dTop, 130 * kTwips);
    }

    void noDragWhenMinimisedMaximisedOrSwitchedOff()
    {
        Window w(QRect(100, 100, 200, 150));
        w.widget->showMinimized();
        w.Drag(40, 30);
        w.widget->showMaximized();
        const QPoint maximised = w.Position();
        w.Drag(40, 30);
        QCOMPARE(w.Position(), maximised);
        w.widget->showNormal();
        w.widget->move(100, 100);
        CFormUtils::SetUseEasyMove(false);
        w.Drag(40, 30);
        QCOMPARE(w.Position(), QPoint(100, 100));
    }

    void snapsToTheWorkAreaWithinElevenPixelsButNotTwelve()
    {
        Window w(QRect(100, 100, 200, 150));
        w.Drag(-89, 0);  // 11 pixels from the left edge
        QCOMPARE(w.Position(), QPoint(0, 100));
        w.widget->move(100, 100);
        w.Drag(-88, 0);  // 12 pixels
        QCOMPARE(w.Position(), QPoint(12, 100));
        w.widget->move(100, 100);
        w.Drag(800 - 11 - w.OuterWidth() - 100, 0);  // right edge 11 pixels from the screen's right
        QCOMPARE(w.Position(), QPoint(800 - w.OuterWidth(), 100));
        CFormUtils::SetSnapToEdges(false);
        w.widget->move(100, 100);
        w.Drag(-95, 0);
        QCOMPARE(w.Position(), QPoint(5, 100));
    }

    void docksToAnotherProgramWindowAndAlignsTops()
    {
        Window a(QRect(100, 100, 200, 150));
        Window b(QRect(400, 300, 200, 150));
        const int aRight = 100 + a.OuterWidth();
        b.Drag(aRight + 5 - 400, -192);  // left edge 5 px right of a's right edge, top 8 px below a's
        QCOMPARE(b.Position(), QPoint(aRight, 100));
        // A hidden window is no target.
        a.widget->hide();
        b.widget->move(400, 300);
        b.Drag(aRight + 5 - 400, -192);
        QCOMPARE(b.Position(), QPoint(aRight + 5, 108));
    }

    void windowListKeepsRegistrationOrderWithTheLastTakingAGap()
    {
        Window a(QRect(0, 0, 50, 50)), b(QRect(0, 0, 50, 50)), c(QRect(0, 0, 50, 50));
        QCOMPARE(CFormUtils::Windows(), (std::vector<QWidget*>{a.widget.get(), b.widget.get(), c.widget.get()}));
        a.form.Terminate();
        QCOMPARE(CFormUtils::Windows(), (std::vector<QWidget*>{c.widget.get(), b.widget.get()}));
    }

    void storedOffScreenWindowComesBack200TwipsInside()
    {
        auto& registry = *ClassLibrary::Shared().Registry;
        registry.SetKeyWord(eRegBaseKey::HKCU, kWindowKey, "MainLeft", -50000);
        registry.SetKeyWord(eRegBaseKey::HKCU, kWindowKey, "MainTop", 80000);
        QWidget widget;
        CFormUtils form;
        form.Init(&widget);
        form.ReadWindowSettings("Main", 1500, 1500, 9000, 6000);
        QCOMPARE(form.dLeft, 200);                       // area left + 200
        QCOMPARE(form.dTop, 800 * kTwips - 6000 - 200);  // area bottom - outer height - 200
        QCOMPARE(widget.size(), QSize(600, 400));
        QCOMPARE(widget.pos(), QPoint(13, 387));  // 200 and 5800 twips, rounded to pixels
        form.Terminate();
    }

    void defaultsApplyWhenNothingIsStored()
    {
        QWidget widget;
        CFormUtils form;
        form.Init(&widget);
        form.ReadWindowSettings("Details", 1500, 1500, 7500, 4000);
        QCOMPARE(widget.geometry(), QRect(100, 100, 500, 267));
        QCOMPARE(std::vector<int32_t>({form.dLeft, form.dTop, form.dScaleWidth, form.dScaleHeight}),
                 std::vector<int32_t>({1500, 1500, 7500, 4000}));
        form.Terminate();
    }

    void maximisedWindowStoresItsLastNormalGeometry()
    {
        {
            Window w(QRect(0, 0, 10, 10));
            w.form.ReadWindowSettings("ErrLog", 1500, 1500, 3800, 4500);
            w.widget->showMaximized();
            QTRY_VERIFY(w.widget->isMaximized());
            w.form.SaveWindowSettings(true);
        }
        QCOMPARE(Stored("ErrLogState"), 2);
        QCOMPARE(Stored("ErrLogLeft"), 1500);
        QCOMPARE(Stored("ErrLogTop"), 1500);
        QCOMPARE(Stored("ErrLogScaleWidth"), 3800);
        QCOMPARE(Stored("ErrLogScaleHeight"), 4500);

        Window again(QRect(0, 0, 10, 10));
        again.form.ReadWindowSettings("ErrLog", 0, 0, 100, 100);
        QVERIFY(again.widget->windowState().testFlag(Qt::WindowMaximized));
    }

    void normalWindowStoresWhereItIsNow()
    {
        Window w(QRect(0, 0, 10, 10));
        w.form.ReadWindowSettings("Sync", 0, 0, 9480, 1695);
        w.widget->resize(300, 200);
        w.widget->move(120, 90);
        w.form.SaveWindowSettings(false);
        QCOMPARE(Stored("SyncState"), 0);
        QCOMPARE(Stored("SyncLeft"), 120 * kTwips);
        QCOMPARE(Stored("SyncTop"), 90 * kTwips);
        QCOMPARE(Stored("SyncScaleWidth"), 300 * kTwips);
        QCOMPARE(Stored("SyncScaleHeight"), 200 * kTwips);
    }

    void placedBesideTheParentRightIfThereIsRoomElseLeft()
    {
        Window parent(QRect(100, 100, 200, 150));
        Window child(QRect(0, 0, 150, 100));
        const int top = 100 + (parent.OuterHeight() - child.OuterHeight()) / 2;
        child.form.SetLeftRightOfParent(parent.widget.get());
        QCOMPARE(child.Position(), QPoint(100 + parent.OuterWidth(), top));
        parent.widget->move(500, 100);  // no room on the right any more
        child.form.SetLeftRightOfParent(parent.widget.get());
        QCOMPARE(child.Position(), QPoint(500 - child.OuterWidth(), top));
    }

    void backgroundSurfacesForwardTheLeftButtonOnly()
    {
        Window w(QRect(100, 100, 200, 150));
        auto* surface = new QLabel(QStringLiteral("background"), w.widget.get());
        surface->setGeometry(0, 0, 200, 150);
        surface->show();
        w.form.AddDragSurface(surface);
        QTest::mousePress(surface, Qt::RightButton, {}, QPoint(10, 10));
        QTest::mouseMove(surface, QPoint(40, 30));
        QTest::mouseRelease(surface, Qt::RightButton, {}, QPoint(40, 30));
        QCOMPARE(w.Position(), QPoint(100, 100));
        QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(surface, QPoint(40, 30));
        QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(40, 30));
        QCOMPARE(w.Position(), QPoint(130, 120));
    }

    void onTopSwitchKeepsTheWindowWhereItIs()
    {
        Window w(QRect(100, 100, 200, 150));
        w.form.ZOnTop(true);
        QVERIFY(w.widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w.widget->isVisible());
        QCOMPARE(w.Position(), QPoint(100, 100));
        QCOMPARE(w.widget->size(), QSize(200, 150));
        w.form.ZOnTop(false);
        QVERIFY(!w.widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w.widget->isVisible());
    }

    void attributesOfFilesAndFolders()
    {
        QTemporaryDir dir;
        const std::string root = QFile::encodeName(dir.path()).toStdString();
        std::ofstream(root + "/.hidden") << "x";
        std::ofstream(root + "/locked") << "x";
        chmod((root + "/locked").c_str(), 0444);
        CFormUtils form;
        QCOMPARE(form.GetAttr(root), 0x10);
        QCOMPARE(form.GetAttr(root + "/.hidden"), 0x20 | 0x2);
        QCOMPARE(form.GetAttr(root + "/locked"), 0x20 | 0x1);
        QCOMPARE(form.GetAttr(root + "/missing"), -1);
    }
};

QTEST_MAIN(FormUtilsTest)
#include "FormUtilsTest.moc"
