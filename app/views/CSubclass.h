// CSubclass: the window-subclassing component. Subscribers (ISubclass) ask
// for one event type of one widget; an event filter on the widget hands them
// every such event. Consumed events never reach the widget; post-processed
// ones reach the widget's own handler first (directly, so event filters
// installed on the widget before the first subscription are passed over for
// them). A post-processing subscriber sees every event of its type: when
// another subscriber consumes one, it comes after the consumers. Consumed
// events take the last consumer's WindowProc result as their accepted flag
// (nonzero accepts: a consumed close event answered with 0 keeps the
// window open). A subscriber unsubscribes before it goes away; a widget
// that goes away takes its subscriptions with it. Used on the
// user-interface thread only.
#pragma once

#include <QEvent>

#include <cstdint>

class QWidget;

namespace velloran {

class ISubclass;

class CSubclass {
public:
    // Several subscribers and several event types per widget are possible;
    // subscribing twice to the same pair is one subscription.
    static void Subscribe(ISubclass* subscriber, QWidget* hWnd, QEvent::Type message);
    // Normal handling of that event type resumes for this subscriber; it
    // receives no further event of that pair, not even from a dispatch that
    // is under way.
    static void Unsubscribe(ISubclass* subscriber, QWidget* hWnd, QEvent::Type message);
    // The type of the event being dispatched (inside MsgResponse and
    // WindowProc); QEvent::None outside a dispatch.
    static QEvent::Type CurrentMessage();
    // The widget's own handling of the event; nonzero when it handled it.
    static int32_t CallPreviousProc(QWidget* hWnd, QEvent* event);
    // Subscriptions held on the widget (for checks and tests).
    static int SubscriptionCount(QWidget* hWnd);
};

}  // namespace velloran
