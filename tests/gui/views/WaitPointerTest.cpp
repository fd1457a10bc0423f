// The wait cursor's hourglass as the application's override cursor, shown
// while a CWaitCursor asks for it and removed with the last one.
#include "app/views/WaitPointer.h"
#include "classlib/misc/CWaitCursor.h"

#include <QTest>

#include <memory>
#include <thread>

using quorvantell::CWaitCursor;

class WaitPointerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { velloran::InstallWaitPointer(); }

    void hourglassWhileWaiting()
    {
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        auto outer = std::make_unique<CWaitCursor>();
        outer->Restore();
        QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        auto inner = std::make_unique<CWaitCursor>();
        inner->Restore();
        outer.reset();
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        inner.reset();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void anotherOverrideCursorIsLeftAlone()
    {
        QGuiApplication::setOverrideCursor(Qt::CrossCursor);
        {
            CWaitCursor wait;
            wait.Restore();
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
        QGuiApplication::restoreOverrideCursor();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void otherThreadsDoNotTouchThePointer()
    {
        std::thread([] {
            CWaitCursor wait;
            wait.Restore();
        }).join();
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(WaitPointerTest)
#include "WaitPointerTest.moc"
