// Shell wildcard matching of names against specifications such as "*.txt"
// or "*.doc;*.txt" ("*" any run of bytes, "?" one byte, exact case).
#pragma once

#include <string_view>

namespace quorvantell {

// True when text matches one pattern.
bool WildcardMatch(std::string_view pattern, std::string_view text);
// True when text matches any of the ";"-separated patterns of spec; leading
// blanks of a pattern are ignored and "*.*" matches every name.
bool MatchSpecList(std::string_view text, std::string_view spec);

}  // namespace quorvantell
