// StripBadNameChars works on UTF-8 bytes: every byte of a multibyte sequence
// has its high bit set, so removing the nine ASCII bytes never cuts one.
#include "utils/NameChars.h"

#include <cstring>

namespace quorvantell::exports {

namespace {

bool IsBadNameChar(char c)
{
    return c != '\0' && std::strchr("\\/:*?\"<>|", c) != nullptr;
}

}  // namespace

int32_t StripBadNameChars(char* buffer, int32_t length)
{
    if (buffer != nullptr && length >= 0) {
        // The walk includes the terminating NUL so that it moves down too.
        int32_t kept = 0;
        for (int32_t i = 0; i <= length; ++i) {
            if (!IsBadNameChar(buffer[i]))
                buffer[kept++] = buffer[i];
        }
    }
    // Callers read the NUL-terminated text; the count is only echoed back.
    return static_cast<int32_t>(static_cast<uint32_t>(length) * 2u);
}

}  // namespace quorvantell::exports
