// Reading the state of the lock keys (Caps, Num, Scroll Lock) from where the
// system tells it: the X server's keyboard indicators when the program runs
// on X11, else the kernel's keyboard LEDs. False when neither tells.
#pragma once

namespace quorvantell {

enum class LockKey { Caps, Num, Scroll };

bool LockKeyOn(LockKey key);

}  // namespace quorvantell
