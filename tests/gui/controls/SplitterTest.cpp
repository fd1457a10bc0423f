// Splitter: clamping and the Moved values, turning, the resize push-back,
// dragging with the corridor and snap-back, and its stored properties.
#include "controls/OleColor.h"
#include "controls/PropertyBag.h"
#include "controls/Splitter.h"
#include "controls/Twips.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using quorvantell::OleColor;
using quorvantell::PropertyBag;
using quorvantell::Splitter;
using quorvantell::Twips;

class SplitterTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Splitter> m_splitter;

    // A splitter of the given size in twips (a whole number of pixels).
    Splitter& Make(double widthTwips, double heightTwips)
    {
        m_splitter = std::make_unique<Splitter>();
        m_splitter->resize(Twips::ToPixels(widthTwips, heightTwips));
        m_splitter->show();  // a hidden widget hears of its size only when shown
        return *m_splitter;
    }

    static int ExtentX(const Splitter& s) { return int(Twips::FromPixelsX(s.width(), &s)); }
    static int ExtentY(const Splitter& s) { return int(Twips::FromPixelsY(s.height(), &s)); }

    static void CompareMoved(const QList<QVariant>& args, int position, int rightPos, int rightSize)
    {
        QCOMPARE(args.at(0).toInt(), position);
        QCOMPARE(args.at(1).toInt(), rightPos);
        QCOMPARE(args.at(2).toInt(), rightSize);
    }

    // A point of the control, given in twips, as the bar's own coordinates.
    QPoint OnBar(double xTwips, double yTwips) const
    {
        return QPoint(Twips::ToPixelsX(xTwips), Twips::ToPixelsY(yTwips)) - m_splitter->Bar()->pos();
    }

