// CSubclass: consumed events never reach the widget, post-processed ones reach
// it first, the previous procedure can be called from WindowProc, the current
// message is known inside MsgResponse, and unsubscribing restores the
// widget's own handling.
#include "app/views/CSubclass.h"
#include "app/views/ISubclass.h"

#include <QCloseEvent>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

using velloran::CSubclass;
using velloran::ISubclass;

namespace {

std::vector<std::string> g_log;

// A widget that notes every mouse press and close request it handles itself.
class Target : public QWidget {
protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        g_log.push_back("widget");
        QWidget::mousePressEvent(event);
    }
};

class Subscriber : public ISubclass {
public:
    Subscriber(std::string name, int32_t response) : m_name(std::move(name)), m_response(response) {}

    int32_t MsgResponse() const override
    {
        asked.push_back(CSubclass::CurrentMessage());
        return m_response;
    }

    int32_t WindowProc(QWidget* hWnd, QEvent* event) override
    {
        g_log.push_back(m_name);
        if (callPrevious)
            previousResult = CSubclass::CallPreviousProc(hWnd, event);
        return result;
    }

    mutable std::vector<QEvent::Type> asked;
    bool callPrevious = false;
    int32_t previousResult = -1;
    int32_t result = 1;

private:
    std::string m_name;
    int32_t m_response;
};

void Press(QWidget* widget)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(5, 5));
}

}  // namespace

class SubclassTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Target> m_widget;

