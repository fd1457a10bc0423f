// Process and thread priority for the ordinal table, as nice values.
#pragma once

#include <cstdint>

namespace quorvantell::exports {

// selector 0: priority is a process class (IDLE_PRIORITY_CLASS,
// NORMAL_PRIORITY_CLASS, HIGH_PRIORITY_CLASS) applied to every thread.
// Any other selector: priority -2..2 (lowest .. highest) for the calling
// thread only. Nonzero on success; 0 for an unknown value or when the
// system refuses (raising needs privilege). A refused class changes no
// thread.
int32_t SetOwnPriority(int16_t selector, int32_t priority);

// The priority in effect, never the one asked for: selector 0 gives the
// process class (the nearest one when the process was started with another
// nice value), any other selector the calling thread's priority -2..2.
int32_t GetOwnPriority(int16_t selector);

}  // namespace quorvantell::exports
