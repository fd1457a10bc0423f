// Composition of a mail message's text.
#include "classlib/mail/MailComposer.h"

#include "classlib/mail/MailEncoder.h"

#include <QMimeDatabase>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace quorvantell {

namespace {

constexpr size_t kMaxLine = 998;
constexpr size_t kWordChars = 42;
constexpr const char* kCrLf = "\r\n";
constexpr const char* kFold = "\r\n\t";
constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

// A piece that starts a line of its own gets its leading dot doubled, so the
// server never takes it for the end of the data.
void AppendStuffed(std::string& out, std::string_view piece)
{
    if (!piece.empty() && piece.front() == '.')
        out += '.';
    out.append(piece).append(kCrLf);
}

void AppendBroken(std::string& out, std::string_view line)
{
    while (line.size() > kMaxLine) {
        const size_t space = line.substr(0, kMaxLine).rfind(' ');
        const size_t cut = space == std::string_view::npos ? kMaxLine : space + 1;
        AppendStuffed(out, line.substr(0, cut));
        line.remove_prefix(cut);
    }
    AppendStuffed(out, line);
}

std::string Hex8(uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(value));
    const std::string all = text;
    return all.substr(all.size() - 8);
}

// Days from 1970-01-01 to the given civil date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string Trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::string();
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string MimeLines(const MailHeaderFields& f)
{
    std::string out = "MIME-Version: 1.0\r\n";
    if (f.priority != 3)
        out += "X-Priority: " + std::to_string(f.priority) + "\r\nX-MSMail-Priority: " +
               (f.priority == 1 ? "High" : "Low") + kCrLf;
    if (f.receipt)
        out += "Disposition-Notification-To: " + f.senderEntry + kCrLf;
    if (f.multipart)
        out += std::string("Content-Type: multipart/") + (f.related ? "related;" : "mixed;") + "\r\n\tboundary=" +
               Quoted(f.boundary) + "\r\n\r\nThis is a multi-part message in MIME format.\r\n\r\n--" + f.boundary +
               kCrLf;
    out += std::string("Content-Type: ") + (f.html ? "text/html;" : "text/plain;") + "\r\n\tcharset=" +
           Quoted("iso-8859-1") + kCrLf;
    out += std::string("Content-Transfer-Encoding: ") + (f.eightBit ? "8bit" : "7bit") + kCrLf;
    if (f.html && !f.contentBase.empty())
        out += "Content-Base: " + Quoted(f.contentBase) + kCrLf;
    return out;
}

}  // namespace

PreparedBody MailComposer::PrepareBody(std::string_view text)
{
    PreparedBody body;
    for (const std::string& line : SplitLines(text))
        AppendBroken(body.text, line);
    body.text.resize(body.text.size() - 2);  // the last line's CR LF is the sender's
    body.eightBit = MailEncoder::HasEightBit(body.text);
    return body;
}

std::string MailComposer::NormalizeContentBase(std::string base)
{
    if (base.empty())
        return base;
    std::replace(base.begin(), base.end(), '\\', '/');
    std::string lower = base;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower.find("http://") == std::string::npos)
        base = "http://" + base;
    if (base.back() != '/')
        base += '/';
    return base;
}

std::string MailComposer::EncodeHeaderValue(std::string_view text, bool displayName)
{
    const std::string clean = MailEncoder::StripLineBreaks(text);
    if (!MailEncoder::HasEightBit(clean))
        return displayName ? Quoted(clean) : clean;
    std::string out;
    for (size_t i = 0; i < clean.size(); i += kWordChars) {
        if (i > 0)
            out += kFold;
        out += "=?ISO-8859-1?B?" + MailEncoder::Base64Text(std::string_view(clean).substr(i, kWordChars)) + "?=";
    }
    return out;
}

std::string MailComposer::AddressEntry(std::string_view displayName, std::string_view address)
{
    const std::string name = Trimmed(displayName);
    const std::string clean = MailEncoder::StripLineBreaks(Trimmed(address));
    return (name.empty() ? Quoted(clean) : EncodeHeaderValue(name, true)) + " <" + clean + ">";
}

std::string MailComposer::AddressList(const std::vector<std::string>& addresses, const std::vector<std::string>& names)
{
    std::string out;
    for (size_t i = 0; i < addresses.size(); ++i) {
        if (i > 0)
            out += std::string(", ") + kFold;
        out += AddressEntry(i < names.size() ? names[i] : std::string(), addresses[i]);
    }
    return out;
}

