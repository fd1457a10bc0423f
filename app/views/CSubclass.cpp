// CSubclass: one event filter per subscribed widget holds that widget's
// subscriptions in the order they were made.
#include "app/views/CSubclass.h"

#include "app/views/ISubclass.h"

#include <QObject>
#include <QWidget>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace velloran {

namespace {

struct Subscription {
    ISubclass* subscriber;
    QEvent::Type message;
    bool operator==(const Subscription&) const = default;
};

thread_local std::vector<QEvent::Type> t_messages;  // the dispatches under way, innermost last

// Keeps CurrentMessage() right for the duration of one call into a subscriber.
class CurrentMessageScope {
public:
    explicit CurrentMessageScope(QEvent::Type message) { t_messages.push_back(message); }
    ~CurrentMessageScope() { t_messages.pop_back(); }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;
};

class Hook : public QObject {
public:
    explicit Hook(QWidget* widget) : m_widget(widget) { widget->installEventFilter(this); }

    std::vector<Subscription> subscriptions;

    bool Holds(const Subscription& s) const
    {
        return std::find(subscriptions.begin(), subscriptions.end(), s) != subscriptions.end();
    }

    // Removes the filter; the hook deletes itself once no dispatch uses it.
    void Retire()
    {
        m_widget->removeEventFilter(this);
        Abandon();
    }

    // For a widget being destroyed, whose filters go with it.
    void Abandon()
    {
        if (m_depth == 0)
            delete this;
        else
            m_retired = true;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_widget)
            return false;
        ++m_depth;
        const bool filtered = Dispatch(event);
        if (--m_depth == 0 && m_retired)
            delete this;
        return filtered;
    }

private:
    bool Dispatch(QEvent* event);
    // WindowProc of a subscription still held (one may leave mid-dispatch).
    void CallSubscriber(const Subscription& s, QWidget* widget, QEvent* event, int32_t& result);

    QWidget* m_widget;
    int m_depth = 0;
    bool m_retired = false;
};

std::unordered_map<QWidget*, Hook*>& Hooks()
{
    static std::unordered_map<QWidget*, Hook*> hooks;
    return hooks;
}

bool Hook::Dispatch(QEvent* event)
{
    const QEvent::Type message = event->type();
    std::vector<Subscription> consumers, postProcessors;
    for (const Subscription& s : std::vector<Subscription>(subscriptions)) {
        if (s.message != message || !Holds(s))
            continue;
        CurrentMessageScope scope(message);
        (s.subscriber->MsgResponse() == emrConsume ? consumers : postProcessors).push_back(s);
    }
    if (consumers.empty() && postProcessors.empty())
        return false;
    QWidget* widget = m_widget;
    if (consumers.empty()) {
        CSubclass::CallPreviousProc(widget, event);
    } else {
        int32_t result = 0;
        for (const Subscription& s : consumers)
            CallSubscriber(s, widget, event, result);
        event->setAccepted(result != 0);
    }
    // Post-processors see every event of their type, consumed or not; the
    // consumers' answer stays the event's accepted flag.
    int32_t ignored = 0;
    for (const Subscription& s : postProcessors)
        CallSubscriber(s, widget, event, ignored);
    return true;
}

void Hook::CallSubscriber(const Subscription& s, QWidget* widget, QEvent* event, int32_t& result)
{
    if (m_retired || !Holds(s))
        return;
    CurrentMessageScope scope(s.message);
    result = s.subscriber->WindowProc(widget, event);
}

}  // namespace

void CSubclass::Subscribe(ISubclass* subscriber, QWidget* hWnd, QEvent::Type message)
{
    if (subscriber == nullptr || hWnd == nullptr)
        return;
    Hook*& hook = Hooks()[hWnd];
    if (hook == nullptr) {
        hook = new Hook(hWnd);
        QObject::connect(hWnd, &QObject::destroyed, hook, [hWnd] {
            auto it = Hooks().find(hWnd);
            if (it != Hooks().end()) {
                Hook* orphan = it->second;
                Hooks().erase(it);
                orphan->Abandon();
            }
        });
    }
    const Subscription s{subscriber, message};
    if (!hook->Holds(s))
        hook->subscriptions.push_back(s);
}

void CSubclass::Unsubscribe(ISubclass* subscriber, QWidget* hWnd, QEvent::Type message)
{
    auto it = Hooks().find(hWnd);
    if (it == Hooks().end())
        return;
    Hook* hook = it->second;
    std::erase(hook->subscriptions, Subscription{subscriber, message});
    if (hook->subscriptions.empty()) {
        Hooks().erase(it);
        hook->Retire();
    }
}

QEvent::Type CSubclass::CurrentMessage()
{
    return t_messages.empty() ? QEvent::None : t_messages.back();
}

int32_t CSubclass::CallPreviousProc(QWidget* hWnd, QEvent* event)
{
    if (hWnd == nullptr || event == nullptr)
        return 0;
    return static_cast<QObject*>(hWnd)->event(event) ? 1 : 0;
}

int CSubclass::SubscriptionCount(QWidget* hWnd)
{
    auto it = Hooks().find(hWnd);
    return it == Hooks().end() ? 0 : static_cast<int>(it->second->subscriptions.size());
}

}  // namespace velloran
