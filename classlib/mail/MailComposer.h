// MailComposer: the text a message sends after DATA - the prepared body,
// encoded header values, address lists, the header block with its MIME
// structure, the boundary, Message-ID and Date values, attachment part
// headers and references from an HTML body to attached files. Every text it
// takes and gives is 8-bit (ISO-8859-1, see MailEncoder::ToLatin1).
#pragma once

#include "classlib/general/CRegistry.h"

#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace quorvantell {

struct MailAttachment {
    std::string path;
    std::string name;  // the text after the last "/" of the path
    int64_t size = 0;
    bool embedded = false;  // referenced by the HTML body as "cid:" + name
};

struct PreparedBody {
    std::string text;
    bool eightBit = false;
};

// What the header block is made of; texts already encoded where they need it.
struct MailHeaderFields {
    std::string messageId;
    std::string senderEntry;
    std::string toList;
    std::string ccList;
    std::string subject;
    std::string replyTo;
    std::string date;
    bool mime = true;
    int32_t priority = 3;
    bool receipt = false;
    bool multipart = false;
    bool related = false;
    std::string boundary;
    bool html = false;
    bool eightBit = false;
    std::string contentBase;
};

class MailComposer {
public:
    // Line ends become CR LF, lines starting with "." get a second one, and
    // lines longer than 998 characters are broken after a space or at 998.
    static PreparedBody PrepareBody(std::string_view text);
    // "/" for "\", the web scheme in front when missing, a final "/".
    static std::string NormalizeContentBase(std::string base);
    // Plain text as it is (a display name in double quotes); text with 8-bit
    // characters as B-encoded words of 42 characters on folded lines.
    static std::string EncodeHeaderValue(std::string_view text, bool displayName);
    // The encoded name, or the address in double quotes, then " <address>".
    static std::string AddressEntry(std::string_view displayName, std::string_view address);
    // Entries joined by ", " on folded lines; names[i] belongs to addresses[i].
    static std::string AddressList(const std::vector<std::string>& addresses, const std::vector<std::string>& names);
    // "+0100", "-0500", "+0530" for an offset east of UTC in seconds.
    static std::string TimeZoneOffsetText(long secondsEast);
    // "Sun, 6 Dec 2026 15:55:30 +0100".
    static std::string DateText(const std::tm& local, const std::string& zone);
    // "----_=_NextPart_000_" + day serial + "." + time of day, in hexadecimal.
    static std::string Boundary(const std::tm& local);
    // UTC time stamp, "." + 20 random characters, "@" + host.
    static std::string MessageId(std::chrono::system_clock::time_point now, const std::string& host);
    // Points references to attached files inside the HTML body's tags at
    // "cid:" + name and marks those attachments embedded; true when any was.
    static bool EmbedReferences(std::string& body, std::vector<MailAttachment>& attachments);
    // Every header line and the empty line after them, CR LF ended.
    static std::string HeaderBlock(const MailHeaderFields& fields);
    // The headers of one base64 attachment part, up to its empty line.
    static std::string AttachmentHeader(const MailAttachment& file, const std::string& contentType,
                                        const std::string& boundary, bool related);
    // The content type the store's classes root gives for the file's
    // extension, else the shared MIME database's, else strDefault.
    static std::string ContentType(const CRegistry& registry, const std::string& strFile,
                                   const std::string& strDefault);
};

}  // namespace quorvantell
