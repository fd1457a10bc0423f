// One turn of the user interface's event loop, as the window (or the CLI)
// that hosts a long operation provides it. Long loops in the class library
// and the engine call DoEvents at their fixed intervals; with no pump set the
// call does nothing. The pump belongs to the thread that set it.
#pragma once

#include <functional>

namespace quorvantell {

class EventPump {
public:
    // An empty function removes the pump.
    static void Set(std::function<void()> pump);
    static void DoEvents();
};

}  // namespace quorvantell
