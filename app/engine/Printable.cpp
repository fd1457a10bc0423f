// Printable: control characters escaped.
#include "app/engine/Printable.h"

#include "classlib/general/Utf8.h"

#include <cstdio>

namespace velloran {

namespace {

bool IsControl(char32_t c)
{
    const char32_t byte = quorvantell::utf8::IsInvalidByte(c) ? c - quorvantell::utf8::kInvalidByteBase : c;
    return byte < 0x20 || (byte >= 0x7F && byte <= 0x9F);
}

}  // namespace

std::string Printable(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        if (!IsControl(quorvantell::utf8::Next(text, pos))) {
            out.append(text.substr(start, pos - start));
            continue;
        }
        for (size_t i = start; i < pos; ++i) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(text[i]));
            out += escaped;
        }
    }
    return out;
}

}  // namespace velloran