std::string MailComposer::TimeZoneOffsetText(long secondsEast)
{
    const long minutes = std::labs(secondsEast) / 60;
    char text[48];
    std::snprintf(text, sizeof text, "%c%02ld%02ld", secondsEast < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return text;
}

std::string MailComposer::DateText(const std::tm& local, const std::string& zone)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s, %d %s %04d %02d:%02d:%02d ", kDays[local.tm_wday % 7], local.tm_mday,
                  kMonths[local.tm_mon % 12], local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return text + zone;
}

std::string MailComposer::Boundary(const std::tm& local)
{
    const int64_t serial = DaysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                         static_cast<unsigned>(local.tm_mday)) +
                           25569;  // 1899-12-30 to 1970-01-01
    const int64_t seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    const auto fraction = static_cast<uint64_t>(std::llround(static_cast<double>(seconds) * 100000000.0 / 86400.0));
    return "----_=_NextPart_000_" + Hex8(static_cast<uint64_t>(serial)) + "." + Hex8(fraction);
}

std::string MailComposer::MessageId(std::chrono::system_clock::time_point now, const std::string& host)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%d%02d%02d%02d%02d%02d%03d.", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                  utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(ms % 1000));
    static constexpr std::string_view kChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz012345678";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, kChars.size() - 1);
    std::string id = stamp;
    for (int i = 0; i < 20; ++i)
        id += kChars[pick(random)];
    return id + "@" + host;
}

bool MailComposer::EmbedReferences(std::string& body, std::vector<MailAttachment>& attachments)
{
    bool any = false;
    for (MailAttachment& file : attachments) {
        const std::string& name = file.name;
        for (size_t pos = body.find(name); !name.empty() && pos != std::string::npos; pos = body.find(name, pos)) {
            const size_t open = body.rfind('<', pos);
            const size_t close = open == std::string::npos ? open : body.find('>', open);
            const size_t equals = body.rfind('=', pos);
            if (open == std::string::npos || close == std::string::npos || close < pos + name.size() ||
                equals == std::string::npos || equals < open) {
                pos += name.size();
                continue;
            }
            const size_t quote = body.find('"', equals);
            const size_t start = quote < pos ? quote + 1 : equals + 1;
            body.replace(start, pos + name.size() - start, "cid:" + name);
            pos = start + 4 + name.size();
            file.embedded = any = true;
        }
    }
    return any;
}

std::string MailComposer::HeaderBlock(const MailHeaderFields& f)
{
    std::string out = "Message-ID: <" + f.messageId + ">\r\nFrom: " + f.senderEntry + "\r\nTo: " + f.toList + kCrLf;
    if (!f.ccList.empty())
        out += "Cc: " + f.ccList + kCrLf;
    out += "Subject: " + f.subject + kCrLf;
    if (!f.replyTo.empty())
        out += "Reply-to: <" + MailEncoder::StripLineBreaks(f.replyTo) + ">\r\n";
    out += "Date: " + f.date + kCrLf;
    if (f.mime)
        out += MimeLines(f);
    return out + kCrLf;
}

std::string MailComposer::AttachmentHeader(const MailAttachment& file, const std::string& contentType,
                                           const std::string& boundary, bool related)
{
    const std::string name = Quoted(MailEncoder::StripLineBreaks(file.name));
    std::string out = "--" + boundary + "\r\nContent-Type: " + contentType + ";\r\n\tname=" + name +
                      "\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n\tfilename=" +
                      name + kCrLf;
    if (related && file.embedded)
        out += "Content-ID: <" + MailEncoder::StripLineBreaks(file.name) + ">\r\n";
    return out + kCrLf;
}

std::string MailComposer::ContentType(const CRegistry& registry, const std::string& strFile,
                                      const std::string& strDefault)
{
    const size_t dot = strFile.rfind('.');
    const size_t slash = strFile.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return strDefault;
    const std::string stored = registry.GetKeyStr(eRegBaseKey::HKCR, strFile.substr(dot), "Content Type");
    if (!stored.empty())
        return stored;
    const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName(QString::fromStdString(strFile));
    return types.isEmpty() ? strDefault : types.front().name().toStdString();
}

}  // namespace quorvantell
