// The file-properties window of the ordinal table: a small dialog of our own
// showing a file's or folder's name, folder, type, size, times, owner and
// permissions.
#pragma once

#include <cstdint>

namespace quorvantell::exports {

// Shows the window (modeless; it deletes itself when closed). Nonzero when
// shown; 0 when the path cannot be examined or no window can be shown.
int32_t ShowFileProperties(const char* path);

}  // namespace quorvantell::exports
