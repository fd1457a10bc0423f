// VirtualKeys: the platform-neutral key numbers the controls report and store
// (the classic virtual-key codes: 'A'..'Z', '0'..'9', 0x70 for F1, ...) and
// their Qt keys and X11 keysyms. Keys typed with Shift on a US layout ('!',
// '?', ...) count as the key under them, so a stored hot key names a key, not
// a character.
#pragma once

#include <Qt>

#include <cstdint>

namespace quorvantell {

class VirtualKeys {
public:
    struct Key {
        uint8_t code = 0;       // 0: no virtual key
        bool extended = false;  // the navigation block, keypad Enter and keypad /
    };

    // The key of a Qt key event (keypad keys told apart by the modifier).
    static Key FromQt(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The Qt key (with Qt::KeypadModifier for keypad keys); 0 when unknown.
    static int ToQt(uint8_t code);
    // The X11 keysym of the key; 0 when unknown.
    static uint32_t ToKeysym(uint8_t code);
    // Shift, Ctrl, Alt and the lock keys alone.
    static bool IsModifier(int qtKey);
    // The modifiers as the controls report them: Shift 1, Ctrl 2, Alt 4.
    static int ShiftState(Qt::KeyboardModifiers modifiers);
};

}  // namespace quorvantell
