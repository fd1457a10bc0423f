// CKeyboard: the thread's view of the lock keys over the system's state.
#include "classlib/misc/CKeyboard.h"

#include "classlib/misc/LockKeys.h"

namespace quorvantell {

namespace {

// A value written by the program, and the system state it replaced.
struct ThreadView {
    bool set = false;
    bool value = false;
    bool systemAtWrite = false;
};

thread_local ThreadView t_views[3];

ThreadView& ViewOf(LockKey key)
{
    return t_views[static_cast<int>(key)];
}

bool Read(LockKey key)
{
    const bool system = LockKeyOn(key);
    ThreadView& view = ViewOf(key);
    if (view.set && view.systemAtWrite == system)
        return view.value;
    view.set = false;  // the key changed since: the system's state holds again
    return system;
}

void Write(LockKey key, bool on)
{
    ViewOf(key) = ThreadView{true, on, LockKeyOn(key)};
}

}  // namespace

bool CKeyboard::Capslock() const { return Read(LockKey::Caps); }
void CKeyboard::SetCapslock(bool on) { Write(LockKey::Caps, on); }
bool CKeyboard::Numlock() const { return Read(LockKey::Num); }
void CKeyboard::SetNumlock(bool on) { Write(LockKey::Num, on); }
bool CKeyboard::Scrolllock() const { return Read(LockKey::Scroll); }
void CKeyboard::SetScrolllock(bool on) { Write(LockKey::Scroll, on); }

}  // namespace quorvantell
