// Process and thread priority for the ordinal table, as nice values.
#pragma once

#include <cstdint>

namespace quorvantell::exports {

// selector 0: priority is a process class (IDLE_PRIORITY_CLASS,
// NORMAL_PRIORITY_CLASS, HIGH_PRIORITY_CLASS) applied to every thread.
// Any other selector: priority -2..2 (lowest .. highest) for the calling
// thread only. Nonzero on success; 0 for an unknown value or when the
// system refuses (raising needs privilege).
int32_t SetOwnPriority(int16_t selector, int32_t priority);

}  // namespace quorvantell::exports
