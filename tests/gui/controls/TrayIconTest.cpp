// TrayIcon: the tip cut to its field, the activations turned into mouse
// message numbers, Add/Delete with the write-only Icon and Tip, and a window
// hidden only behind an icon that shows. The tests that need a notification
// area run where the desktop has one; the offscreen platform has none.
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

    static bool NoNotificationArea() { return !QSystemTrayIcon::isSystemTrayAvailable(); }

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
        // The tip handed to the notification area, shown or waiting for one.
        TrayIcon tray;
        const QString tip = QString(70, QLatin1Char('x'));
        tray.Add(Icon(Qt::red), tip);
        QCOMPARE(Tray(tray)->toolTip(), QString(63, QLatin1Char('x')));

        tray.SetTip(QStringLiteral("Velloran"));
        QCOMPARE(Tray(tray)->toolTip(), QStringLiteral("Velloran"));

        // 62 letters and a character outside the basic plane: no half pair.
        const QString wide = QString(62, QLatin1Char('a')) + QString::fromUcs4(U"\U0001F600") + QStringLiteral("b");
        tray.SetTip(wide);
        QCOMPARE(Tray(tray)->toolTip(), QString(62, QLatin1Char('a')));
        tray.SetTip(QString(63, QLatin1Char('c')));
        QCOMPARE(Tray(tray)->toolTip().size(), 63);
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

    // Without a notification area nothing is reported added, no window is
    // hidden, and the icon waits with its tip for an area to come up.
    void withoutANotificationAreaNothingIsAddedOrHidden()
    {
        if (!NoNotificationArea())
            QSKIP("this desktop has a notification area");
        QWidget window;
        window.show();
        TrayIcon tray;
        QVERIFY(!tray.Add(Icon(Qt::red), QStringLiteral("tip")));
        QVERIFY(!tray.Added());
        QVERIFY(!Tray(tray)->isVisible());
        QCOMPARE(tray.ShownTip(), QString());
        tray.SetTip(QStringLiteral("new tip"));
        QVERIFY(!tray.Added());
        QVERIFY(!tray.HideWindow(&window));
        QVERIFY(window.isVisible());
    }

    // A hidden window lives behind the icon; removing the icon brings it back.
    void hiddenWindowComesBackWhenTheIconGoes()
    {
        if (NoNotificationArea())
            QSKIP("needs a notification area");
        QWidget window;
        window.show();
        TrayIcon tray;
        QVERIFY(!tray.HideWindow(&window));
        QVERIFY(tray.Add(Icon(Qt::red), QStringLiteral("tip")));
        QVERIFY(tray.HideWindow(&window));
        QVERIFY(!window.isVisible());
        tray.Delete();
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
    }

    void addShowsAndDeleteRemoves()
    {
        if (NoNotificationArea())
            QSKIP("needs a notification area");
        TrayIcon tray;
        QVERIFY(!tray.Added());
        QVERIFY(tray.Add(Icon(Qt::red), QStringLiteral("tip")));
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
        QCOMPARE(Tray(tray)->toolTip(), QStringLiteral("again"));
    }

    void hiddenIconIsAddedAgainOnTheNextWrite()
    {
        // The notification area dropped the icon (a restarted panel).
        if (NoNotificationArea())
            QSKIP("needs a notification area");
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
