// JsonText: lossless JSON strings for byte names.
#include "app/cli/JsonText.h"

#include "classlib/general/Utf8.h"

#include <cstdio>

namespace velloran::cli {

namespace {

std::string UnicodeEscape(unsigned value)
{
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", value);
    return escape;
}

}  // namespace

std::string JsonText::String(std::string_view bytes)
{
    std::string out = "\"";
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t start = pos;
        const char32_t c = quorvantell::utf8::Next(bytes, pos);
        if (quorvantell::utf8::IsInvalidByte(c)) {
            out += UnicodeEscape(0xDC00 + static_cast<unsigned char>(bytes[start]));
        } else if (c == '"') {
            out += "\\\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20) {
            out += UnicodeEscape(static_cast<unsigned>(c));
        } else {
            out.append(bytes.substr(start, pos - start));
        }
    }
    return out + "\"";
}

}  // namespace velloran::cli
