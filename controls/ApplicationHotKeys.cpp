// Global hot keys: X11 key grabs on the root window, watched through Qt's
// native event filter.
#include "controls/ApplicationHotKeys.h"

#include "controls/VirtualKeys.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>

namespace quorvantell {

namespace {

constexpr uint16_t kCombinationBits = 7;  // Shift, Ctrl, Alt; the extended flag names no key of its own

}  // namespace

ApplicationHotKeys::ApplicationHotKeys(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

ApplicationHotKeys::~ApplicationHotKeys()
{
    for (Assignment& assignment : m_assigned)
        assignment.grab.Release();
    // Gone already when the application object deletes this at its end.
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeNativeEventFilter(this);
}

ApplicationHotKeys& ApplicationHotKeys::Instance()
{
    static QPointer<ApplicationHotKeys> instance;
    if (!instance)
        instance = new ApplicationHotKeys(QCoreApplication::instance());
    return *instance;
}

bool ApplicationHotKeys::ValidKey(uint8_t key)
{
    // Escape, Space and Tab belong to every window; they are never hot keys.
    return key != 0x1B && key != 0x20 && key != 0x09 && VirtualKeys::ToKeysym(key) != 0;
}

ApplicationHotKeys::Result ApplicationHotKeys::Set(QWidget* window, uint16_t hotKey)
{
    if (!window || !window->isWindow())
        return InvalidWindow;
    const auto key = uint8_t(hotKey & 0xFF);
    if (key == 0) {
        Remove(window);
        return Done;
    }
    if (!ValidKey(key))
        return InvalidHotKey;
    if (!X11KeyGrab::Available())
        return NotPossibleHere;
    if (TakenByOther(window, hotKey))
        return AlreadyAssigned;
    if (HotKeyOf(window) == hotKey)
        return Done;
    Remove(window);
    X11KeyGrab grab;
    switch (grab.Grab(VirtualKeys::ToKeysym(key), (hotKey >> 8) & kCombinationBits)) {
    case X11KeyGrab::Taken:
        return AlreadyAssigned;
    case X11KeyGrab::NoSuchKey:
        return InvalidHotKey;
    case X11KeyGrab::Grabbed:
        break;
    }
    m_assigned.push_back({window, hotKey, grab});
    connect(window, &QObject::destroyed, this, [this, window] { Remove(window); });
    return Done;
}

uint16_t ApplicationHotKeys::HotKeyOf(const QWidget* window) const
{
    for (const Assignment& assignment : m_assigned) {
        if (assignment.window == window)
            return assignment.hotKey;
    }
    return 0;
}

void ApplicationHotKeys::Remove(const QWidget* window)
{
    const auto it = std::find_if(m_assigned.begin(), m_assigned.end(),
                                 [window](const Assignment& assignment) { return assignment.window == window; });
    if (it == m_assigned.end())
        return;
    it->grab.Release();
    disconnect(window, &QObject::destroyed, this, nullptr);
    m_assigned.erase(it);
}

bool ApplicationHotKeys::TakenByOther(const QWidget* window, uint16_t hotKey) const
{
    // The extended flag does not tell two presses apart on this platform.
    const uint16_t wanted = hotKey & ~uint16_t(0x0800);
    return std::any_of(m_assigned.begin(), m_assigned.end(), [&](const Assignment& assignment) {
        return assignment.window != window && (assignment.hotKey & ~uint16_t(0x0800)) == wanted;
    });
}

bool ApplicationHotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    for (const Assignment& assignment : m_assigned) {
        if (assignment.grab.IsPress(message)) {
            BringToFront(assignment.window);
            emit Activated(assignment.window);
            return true;
        }
    }
    return false;
}

void ApplicationHotKeys::BringToFront(QWidget* window)
{
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace quorvantell
