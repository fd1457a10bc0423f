// The event-loop turn that long operations give the user interface.
#include "classlib/general/EventPump.h"

namespace quorvantell {

namespace {

// Per thread: only the thread that runs the event loop may turn it, so a
// worker thread calling DoEvents finds no pump and goes on.
thread_local std::function<void()> t_pump;

}  // namespace

void EventPump::Set(std::function<void()> pump)
{
    t_pump = std::move(pump);
}

void EventPump::DoEvents()
{
    if (t_pump)
        t_pump();
}

}  // namespace quorvantell
