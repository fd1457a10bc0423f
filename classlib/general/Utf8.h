// UTF-8 walking that never fails. Names are bytes and need not be UTF-8, so
// a byte that does not start a well-formed sequence (stray continuation,
// overlong form, surrogate, beyond U+10FFFF, cut short) stands alone as the
// pseudo-character kInvalidByteBase + its value. Such characters lie above
// every code point, so they order after all real characters, among
// themselves by byte value, and never equal a real character.
#pragma once

#include <string>
#include <string_view>

namespace quorvantell::utf8 {

constexpr char32_t kInvalidByteBase = 0x110000;

constexpr bool IsInvalidByte(char32_t c) { return c >= kInvalidByteBase; }

// The character starting at pos; pos moves past it. pos < text.size().
char32_t Next(std::string_view text, size_t& pos);

// Appends the character; an invalid-byte pseudo-character is written back as
// its original byte, so decoding and re-encoding keeps every byte.
void Append(std::string& out, char32_t c);

}  // namespace quorvantell::utf8
