// UTF-8 walking that keeps bytes which are not UTF-8; see Utf8.h.
#include "classlib/general/Utf8.h"

namespace quorvantell::utf8 {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the sequence a lead byte announces and the allowed range of the
// byte after it (narrower than 80..BF where overlong forms, surrogates or
// code points beyond U+10FFFF would start).
struct LeadRule {
    int length;
    unsigned char secondLow, secondHigh;
};

LeadRule RuleFor(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};
    if (lead == 0xED) return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

}  // namespace

char32_t Next(std::string_view text, size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    const LeadRule rule = RuleFor(lead);
    bool wellFormed = rule.length > 0 && pos + rule.length <= text.size();
    if (wellFormed) {
        const auto second = static_cast<unsigned char>(text[pos + 1]);
        wellFormed = second >= rule.secondLow && second <= rule.secondHigh;
        for (int k = 2; wellFormed && k < rule.length; ++k)
            wellFormed = IsContinuation(static_cast<unsigned char>(text[pos + k]));
    }
    if (!wellFormed) {
        ++pos;
        return kInvalidByteBase + lead;
    }
    char32_t c = lead & (0xFF >> (rule.length + 1));
    for (int k = 1; k < rule.length; ++k)
        c = (c << 6) | (static_cast<unsigned char>(text[pos + k]) & 0x3F);
    pos += rule.length;
    return c;
}

void Append(std::string& out, char32_t c)
{
    if (IsInvalidByte(c)) {
        out += static_cast<char>(c - kInvalidByteBase);
    } else if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace quorvantell::utf8