private slots:
    void init() { QCOMPARE(Twips::PerPixelX(), 15.0); }
    void cleanup() { m_splitter.reset(); }

    void newControlHasItsDefaults()
    {
        Splitter& s = Make(6000, 3000);
        QCOMPARE(s.MinMargin(), 700);
        QCOMPARE(s.MaxMargin(), 700);
        QCOMPARE(s.SplitterWidth(), 120);
        QCOMPARE(s.BorderStyle(), 0);
        QVERIFY(!s.Horizontal());
        QCOMPARE(s.Bar()->width(), 8);
        QCOMPARE(s.Bar()->height(), s.height());
    }

    void positionIsClampedBetweenTheMargins()
    {
        Splitter& s = Make(6000, 3000);
        QSignalSpy moved(&s, &Splitter::Moved);

        s.SetPosition(0);
        QCOMPARE(s.Position(), 700);
        QCOMPARE(moved.count(), 1);
        CompareMoved(moved.takeFirst(), 700, 820, ExtentX(s) - 820);
        QCOMPARE(s.Bar()->x(), Twips::ToPixelsX(700));

        s.SetPosition(99999);  // limit = 6000 - 120 - 700
        QCOMPARE(s.Position(), 5180);
        CompareMoved(moved.takeFirst(), 5180, 5300, 700);

        s.SetPosition(2400);
        QCOMPARE(s.Position(), 2400);
        CompareMoved(moved.takeFirst(), 2400, 2520, 3480);
    }

    void limitBelowMinMarginStillGivesMinMarginForSmallValues()
    {
        Splitter& s = Make(1200, 600);  // limit 1200 - 120 - 700 = 380 < 700
        s.SetPosition(0);
        QCOMPARE(s.Position(), 700);
        s.SetPosition(1000);
        QCOMPARE(s.Position(), 380);
    }

    void onlyTheBarIsSeenAndTakesTheMouse()
    {
        Splitter& s = Make(6000, 3000);
        s.SetPosition(1500);
        QCOMPARE(s.mask(), QRegion(100, 0, 8, 200));
        s.SetHorizontal(true);
        QCOMPARE(s.mask(), QRegion(0, 100, 400, 8));
        QWidget host;
        host.resize(400, 200);
        s.setParent(&host);
        host.show();
        QCOMPARE(host.childAt(50, 50), nullptr);
        QCOMPARE(host.childAt(50, 104), s.Bar());
        s.setParent(nullptr);  // the test still owns it
    }

    void marginWritesWaitForTheNextMove()
    {
        Splitter& s = Make(6000, 3000);
        s.SetPosition(1000);
        QSignalSpy moved(&s, &Splitter::Moved);
        s.SetMinMargin(1500);
        s.SetMaxMargin(4000);
        QCOMPARE(s.Position(), 1000);
        QCOMPARE(moved.count(), 0);
        s.SetPosition(1000);
        QCOMPARE(s.Position(), 1500);

        s.SetSplitterWidth(300);  // thickness changes at once, nothing moves
        QCOMPARE(s.Bar()->width(), 20);
        QCOMPARE(s.Position(), 1500);
    }

    void shrinkingPushesTheBarBackAndGrowingIsSilent()
    {
        Splitter& s = Make(6000, 3000);
        s.SetPosition(5000);
        QSignalSpy moved(&s, &Splitter::Moved);

        s.resize(Twips::ToPixels(4500, 3000));  // limit 4500 - 820 = 3680
        QCOMPARE(moved.count(), 1);
        CompareMoved(moved.takeFirst(), 3680, 3800, 700);
        QCOMPARE(s.Position(), 3680);

        s.resize(Twips::ToPixels(9000, 3000));
        s.resize(Twips::ToPixels(9000, 4500));
        QCOMPARE(moved.count(), 0);
        QCOMPARE(s.Position(), 3680);
        QCOMPARE(s.Bar()->height(), s.height());  // the long side follows

        s.resize(Twips::ToPixels(4530, 3000));  // still room: no push-back
        QCOMPARE(moved.count(), 0);
    }

    void horizontalBarMovesUpAndDownAndReportsFromTheHeight()
    {
        Splitter& s = Make(6000, 3000);
        s.SetPosition(1500);
        QSignalSpy moved(&s, &Splitter::Moved);

        s.SetHorizontal(true);
        QCOMPARE(moved.count(), 0);  // 1500 fits below 3000 - 820
        QCOMPARE(s.Bar()->geometry(), QRect(0, 100, s.width(), 8));

        s.SetPosition(0);
        CompareMoved(moved.takeFirst(), 700, 820, ExtentY(s) - 820);
        s.SetPosition(5000);
        CompareMoved(moved.takeFirst(), 2180, 2300, 700);

        s.SetHorizontal(false);
        QCOMPARE(s.Bar()->geometry(), QRect(Twips::ToPixelsX(2180), 0, 8, s.height()));
    }

    void turningPushesBackWhenTheOtherAxisIsShorter()
    {
        Splitter& s = Make(6000, 1500);
        s.SetPosition(4000);
        QSignalSpy moved(&s, &Splitter::Moved);
        s.SetHorizontal(true);  // limit 1500 - 820 = 680
        QCOMPARE(moved.count(), 1);
        CompareMoved(moved.takeFirst(), 680, 800, 700);
    }

    // The drags below use whole pixels (multiples of 15 twips), so that the
    // bar sits exactly where its offset says.
    void draggingFollowsTheMouseAndReportsAtTheEnd()
    {
        Splitter& s = Make(6000, 3000);
        s.SetMinMargin(705);
        s.SetPosition(1995);
        QSignalSpy moved(&s, &Splitter::Moved);
        QWidget* bar = s.Bar();
        const QColor face = bar->palette().color(QPalette::Window);

        QTest::mousePress(bar, Qt::LeftButton, {}, OnBar(2055, 1500));
        QVERIFY(s.Dragging());
        QCOMPARE(bar->palette().color(QPalette::Window), OleColor::ToQColor(OleColor::kButtonShadow));
        QVERIFY(face != OleColor::ToQColor(OleColor::kButtonShadow));

        QTest::mouseMove(bar, OnBar(2505, 1500));
        QCOMPARE(s.Position(), 2445);
        QTest::mouseMove(bar, OnBar(60, 1500));  // clamped, no event while dragging
        QCOMPARE(s.Position(), 705);
        QCOMPARE(moved.count(), 0);

        QTest::mouseMove(bar, OnBar(3045, 1200));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, OnBar(3045, 1200));
        QVERIFY(!s.Dragging());
        QCOMPARE(bar->palette().color(QPalette::Window), face);
        QCOMPARE(moved.count(), 1);
        CompareMoved(moved.takeFirst(), 2985, 3105, 2895);
    }

    void draggingFarBesideTheBarSnapsBackUntilTheMouseReturns()
    {
        Splitter& s = Make(6000, 3000);
        s.SetPosition(1995);
        QWidget* bar = s.Bar();
        QTest::mousePress(bar, Qt::LeftButton, {}, OnBar(1995, 1500));
        QTest::mouseMove(bar, OnBar(2985, 1500));
        QCOMPARE(s.Position(), 2985);

        // The corridor runs from -2000 to 3000 + 2000 across the bar.
        QTest::mouseMove(bar, OnBar(3300, 4995));
        QCOMPARE(s.Position(), 3300);
        QTest::mouseMove(bar, OnBar(3300, 5010));
        QCOMPARE(s.Position(), 1995);
        QTest::mouseMove(bar, OnBar(4005, -2010));
        QCOMPARE(s.Position(), 1995);

        QTest::mouseMove(bar, OnBar(4005, 2010));
        QCOMPARE(s.Position(), 4005);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, OnBar(4005, 2010));
        QCOMPARE(s.Position(), 4005);
    }

    void onlyTheLeftButtonDrags()
    {
        Splitter& s = Make(6000, 3000);
        s.SetPosition(2000);
        QWidget* bar = s.Bar();
        QTest::mousePress(bar, Qt::RightButton, {}, OnBar(2000, 1500));
        QVERIFY(!s.Dragging());
        QTest::mouseMove(bar, OnBar(3000, 1500));
        QCOMPARE(s.Position(), 2000);
    }

    void draggingAHorizontalBarUsesTheVerticalAxis()
    {
        Splitter& s = Make(6000, 3000);
        s.SetHorizontal(true);
        s.SetPosition(990);
        QSignalSpy moved(&s, &Splitter::Moved);
        QWidget* bar = s.Bar();
        QTest::mousePress(bar, Qt::LeftButton, {}, OnBar(3000, 990));
        QTest::mouseMove(bar, OnBar(3000, 1590));
        QCOMPARE(s.Position(), 1590);
        QTest::mouseMove(bar, OnBar(8100, 1905));  // beyond the corridor at the right
        QCOMPARE(s.Position(), 990);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, OnBar(8100, 1905));
        CompareMoved(moved.takeFirst(), 990, 1110, 1890);
    }

    void storedPropertiesKeepTheirNamesAndOrder()
    {
        Splitter& s = Make(6000, 3000);
        s.SetBorderStyle(1);
        s.SetMinMargin(300);
        s.SetMaxMargin(400);
        s.SetSplitterWidth(90);
        s.SetPosition(1600);
        s.SetHorizontal(true);
        s.SetEnabled(false);
        PropertyBag bag;
        s.WriteProperties(bag);
        QCOMPARE(bag.Names(), QStringList({"BorderStyle", "Position", "Horiz", "SplitterWidth", "MinMargin",
                                           "MaxMargin", "Enabled"}));
        QCOMPARE(bag.ReadProperty("Horiz").toBool(), true);
        QCOMPARE(bag.ReadProperty("Position").toInt(), 1600);

        PropertyBag defaults;
        Make(6000, 3000).WriteProperties(defaults);
        QCOMPARE(defaults.Names(), QStringList());  // a default is not stored
    }

    void readingAppliesTheMarginsBeforeThePosition()
    {
        PropertyBag bag;
        bag.WriteProperty("Position", 300);
        bag.WriteProperty("MinMargin", 200);
        bag.WriteProperty("MaxMargin", 100);
        bag.WriteProperty("SplitterWidth", 150);
        bag.WriteProperty("BorderStyle", 1);
        Splitter& s = Make(6000, 3000);
        QSignalSpy moved(&s, &Splitter::Moved);
        s.ReadProperties(bag);
        QCOMPARE(s.Position(), 300);
        QCOMPARE(s.MaxMargin(), 100);
        QCOMPARE(s.SplitterWidth(), 150);
        QCOMPARE(s.BorderStyle(), 1);
        QVERIFY(s.Enabled());
        QCOMPARE(moved.count(), 1);
        CompareMoved(moved.takeFirst(), 300, 450, 5550);

        Splitter& fresh = Make(6000, 3000);
        fresh.ReadProperties(PropertyBag());
        QCOMPARE(fresh.Position(), 1000);
    }

    void disabledSplitterIgnoresTheMouse()
    {
        Splitter& s = Make(6000, 3000);
        s.SetPosition(2000);
        QSignalSpy changed(&s, &Splitter::PropertyChanged);
        s.SetEnabled(false);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("Enabled"));
        QTest::mousePress(s.Bar(), Qt::LeftButton, {}, OnBar(2000, 1500));
        QVERIFY(!s.Dragging());
    }
};

QTEST_MAIN(SplitterTest)
#include "SplitterTest.moc"
