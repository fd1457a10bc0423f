// Line assembly of SMTP and POP3 replies.
#include "classlib/mail/SmtpReplyReader.h"

namespace quorvantell {

namespace {

bool ContinuesReply(std::string_view line)
{
    return line.size() >= 4 && line[3] == '-' && line.substr(0, 3).find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

void SmtpReplyReader::Feed(std::string_view bytes)
{
    m_partial.append(bytes);
    for (size_t end = m_partial.find('\n'); end != std::string::npos; end = m_partial.find('\n')) {
        std::string line = m_partial.substr(0, end);
        m_partial.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        m_lines += line + "\r\n";
        if (!ContinuesReply(line)) {
            m_ready.push_back(MailReply{line.substr(0, 3), m_lines});
            m_lines.clear();
        }
    }
}

bool SmtpReplyReader::Next(MailReply& reply)
{
    if (m_ready.empty())
        return false;
    reply = std::move(m_ready.front());
    m_ready.pop_front();
    return true;
}

void SmtpReplyReader::Clear()
{
    m_partial.clear();
    m_lines.clear();
    m_ready.clear();
}

}  // namespace quorvantell
