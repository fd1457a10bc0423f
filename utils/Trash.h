// Moving files to the freedesktop trash, where file managers can restore them.
#pragma once

#include <cstdint>

namespace quorvantell::exports {

// Moves every path of the list (each ended by NUL, the list ended by a
// second NUL) to the trash. 0 when all went; otherwise the errno of the first
// failure (the remaining paths are still tried).
int32_t RecycleFiles(const char* doubleNulList);

}  // namespace quorvantell::exports
