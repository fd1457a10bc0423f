// Printable: a name or message as one line of text for a terminal, a log
// file or an error line. Control characters (C0, DEL, C1, and stray bytes in
// the C1 range) are shown as \xNN, so a name can neither end nor add a line,
// nor reach the terminal as an escape sequence. Every other byte, valid
// UTF-8 or not, stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace velloran {

std::string Printable(std::string_view text);

}  // namespace velloran
