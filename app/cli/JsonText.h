// JsonText: file names as JSON strings without losing a byte. Valid UTF-8
// is written as it is (quotes, backslashes and control characters escaped);
// every byte that is not part of valid UTF-8 becomes the escape \udcXX for
// byte XX (0x80..0xFF), the "surrogateescape" form that Python's
// os.fsdecode/os.fsencode use, so the original bytes can be restored.
#pragma once

#include <string>
#include <string_view>

namespace velloran::cli {

class JsonText {
public:
    // The quoted JSON string for the bytes.
    static std::string String(std::string_view bytes);
};

}  // namespace velloran::cli
