// CKeyboard: the Caps, Num and Scroll Lock states as this thread sees them.
// Reading gives the system's state (LockKeys.h); writing changes only this
// thread's view, which holds until the system reports a change of that key.
#pragma once

#include "classlib/ClassLibObject.h"

namespace quorvantell {

class CKeyboard : public ClassLibObject {
public:
    bool Capslock() const;
    void SetCapslock(bool on);
    bool Numlock() const;
    void SetNumlock(bool on);
    bool Scrolllock() const;
    void SetScrolllock(bool on);
};

}  // namespace quorvantell
