// Foreground and z-order of the program's windows, for the ordinal table.
#pragma once

#include <cstdint>

namespace quorvantell::exports {

// Raises the window and asks for it to become the active one; nothing to do
// when it already is. Nonzero when the request was made (a shown window).
int32_t ForceForeground(void* window);
// Keeps the window above the others (nonzero flag) or lets it go back
// among them; position, size and visibility stay. Nonzero for a window.
int32_t SetTopMost(void* window, int16_t topMost);

}  // namespace quorvantell::exports
