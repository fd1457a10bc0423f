// Replies are whole: multi-line replies end at their final line, a reply cut
// across reads waits for its end, and two replies in one read stay two.
#include "classlib/mail/SmtpReplyReader.h"

#include <gtest/gtest.h>

using quorvantell::MailReply;
using quorvantell::SmtpReplyReader;

TEST(SmtpReplyReader, WholeRepliesWhateverTheReads)
{
    struct Row {
        std::vector<std::string> reads;
        std::vector<std::string> codes;  // code of each complete reply, in order
        std::string lastText;
    } rows[] = {
        {{"250-mail.test\r\n250-AUTH LOGIN\r\n250 HELP\r\n"}, {"250"}, "250-mail.test\r\n250-AUTH LOGIN\r\n250 HELP\r\n"},
        {{"2", "20 rea", "dy\r", "\n"}, {"220"}, "220 ready\r\n"},
        {{"250 OK\r\n354 go ahead\r\n"}, {"250", "354"}, "354 go ahead\r\n"},
        {{"250-one\r\n", "250-two\n250 three\n"}, {"250"}, "250-one\r\n250-two\r\n250 three\r\n"},
        {{"+OK Dovecot ready.\r\n-ERR no\r\n"}, {"+OK", "-ER"}, "-ERR no\r\n"},
        {{"250-not ended\r\n250 still"}, {}, ""},
    };
    for (const Row& row : rows) {
        SmtpReplyReader reader;
        std::vector<std::string> codes;
        MailReply reply;
        for (const std::string& read : row.reads) {
            reader.Feed(read);
            while (reader.Next(reply))
                codes.push_back(reply.code);
        }
        EXPECT_EQ(codes, row.codes) << row.reads[0];
        if (!codes.empty()) {
            EXPECT_EQ(reply.text, row.lastText);
        }
    }
}
