// One turn of the user interface's event loop, as the window (or the CLI)
// that hosts a long operation provides it. Long loops in the class library
// and the engine call DoEvents at their fixed intervals; with no pump set the
// call does nothing.
#pragma once

#include <functional>

namespace quorvantell {

class EventPump {
public:
    static void Set(std::function<void()> pump);
    static void DoEvents();
};

}  // namespace quorvantell
