// Base64, uuencode and the 8-bit conversion of mail text.
#include "classlib/mail/MailEncoder.h"

#include "classlib/general/Utf8.h"

#include <algorithm>
#include <array>

namespace quorvantell {

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
constexpr size_t kLineChars = 76;

char UuChar(unsigned value)
{
    return value == 0 ? '`' : static_cast<char>(value + 32);
}

// Base64 of the bytes on one line, padded as the standard says.
std::string Encode(std::string_view bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < n ? static_cast<uint8_t>(bytes[i + k]) : 0u);
        for (size_t k = 0; k < 4; ++k)
            out += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

}  // namespace

std::string MailEncoder::ToLatin1(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        const char32_t c = utf8::Next(utf8, pos);
        if (utf8::IsInvalidByte(c))
            out += static_cast<char>(c - utf8::kInvalidByteBase);
        else
            out += c <= 0xFF ? static_cast<char>(c) : '?';
    }
    return out;
}

std::string MailEncoder::Base64Lines(std::string_view bytes)
{
    const std::string flat = Encode(bytes);
    std::string out;
    out.reserve(flat.size() + flat.size() / kLineChars * 2 + 2);
    for (size_t i = 0; i < flat.size(); i += kLineChars)
        out.append(flat, i, kLineChars).append("\r\n");
    if (flat.empty())
        out = "\r\n";
    return out;
}

std::string MailEncoder::Base64Text(std::string_view bytes)
{
    return Encode(bytes);
}

std::string MailEncoder::DecodeBase64(std::string_view text)
{
    std::string out;
    uint32_t group = 0;
    int bits = 0;
    for (const char c : text) {
        const size_t value = kAlphabet.find(c);
        if (value == std::string_view::npos || value == 64)
            continue;
        group = (group << 6) | static_cast<uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((group >> bits) & 0xFF);
        }
    }
    return out;
}

std::string MailEncoder::UuencodeLine(std::string_view bytes)
{
    std::string out(1, UuChar(static_cast<unsigned>(bytes.size())));
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        std::array<unsigned, 3> b{};
        for (size_t k = 0; k < n; ++k)
            b[k] = static_cast<uint8_t>(bytes[i + k]);
        const std::array<unsigned, 4> chars = {b[0] >> 2, ((b[0] & 3) << 4) | (b[1] >> 4),
                                               ((b[1] & 15) << 2) | (b[2] >> 6), b[2] & 63};
        for (size_t k = 0; k <= n && k < 4; ++k)
            out += UuChar(chars[k]);
        if (n < 3)
            out += n == 1 ? "==" : "=";
    }
    return out + "\r\n";
}

std::string MailEncoder::StripLineBreaks(std::string_view text)
{
    std::string out(text);
    std::erase_if(out, [](char c) { return c == '\r' || c == '\n'; });
    return out;
}

bool MailEncoder::HasEightBit(std::string_view latin1)
{
    return std::any_of(latin1.begin(), latin1.end(), [](char c) { return static_cast<uint8_t>(c) > 126; });
}

}  // namespace quorvantell
