// PropertyBag and Twips, the two helpers every control stands on.
#include "controls/PropertyBag.h"
#include "controls/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

using quorvantell::PropertyBag;
using quorvantell::Twips;

class PropertyBagTest : public QObject {
    Q_OBJECT

private slots:
    void keepsTheWritingOrderAndLeavesDefaultsOut()
    {
        PropertyBag bag;
        bag.WriteProperty("Caption", QStringLiteral("OK"), QString());
        bag.WriteProperty("CapAlign", 0, 0);
        bag.WriteProperty("Shape", 3, 0);
        bag.WriteProperty("cFore", 255u, 0x80000012u);
        QCOMPARE(bag.Names(), QStringList({"Caption", "Shape", "cFore"}));
        QCOMPARE(bag.ReadProperty("CapAlign", 2).toInt(), 2);
        QCOMPARE(bag.ReadProperty("cFore", 0u).toUInt(), 255u);
    }

    void namesCompareWithoutCase()
    {
        PropertyBag bag;
        bag.WriteProperty("LockHover", 2, 0);
        QVERIFY(bag.Contains("lockhover"));
        QCOMPARE(bag.ReadProperty("LOCKHOVER", 0).toInt(), 2);
        bag.WriteProperty("lockHover", 3, 0);  // same entry, same place
        QCOMPARE(bag.Names(), QStringList({"LockHover"}));
        QCOMPARE(bag.ReadProperty("LockHover").toInt(), 3);
    }

    void writingTheDefaultRemovesAStoredValue()
    {
        PropertyBag bag;
        bag.WriteProperty("A", 1, 0);
        bag.WriteProperty("B", 2, 0);
        bag.WriteProperty("A", 0, 0);
        QCOMPARE(bag.Names(), QStringList({"B"}));
        QVERIFY(!bag.ReadProperty("A").isValid());
        bag.Clear();
        QVERIFY(bag.Names().isEmpty());
    }

    void twipsFollowTheLogicalDpi()
    {
        const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
        QCOMPARE(Twips::PerPixelX(), 1440.0 / dpi);
        QCOMPARE(Twips::ToPixelsX(1440), qRound(dpi));
        QCOMPARE(Twips::WholePerPixelX(), qMax(1, qRound(1440.0 / dpi)));
        QCOMPARE(Twips::FromPixelsX(Twips::ToPixelsX(3000)), Twips::ToPixelsX(3000) * Twips::PerPixelX());
        QWidget widget;
        QCOMPARE(Twips::PerPixelY(&widget), 1440.0 / widget.screen()->logicalDotsPerInchY());
        // The usual screen: 15 twips per pixel, rounded to the nearest pixel.
        if (dpi == 96.0) {
            QCOMPARE(Twips::ToPixelsX(700), 47);
            QCOMPARE(Twips::ToPixelsY(7), 0);
            QCOMPARE(Twips::ToPixels(300, 450), QSize(20, 30));
        }
    }
};

QTEST_MAIN(PropertyBagTest)
#include "PropertyBagTest.moc"
