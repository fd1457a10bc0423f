// SmtpReplyReader: whole replies out of the bytes a server sends, whatever
// way they were cut into reads. A reply is complete with its final line:
// "NNN-" lines continue it, "NNN " (or any other line, such as a POP3 "+OK")
// ends it.
#pragma once

#include <deque>
#include <string>
#include <string_view>

namespace quorvantell {

struct MailReply {
    std::string code;  // the final line's first three characters
    std::string text;  // every line of the reply, each ended by CR LF
};

class SmtpReplyReader {
public:
    void Feed(std::string_view bytes);
    // Takes the oldest complete reply; false when none is complete yet.
    bool Next(MailReply& reply);
    void Clear();

private:
    std::string m_partial;  // bytes of a line not yet ended
    std::string m_lines;    // ended lines of a reply not yet complete
    std::deque<MailReply> m_ready;
};

}  // namespace quorvantell
