// ISubclass: what a subscriber of the window-subclassing component (CSubclass)
// implements to see a widget's events before or instead of the widget.
#pragma once

#include <QEvent>

#include <cstdint>

class QWidget;

namespace velloran {

enum EMsgResponse : int32_t {
    emrConsume = 0,      // only WindowProc handles the event
    emrPostProcess = 1,  // the widget handles it first, then WindowProc
};

class ISubclass {
public:
    virtual ~ISubclass() = default;

    // Asked for each event being dispatched (CSubclass::CurrentMessage()
    // tells which); any other answer than emrConsume post-processes.
    virtual int32_t MsgResponse() const = 0;
    // Accepted and ignored: the answer is always the one MsgResponse gives.
    virtual void SetMsgResponse(int32_t) {}
    // The event's data travels in the event itself.
    virtual int32_t WindowProc(QWidget* hWnd, QEvent* event) = 0;
};

}  // namespace velloran
