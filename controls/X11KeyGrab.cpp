// Key grabs on the root window through the xcb connection Qt opened.
#include "controls/X11KeyGrab.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace quorvantell {

namespace {

constexpr uint8_t kBadAccess = 10;
// Caps Lock and Num Lock (Mod2 on every common layout) change the state a
// press carries, so each combination is grabbed in all four lock states.
constexpr uint16_t kLockStates[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr uint16_t kModifierMasks = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};

xcb_connection_t* Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t Root(xcb_connection_t* connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// The first key that carries the keysym in its plain or shifted place.
uint8_t KeycodeOf(xcb_connection_t* connection, uint32_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const uint8_t first = setup->min_keycode;
    const int count = setup->max_keycode - first + 1;
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, FreeDeleter> reply(xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, first, uint8_t(count)), nullptr));
    if (!reply)
        return 0;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int perKey = reply->keysyms_per_keycode;
    const int length = xcb_get_keyboard_mapping_keysyms_length(reply.get());
    for (int key = 0; key < count && key * perKey < length; ++key) {
        for (int level = 0; level < perKey && level < 2; ++level) {
            if (keysyms[key * perKey + level] == keysym)
                return uint8_t(first + key);
        }
    }
    return 0;
}

uint16_t MaskOf(int modifiers)
{
    uint16_t mask = 0;
    if (modifiers & 1)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & 2)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & 4)
        mask |= XCB_MOD_MASK_1;
    return mask;
}

}  // namespace

bool X11KeyGrab::Available()
{
    return Connection() != nullptr;
}

X11KeyGrab::Result X11KeyGrab::Grab(uint32_t keysym, int modifiers)
{
    Release();
    xcb_connection_t* connection = Connection();
    const uint8_t keycode = connection ? KeycodeOf(connection, keysym) : 0;
    if (keycode == 0)
        return NoSuchKey;
    m_keycode = keycode;
    m_mask = MaskOf(modifiers);
    for (uint16_t locks : kLockStates) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(connection, 1, Root(connection), m_mask | locks,
                                                              keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        std::unique_ptr<xcb_generic_error_t, FreeDeleter> error(xcb_request_check(connection, cookie));
        if (error) {
            Release();
            return error->error_code == kBadAccess ? Taken : NoSuchKey;
        }
    }
    return Grabbed;
}

void X11KeyGrab::Release()
{
    xcb_connection_t* connection = Connection();
    if (m_keycode == 0 || !connection)
        return;
    // Ungrabbing a state this program never grabbed changes nothing, so a
    // grab cut short is undone the same way.
    for (uint16_t locks : kLockStates)
        xcb_ungrab_key(connection, m_keycode, Root(connection), m_mask | locks);
    xcb_flush(connection);
    m_keycode = 0;
}

bool X11KeyGrab::IsPress(const void* xcbEvent) const
{
    const auto* event = static_cast<const xcb_generic_event_t*>(xcbEvent);
    if (m_keycode == 0 || (event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    const auto* press = static_cast<const xcb_key_press_event_t*>(xcbEvent);
    return press->detail == m_keycode && (press->state & kModifierMasks) == m_mask;
}

}  // namespace quorvantell