private slots:
    void init()
    {
        g_log.clear();
        m_widget = std::make_unique<Target>();
        m_widget->resize(100, 100);
        m_widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_widget.get()));
    }

    void cleanup() { m_widget.reset(); }

    void consumedEventsReachOnlyTheSubscriber()
    {
        Subscriber consumer("consumer", velloran::emrConsume);
        CSubclass::Subscribe(&consumer, m_widget.get(), QEvent::MouseButtonPress);
        Press(m_widget.get());
        QCOMPARE(g_log, std::vector<std::string>{"consumer"});
        QCOMPARE(consumer.asked, std::vector<QEvent::Type>{QEvent::MouseButtonPress});
        QCOMPARE(CSubclass::CurrentMessage(), QEvent::None);
        CSubclass::Unsubscribe(&consumer, m_widget.get(), QEvent::MouseButtonPress);
    }

    void postProcessingFollowsTheWidgetsOwnHandling()
    {
        Subscriber after("after", velloran::emrPostProcess);
        CSubclass::Subscribe(&after, m_widget.get(), QEvent::MouseButtonPress);
        Press(m_widget.get());
        QCOMPARE(g_log, (std::vector<std::string>{"widget", "after"}));
        CSubclass::Unsubscribe(&after, m_widget.get(), QEvent::MouseButtonPress);
    }

    void previousProcedureRunsFromInsideWindowProc()
    {
        Subscriber consumer("consumer", velloran::emrConsume);
        consumer.callPrevious = true;
        CSubclass::Subscribe(&consumer, m_widget.get(), QEvent::MouseButtonPress);
        Press(m_widget.get());
        QCOMPARE(g_log, (std::vector<std::string>{"consumer", "widget"}));
        QCOMPARE(consumer.previousResult, 1);
        CSubclass::Unsubscribe(&consumer, m_widget.get(), QEvent::MouseButtonPress);
    }

    void unsubscribingRestoresNormalHandling()
    {
        Subscriber consumer("consumer", velloran::emrConsume);
        CSubclass::Subscribe(&consumer, m_widget.get(), QEvent::MouseButtonPress);
        CSubclass::Subscribe(&consumer, m_widget.get(), QEvent::MouseButtonPress);  // the same subscription
        QCOMPARE(CSubclass::SubscriptionCount(m_widget.get()), 1);
        CSubclass::Unsubscribe(&consumer, m_widget.get(), QEvent::MouseButtonPress);
        QCOMPARE(CSubclass::SubscriptionCount(m_widget.get()), 0);
        Press(m_widget.get());
        QCOMPARE(g_log, std::vector<std::string>{"widget"});
        QVERIFY(consumer.asked.empty());
    }

    // Several subscribers and messages on one widget; only the subscribed
    // message types are dispatched, one consumer keeps the widget out, and
    // the post-processor still sees the consumed press after the consumer.
    void severalSubscribersAndMessages()
    {
        Subscriber consumer("consumer", velloran::emrConsume);
        Subscriber after("after", velloran::emrPostProcess);
        CSubclass::Subscribe(&after, m_widget.get(), QEvent::MouseButtonPress);
        CSubclass::Subscribe(&after, m_widget.get(), QEvent::MouseButtonRelease);
        CSubclass::Subscribe(&consumer, m_widget.get(), QEvent::MouseButtonPress);
        Press(m_widget.get());
        // The press consumed (and still post-processed), the release post-processed.
        QCOMPARE(g_log, (std::vector<std::string>{"consumer", "after", "after"}));
        QCOMPARE(consumer.asked, std::vector<QEvent::Type>{QEvent::MouseButtonPress});
        QCOMPARE(after.asked, (std::vector<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonRelease}));

        g_log.clear();
        CSubclass::Unsubscribe(&consumer, m_widget.get(), QEvent::MouseButtonPress);
        Press(m_widget.get());
        QCOMPARE(g_log, (std::vector<std::string>{"widget", "after", "after"}));
        CSubclass::Unsubscribe(&after, m_widget.get(), QEvent::MouseButtonPress);
        CSubclass::Unsubscribe(&after, m_widget.get(), QEvent::MouseButtonRelease);
    }

    // The last WindowProc result decides a consumed event's accepted flag:
    // a close request answered with 0 leaves the window open.
    void consumedCloseAnsweredWithZeroKeepsTheWindow()
    {
        Subscriber guard("guard", velloran::emrConsume);
        guard.result = 0;
        CSubclass::Subscribe(&guard, m_widget.get(), QEvent::Close);
        QVERIFY(!m_widget->close());
        QVERIFY(m_widget->isVisible());
        guard.result = 1;
        QVERIFY(m_widget->close());
        CSubclass::Unsubscribe(&guard, m_widget.get(), QEvent::Close);
    }

    // A subscriber that leaves during a dispatch gets nothing more of it, and
    // the hook it emptied goes away safely.
    void unsubscribingDuringADispatch()
    {
        struct Leaver : Subscriber {
            using Subscriber::Subscriber;
            QWidget* widget = nullptr;
            Subscriber* other = nullptr;
            int32_t WindowProc(QWidget* hWnd, QEvent* event) override
            {
                CSubclass::Unsubscribe(this, widget, QEvent::MouseButtonPress);
                CSubclass::Unsubscribe(other, widget, QEvent::MouseButtonPress);
                return Subscriber::WindowProc(hWnd, event);
            }
        };
        Subscriber second("second", velloran::emrConsume);
        Leaver first("first", velloran::emrConsume);
        first.widget = m_widget.get();
        first.other = &second;
        CSubclass::Subscribe(&first, m_widget.get(), QEvent::MouseButtonPress);
        CSubclass::Subscribe(&second, m_widget.get(), QEvent::MouseButtonPress);
        Press(m_widget.get());
        QCOMPARE(g_log, std::vector<std::string>{"first"});
        g_log.clear();
        Press(m_widget.get());
        QCOMPARE(g_log, std::vector<std::string>{"widget"});
    }

    void aDestroyedWidgetTakesItsSubscriptions()
    {
        Subscriber consumer("consumer", velloran::emrConsume);
        QWidget* widget = m_widget.get();
        CSubclass::Subscribe(&consumer, widget, QEvent::MouseButtonPress);
        m_widget.reset();
        QCOMPARE(CSubclass::SubscriptionCount(widget), 0);
    }
};

QTEST_MAIN(SubclassTest)
#include "SubclassTest.moc"
