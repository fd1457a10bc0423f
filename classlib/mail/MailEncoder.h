// MailEncoder: the byte-level encodings of a mail message - the conversion of
// text to ISO-8859-1, base64 in 76-character lines, base64 of short texts,
// its decoding, and uuencode lines.
#pragma once

#include <string>
#include <string_view>

namespace quorvantell {

class MailEncoder {
public:
    // UTF-8 text as ISO-8859-1 bytes; a character outside that set becomes
    // "?", a byte that is not UTF-8 is kept as it is.
    static std::string ToLatin1(std::string_view utf8);
    // Base64 with CR LF after every 76 characters and at the end.
    static std::string Base64Lines(std::string_view bytes);
    // Base64 on one line, without the final CR LF (header pieces, logins).
    static std::string Base64Text(std::string_view bytes);
    // Decodes base64; characters outside the alphabet are skipped.
    static std::string DecodeBase64(std::string_view text);
    // One uuencoded line of at most 45 bytes, ended by CR LF.
    static std::string UuencodeLine(std::string_view bytes);
    // The text without CR and LF, so a value cannot start a header line of
    // its own.
    static std::string StripLineBreaks(std::string_view text);
    // Characters above 126 in the 8-bit text.
    static bool HasEightBit(std::string_view latin1);
};

}  // namespace quorvantell
