// X11KeyGrab: a key combination grabbed on the X server's root window, so
// its presses come to this program whichever window has the focus. Works
// on the application's own X connection; elsewhere Available() is false.
#pragma once

#include <cstdint>

namespace quorvantell {

class X11KeyGrab {
public:
    enum Result { Grabbed, Taken, NoSuchKey };

    // Whether the application runs on an X server.
    static bool Available();
    // Grabs the keysym with the hot-key modifier bits (Shift 1, Ctrl 2,
    // Alt 4), whatever the Caps Lock and Num Lock states. Taken: another
    // program holds it already.
    Result Grab(uint32_t keysym, int modifiers);
    void Release();
    // Whether an xcb event is a press of this grab.
    bool IsPress(const void* xcbEvent) const;

private:
    uint8_t m_keycode = 0;
    uint16_t m_mask = 0;
};

}  // namespace quorvantell
