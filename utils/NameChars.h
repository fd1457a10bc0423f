// File-name cleaning for the ordinal table: removes the characters that no
// file name on any platform the program deals with may contain.
#pragma once

#include <cstdint>

namespace quorvantell::exports {

// Removes \ / : * ? " < > | from the first length bytes and the terminating
// NUL, moving the rest down in place; returns twice the length.
int32_t StripBadNameChars(char* buffer, int32_t length);

}  // namespace quorvantell::exports
