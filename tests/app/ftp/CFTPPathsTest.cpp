// CFTP's path functions, the server field and FTP time texts: pure string
// work, no server needed.
#include "app/ftp/CFTP.h"
#include "app/ftp/FtpAddress.h"
#include "app/ftp/FtpTime.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace velloran {
namespace {

TEST(CFTPPaths, SlashFunctions)
{
    EXPECT_EQ(CFTP::AddSlash(""), "/");
    EXPECT_EQ(CFTP::AddSlash("/pub/"), "/pub/");
    EXPECT_EQ(CFTP::AddSlash("/pub"), "/pub/");
    EXPECT_EQ(CFTP::PrependSlash("pub"), "/pub");
    EXPECT_EQ(CFTP::PrependSlash("/pub"), "/pub");
    EXPECT_EQ(CFTP::PrependSlash(""), "/");
    EXPECT_EQ(CFTP::StripSlash("/pub//"), "/pub/");
    EXPECT_EQ(CFTP::StripSlash("/pub"), "/pub");
    EXPECT_EQ(CFTP::SlashToDos("a/b/c.txt"), "a\\b\\c.txt");
    EXPECT_EQ(CFTP::SlashToUnix("a\\b\\c.txt"), "a/b/c.txt");
}

TEST(CFTPPaths, NamesAndFolders)
{
    EXPECT_EQ(CFTP::FileNameFromPath("file.txt"), "file.txt");
    EXPECT_EQ(CFTP::FileNameFromPath("/a/"), "");
    EXPECT_EQ(CFTP::FileNameFromPath("/a/b.txt"), "b.txt");
    EXPECT_EQ(CFTP::PathOnly("file.txt"), "");
    EXPECT_EQ(CFTP::PathOnly("/a/b.txt"), "/a/");
    EXPECT_EQ(CFTP::FileTitle("/a/b.txt"), "b");
    EXPECT_EQ(CFTP::FileTitle("/a/b.tar.gz"), "b.tar");
}

TEST(CFTPPaths, StripDomain)
{
    EXPECT_EQ(CFTP::StripDomain("ftp://server/x/y"), "/x/y");
    EXPECT_EQ(CFTP::StripDomain("ftp://server/dir/f.txt"), "/dir/f.txt");
    EXPECT_EQ(CFTP::StripDomain("ftp://s/"), "/");
    EXPECT_EQ(CFTP::StripDomain("ftpes://server:21/dir/f.txt"), "/dir/f.txt");
    EXPECT_EQ(CFTP::StripDomain("sftp://s/home/f.txt"), "/home/f.txt");
    EXPECT_THROW(CFTP::StripDomain("ftp://server"), std::invalid_argument);
    EXPECT_THROW(CFTP::StripDomain("a/b"), std::invalid_argument);
}

TEST(CFTPPaths, BuffersOutsideTheirBoundsThrow)
{
    CFTP ftp;
    EXPECT_THROW(ftp.DirBuf(0), std::out_of_range);
    EXPECT_THROW(ftp.FileBuf(0), std::out_of_range);
    EXPECT_THROW(ftp.DirBuf(-1), std::out_of_range);
}

TEST(CFTPPaths, NothingIsSentWithoutAConnection)
{
    CFTP ftp;
    EXPECT_EQ(ftp.Command("NOOP"), "");
    EXPECT_FALSE(ftp.Delete("/x"));
    EXPECT_FALSE(ftp.CreateDir("/x"));
    EXPECT_FALSE(ftp.GetFile("/x", "/tmp/velloran-never-written"));
    ftp.SetTime("/x", 0);
    ftp.Disconnect();
    ftp.Disconnect();
}

TEST(FtpServerField, HostPortAndAddress)
{
    struct Case {
        const char* text;
        const char* host;
        int port;
        FtpScheme scheme = FtpScheme::Ftp;
    };
    const Case cases[] = {
        {"ftp.example.com", "ftp.example.com", 21},
        {"ftp.example.com:2121", "ftp.example.com", 2121},
        {"ftp://ftp.example.com", "ftp.example.com", 21},
        {"FTP://127.0.0.1:4021/", "127.0.0.1", 4021},
        {"  host  ", "host", 21},
        {"[::1]:2121", "::1", 2121},
        {"ftp://[::1]", "::1", 21},
        {"fe80::1", "fe80::1", 21},
        {"ftpes://host", "host", 21, FtpScheme::Ftpes},
        {"FTPS://host/", "host", 990, FtpScheme::Ftps},
        {"ftps://[::1]:9990", "::1", 9990, FtpScheme::Ftps},
    };
    for (const auto& c : cases) {
        const auto address = FtpAddress::Parse(c.text);
        ASSERT_TRUE(address.has_value()) << c.text;
        EXPECT_EQ(address->host, c.host) << c.text;
        EXPECT_EQ(address->port, c.port) << c.text;
        EXPECT_EQ(address->scheme, c.scheme) << c.text;
    }
}

TEST(FtpServerField, RejectsWhatNamesNoServer)
{
    for (const char* text : {"", "ftp://", "host:", "host:0", "host:65536", "host:21x", "user@host", "host/dir",
                             "ftp://host/dir/", "[::1", "[::1]x", "ho st", "host:-1",
                             "ftpes:/host", "ftps://", "http://host"})
        EXPECT_FALSE(FtpAddress::Parse(text).has_value()) << text;
}

TEST(FtpTimeText, FormatsFourteenDigits)
{
    // 2004-01-02 03:04:05 UTC, plus a fraction the text leaves out.
    const int64_t raw = *RawFromUtc(2004, 1, 2, 3, 4, 5) + 1'234'567;
    EXPECT_EQ(FormatFtpTime(raw), "20040102030405");
    EXPECT_EQ(FormatFtpTime(*RawFromUtc(2004, 5, 21, 14, 30, 5)), "20040521143005");
    EXPECT_EQ(FormatFtpTime(*RawFromUtc(1601, 1, 1, 0, 0, 0)), "16010101000000");
    EXPECT_EQ(FormatFtpTime(*RawFromUtc(1969, 12, 31, 23, 59, 59)), "19691231235959");
    EXPECT_EQ(FormatFtpTime(*RawFromUtc(2400, 2, 29, 12, 0, 0)), "24000229120000");
}

TEST(FtpTimeText, ParsesExactly)
{
    EXPECT_EQ(ParseFtpTime("20040102030405"), RawFromUtc(2004, 1, 2, 3, 4, 5));
    EXPECT_EQ(ParseFtpTime("20040102030405.5"), *RawFromUtc(2004, 1, 2, 3, 4, 5) + 5'000'000);
    EXPECT_EQ(ParseFtpTime("20040102030405.1234567"), *RawFromUtc(2004, 1, 2, 3, 4, 5) + 1'234'567);
    EXPECT_EQ(ParseFtpTime("20040102030405.123456789"), *RawFromUtc(2004, 1, 2, 3, 4, 5) + 1'234'567);
    // The Unix epoch is 11,644,473,600 seconds after 1601.
    EXPECT_EQ(ParseFtpTime("19700101000000"), 116'444'736'000'000'000LL);
    for (const char* bad : {"", "2004010203040", "20041302030405", "20040230030405", "20040102240000",
                            "20040102030405.", "20040102030405x", "2004010203040a"})
        EXPECT_FALSE(ParseFtpTime(bad).has_value()) << bad;
    for (int64_t raw : {int64_t{0}, *RawFromUtc(2038, 1, 19, 3, 14, 8), *RawFromUtc(2100, 3, 1, 0, 0, 0)})
        EXPECT_EQ(ParseFtpTime(FormatFtpTime(raw)), raw);
}

}  // namespace
}  // namespace velloran
