// TrayIcon: the tip cut to its field, the activations turned into mouse
// message numbers, and Add/Delete with the write-only Icon and Tip.
#include "controls/TrayIcon.h"
#include "controls/Twips.h"

#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

using quorvantell::TrayIcon;
using Button = quorvantell::TrayIcon::eTrayButton;

class TrayIconTest : public QObject {
    Q_OBJECT

private:
    static QIcon Icon(Qt::GlobalColor colour)
    {
        QPixmap pixmap(16, 16);
        pixmap.fill(colour);
        return QIcon(pixmap);
    }

    static QSystemTrayIcon* Tray(TrayIcon& control) { return control.findChild<QSystemTrayIcon*>(); }

    static QList<int> Clicks(const QSignalSpy& spy)
    {
        QList<int> values;
        for (const QList<QVariant>& args : spy)
            values.append(int(args.at(0).value<Button>()));
        return values;
    }

private slots:
    void keepsItsOwnSizeAndStaysHidden()
    {
        QWidget form;
        auto* tray = new TrayIcon(&form);
        tray->resize(300, 40);
        QCOMPARE(tray->size(), quorvantell::Twips::ToPixels(300, 300));
        form.show();
        QVERIFY(!tray->isVisible());
    }

    void longTipIsCutTo63Characters()
    {
        TrayIcon tray;
        const QString tip = QString(70, QLatin1Char('x'));
        tray.Add(Icon(Qt::red), tip);
        QCOMPARE(tray.ShownTip(), QString(63, QLatin1Char('x')));

        tray.SetTip(QStringLiteral("Velloran"));
        QCOMPARE(tray.ShownTip(), QStringLiteral("Velloran"));

        // 62 letters and a character outside the basic plane: no half pair.
        const QString wide = QString(62, QLatin1Char('a')) + QString::fromUcs4(U"\U0001F600") + QStringLiteral("b");
        tray.SetTip(wide);
        QCOMPARE(tray.ShownTip(), QString(62, QLatin1Char('a')));
        tray.SetTip(QString(63, QLatin1Char('c')));
        QCOMPARE(tray.ShownTip().size(), 63);
    }

    void activationsBecomeMouseMessages()
    {
        TrayIcon tray;
        tray.Add(Icon(Qt::red), QStringLiteral("tip"));
        QSignalSpy clicks(&tray, &TrayIcon::Click);
        QSystemTrayIcon* icon = Tray(tray);
        QVERIFY(icon);
        emit icon->activated(QSystemTrayIcon::Trigger);
        QCOMPARE(Clicks(clicks), QList<int>({513, 514}));
        clicks.clear();
        emit icon->activated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(Clicks(clicks), QList<int>({515, 514}));
        clicks.clear();
        emit icon->activated(QSystemTrayIcon::Context);
        QCOMPARE(Clicks(clicks), QList<int>({516, 517}));
        clicks.clear();
        emit icon->activated(QSystemTrayIcon::MiddleClick);
        QCOMPARE(Clicks(clicks), QList<int>({519, 520}));
        clicks.clear();
        emit icon->activated(QSystemTrayIcon::Unknown);
        QCOMPARE(clicks.count(), 0);
    }

    void addShowsAndDeleteRemoves()
    {
        TrayIcon tray;
        QVERIFY(!tray.Added());
        tray.Add(Icon(Qt::red), QStringLiteral("tip"));
        QVERIFY(tray.Added());
        QVERIFY(Tray(tray)->isVisible());
        const qint64 red = Tray(tray)->icon().cacheKey();

        tray.SetIcon(Icon(Qt::blue));
        QVERIFY(Tray(tray)->isVisible());
        QVERIFY(Tray(tray)->icon().cacheKey() != red);
        QCOMPARE(tray.ShownTip(), QStringLiteral("tip"));

        tray.Delete();
        QVERIFY(!tray.Added());
        QVERIFY(!Tray(tray)->isVisible());
    }

    void writesAfterDeleteDoNotBringTheIconBack()
    {
        TrayIcon tray;
        tray.SetIcon(Icon(Qt::red));
        tray.SetTip(QStringLiteral("never added"));
        QVERIFY(!tray.Added());
        tray.Add(Icon(Qt::red), QStringLiteral("tip"));
        tray.Delete();
        tray.SetIcon(Icon(Qt::green));
        tray.SetTip(QStringLiteral("later"));
        QVERIFY(!tray.Added());
        QVERIFY(!Tray(tray)->isVisible());

        // The stored values are the ones a later Add starts from.
        tray.Add(Icon(Qt::green), QStringLiteral("again"));
        QCOMPARE(tray.ShownTip(), QStringLiteral("again"));
    }

    void hiddenIconIsAddedAgainOnTheNextWrite()
    {
        // The notification area dropped the icon (a restarted panel).
        TrayIcon tray;
        tray.Add(Icon(Qt::red), QStringLiteral("tip"));
        Tray(tray)->hide();
        tray.SetTip(QStringLiteral("new tip"));
        QVERIFY(Tray(tray)->isVisible());
        QVERIFY(tray.Added());
        QCOMPARE(tray.ShownTip(), QStringLiteral("new tip"));
    }
};

QTEST_MAIN(TrayIconTest)
#include "TrayIconTest.moc"
