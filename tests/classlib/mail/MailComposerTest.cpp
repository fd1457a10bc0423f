// Message composition rules that need no server: line ends, dot-stuffing
// and long lines, encoded words, the time-zone text, the boundary, the web
// base and content types. What a server receives is in qvSendMailTest.
#include "classlib/mail/MailComposer.h"
#include "classlib/mail/MailEncoder.h"
#include "classlib/general/SettingsStore.h"

#include <gtest/gtest.h>

using quorvantell::MailComposer;
using quorvantell::MailEncoder;

TEST(MailComposer, BodyLinesAreStuffedBrokenAndEndedWithCrLf)
{
    const std::string longWord(2000, 'x');
    const std::string spaced = std::string(990, 'a') + " " + std::string(20, 'b');
    struct Row {
        std::string text;
        std::string prepared;
    } rows[] = {
        {"one\r\n.two\r\n..three", "one\r\n..two\r\n...three"},
        {"lf\n.dot\nend", "lf\r\n..dot\r\nend"},
        {"cr\r.dot", "cr\r\n..dot"},
        {".", ".."},
        {longWord, std::string(998, 'x') + "\r\n" + std::string(998, 'x') + "\r\nxxxx"},
        {spaced, std::string(990, 'a') + " \r\n" + std::string(20, 'b')},
        // A piece cut off a long line that starts with a dot is a line of its own.
        {std::string(998, 'y') + ".", std::string(998, 'y') + "\r\n.."},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MailComposer::PrepareBody(row.text).text, row.prepared) << row.text.substr(0, 20);
    EXPECT_FALSE(MailComposer::PrepareBody("plain ~").eightBit);
    EXPECT_TRUE(MailComposer::PrepareBody(MailEncoder::ToLatin1("caf\xC3\xA9")).eightBit);
}

TEST(MailComposer, HeaderValuesAreQuotedOrEncodedWithoutLineBreaks)
{
    const std::string subject = MailEncoder::ToLatin1("Na\xC3\xAFve subject of fifty characters, give or take a!");
    ASSERT_EQ(subject.size(), 50u);
    const std::string encoded = MailComposer::EncodeHeaderValue(subject, false);
    const size_t fold = encoded.find("\r\n\t");
    ASSERT_NE(fold, std::string::npos);
    EXPECT_EQ(encoded.substr(0, fold), "=?ISO-8859-1?B?" + MailEncoder::Base64Text(subject.substr(0, 42)) + "?=");
    EXPECT_EQ(encoded.substr(fold + 3), "=?ISO-8859-1?B?" + MailEncoder::Base64Text(subject.substr(42)) + "?=");

    EXPECT_EQ(MailComposer::EncodeHeaderValue("Plain Name", true), "\"Plain Name\"");
    EXPECT_EQ(MailComposer::EncodeHeaderValue("Plain subject", false), "Plain subject");
    EXPECT_EQ(MailComposer::EncodeHeaderValue("Hi\r\nBcc: victim@example.com", false), "HiBcc: victim@example.com");
    EXPECT_EQ(MailComposer::AddressEntry("", " a@b.com "), "\"a@b.com\" <a@b.com>");
    EXPECT_EQ(MailComposer::AddressEntry("Ann", "a@b.com\r\nX: y"), "\"Ann\" <a@b.comX: y>");
    EXPECT_EQ(MailComposer::AddressList({"a@b.com", "c@d.com"}, {"Ann", ""}),
              "\"Ann\" <a@b.com>, \r\n\t\"c@d.com\" <c@d.com>");
    EXPECT_EQ(MailEncoder::ToLatin1("\xE2\x82\xAC \xC3\xA9"), "? \xE9");
}

TEST(MailComposer, TimeZoneDateAndBoundaryTexts)
{
    struct Zone {
        long secondsEast;
        const char* text;
    } zones[] = {{3600, "+0100"}, {-18000, "-0500"}, {19800, "+0530"}, {0, "+0000"}, {-1800, "-0030"}};
    for (const Zone& zone : zones)
        EXPECT_EQ(MailComposer::TimeZoneOffsetText(zone.secondsEast), zone.text);

    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 6;
    when.tm_wday = 0;
    when.tm_hour = 15;
    when.tm_min = 55;
    when.tm_sec = 30;
    EXPECT_EQ(MailComposer::Boundary(when), "----_=_NextPart_000_0000B51A.03F47BF7");
    EXPECT_EQ(MailComposer::DateText(when, "+0100"), "Sun, 6 Dec 2026 15:55:30 +0100");

    const std::string id = MailComposer::MessageId(std::chrono::system_clock::from_time_t(0) + std::chrono::milliseconds(7), "mail.host");
    EXPECT_EQ(id.substr(0, 18), "19700101000000007.");
    EXPECT_EQ(id.substr(38), "@mail.host");
    EXPECT_EQ(id.substr(18, 20).find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz012345678"),
              std::string::npos);
}

TEST(MailComposer, ContentBaseAndContentTypes)
{
    EXPECT_EQ(MailComposer::NormalizeContentBase("www.example.com\\docs"), "http://www.example.com/docs/");
    EXPECT_EQ(MailComposer::NormalizeContentBase("HTTP://example.com/"), "HTTP://example.com/");
    EXPECT_EQ(MailComposer::NormalizeContentBase(""), "");

    quorvantell::CRegistry registry;
    registry.SetKeyStr(quorvantell::eRegBaseKey::HKCR, ".vell", "Content Type", "application/x-velloran");
    EXPECT_EQ(MailComposer::ContentType(registry, "/tmp/a.vell", "d"), "application/x-velloran");
    EXPECT_EQ(MailComposer::ContentType(registry, "/tmp/logo.gif", "d"), "image/gif");
    EXPECT_EQ(MailComposer::ContentType(registry, "/tmp.d/README", "d"), "d");
    EXPECT_EQ(MailComposer::ContentType(registry, "/tmp/a.unknownextension", "d"), "d");
    registry.DeleteKey(quorvantell::eRegBaseKey::HKCR, ".vell");
}
