// CFTP against real servers on 127.0.0.1: pyftpdlib (MLSD, MFMT) and vsftpd
// (LIST only, MDTM sets times). Every case runs on both.
#include "app/engine/AppError.h"
#include "app/ftp/CFTP.h"
#include "app/ftp/FtpTime.h"
#include "classlib/files/FileTime.h"
#include "tests/app/ftp/FtpServers.h"
#include "tests/app/ftp/FtpTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <set>

namespace velloran {
namespace {

using test::FtpServer;
using test::FtpServerKind;
using test::FtpServerOptions;
using test::FtpListing;
using test::ListFtpTree;
using test::RaisedNumber;

class CFTPServerTest : public testing::TestWithParam<FtpServerKind> {
protected:
    void SetUp() override
    {
        const std::string missing = FtpServer::MissingReason(GetParam());
        if (!missing.empty())
            GTEST_SKIP() << missing;
    }

    std::unique_ptr<FtpServer> Start(const FtpServerOptions& options = {})
    {
        return FtpServer::Start(GetParam(), options);
    }

    static bool Connect(CFTP& ftp, const FtpServer& server, bool passive = true)
    {
        return ftp.Connect(server.Address(), server.User(), server.Password(), passive);
    }

    bool IsVsftpd() const { return GetParam() == FtpServerKind::Vsftpd; }
};

int64_t NowRaw()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return quorvantell::FileTimeFromTimespec(now);
}

int64_t WholeSeconds(int64_t raw)
{
    return raw - raw % quorvantell::kTicksPerSecond;
}

int64_t WholeMinutes(int64_t raw)
{
    return raw - raw % quorvantell::kTicksPerMinute;
}

TEST_P(CFTPServerTest, ListsTheBaseBeforeItsSubfolder)
{
    auto server = Start();
    server->MakeFile("a.txt", "a");
    server->MakeFile("s/b.txt", "bb");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));

    FtpListing all = ListFtpTree(ftp, server->ServerFolder(), true);
    EXPECT_EQ(all.files, (std::vector<std::string>{"a.txt", "s/b.txt"}));
    EXPECT_EQ(all.sizes, (std::vector<int64_t>{1, 2}));
    EXPECT_EQ(all.dirs, 1);
    EXPECT_EQ(ftp.DirBuf(0), "");
    EXPECT_EQ(ftp.DirBuf(1), "s/");

    FtpListing top = ListFtpTree(ftp, server->ServerFolder(), false);
    EXPECT_EQ(top.files, (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(top.dirs, 0);
    EXPECT_EQ(ftp.DirBuf(1), "");  // a new listing starts a new buffer

    // The end stays the end.
    std::string name;
    int64_t time = 0, size = 0;
    int32_t dirs = -1;
    EXPECT_FALSE(ftp.GetNextFile(name, time, size, dirs));
    EXPECT_EQ(dirs, 0);
}

TEST_P(CFTPServerTest, WalksTheTreeBreadthFirstWithHiddenAndEmptyFolders)
{
    auto server = Start();
    server->MakeFile("top.txt", "1");
    server->MakeFile(".hidden", "22");
    server->MakeFile("s/b.txt", "3");
    server->MakeFile("s/t/c.txt", "4");
    server->MakeFile("u/d.txt", "5");
    server->MakeDir("empty");
    server->MakeDir(".config");
    server->MakeFile("with space/x y.txt", "6");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));

    const FtpListing listed = ListFtpTree(ftp, server->ServerFolder(), true);
    ASSERT_EQ(listed.files.size(), 6u);
    // Level by level: the base, then the first level of folders, then s/t/.
    EXPECT_EQ(std::set<std::string>(listed.files.begin(), listed.files.begin() + 2),
              (std::set<std::string>{"top.txt", ".hidden"}));
    EXPECT_EQ(std::set<std::string>(listed.files.begin() + 2, listed.files.begin() + 5),
              (std::set<std::string>{"s/b.txt", "u/d.txt", "with space/x y.txt"}));
    EXPECT_EQ(listed.files[5], "s/t/c.txt");

    ASSERT_EQ(listed.dirs, 6);
    std::vector<std::string> dirs;
    for (int32_t i = 1; i <= listed.dirs; ++i)
        dirs.push_back(ftp.DirBuf(i));
    EXPECT_EQ(std::set<std::string>(dirs.begin(), dirs.begin() + 5),
              (std::set<std::string>{"s/", "u/", "empty/", ".config/", "with space/"}));
    EXPECT_EQ(dirs[5], "s/t/");
    EXPECT_TRUE(ftp.SkippedNames().empty());

    // A file spec other than "*.*;" filters the files, not the folders.
    const FtpListing texts = ListFtpTree(ftp, server->ServerFolder(), true, "*.txt");
    EXPECT_EQ(std::set<std::string>(texts.files.begin(), texts.files.end()),
              (std::set<std::string>{"top.txt", "s/b.txt", "u/d.txt", "with space/x y.txt", "s/t/c.txt"}));
    EXPECT_EQ(texts.dirs, 6);
}

TEST_P(CFTPServerTest, TimesAreExactToTheSecond)
{
    // MLSD on pyftpdlib; LIST made exact with MDTM on vsftpd.
    auto server = Start();
    const int64_t old = *RawFromUtc(2004, 1, 2, 3, 4, 5) + 1'234'567;
    const int64_t recent = WholeSeconds(NowRaw()) - 3 * 86'400 * quorvantell::kTicksPerSecond + 1'000;
    server->MakeFile("old.txt", "o", old);
    server->MakeFile("sub/recent.txt", "r", recent);
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));

    const FtpListing listed = ListFtpTree(ftp, server->ServerFolder(), true);
    ASSERT_EQ(listed.files, (std::vector<std::string>{"old.txt", "sub/recent.txt"}));
    EXPECT_EQ(listed.times[0], WholeSeconds(old));
    EXPECT_EQ(listed.times[1], WholeSeconds(recent));
}

TEST(CFTPListOnly, WithoutMdtmTimesFollowTheListRule)
{
    const std::string missing = FtpServer::MissingReason(FtpServerKind::Pyftpdlib);
    if (!missing.empty())
        GTEST_SKIP() << missing;
    FtpServerOptions options;
    options.offerMlsd = false;
    options.offerMdtm = false;
    auto server = FtpServer::Start(FtpServerKind::Pyftpdlib, options);
    const int64_t old = *RawFromUtc(2004, 1, 2, 3, 4, 5);
    const int64_t recent = WholeSeconds(NowRaw()) - 3 * 86'400 * quorvantell::kTicksPerSecond + 17 * quorvantell::kTicksPerSecond;
    server->MakeFile("old.txt", "o", old);
    server->MakeFile("recent.txt", "r", recent);
    server->MakeFile(".hidden", "h", recent);
    CFTP ftp;
    ASSERT_TRUE(ftp.Connect(server->Address(), server->User(), server->Password(), true));
    const FtpListing listing = ListFtpTree(ftp, "/", false);
    std::map<std::string, int64_t> times;
    for (size_t i = 0; i < listing.files.size(); ++i)
        times[listing.files[i]] = listing.times[i];
    // Older than half a year: the date only; recent: to the minute.
    EXPECT_EQ(times, (std::map<std::string, int64_t>{{".hidden", WholeMinutes(recent)},
                                                     {"old.txt", *RawFromUtc(2004, 1, 2, 0, 0, 0)},
                                                     {"recent.txt", WholeMinutes(recent)}}));
}

TEST_P(CFTPServerTest, GrowsTheFolderBufferPast250)
{
    auto server = Start();
    char name[16];
    for (int i = 0; i < 251; ++i) {
        std::snprintf(name, sizeof name, "d%03d", i);
        server->MakeDir(name);
    }
    server->MakeFile("d250/last.txt", "x");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));

    const FtpListing listed = ListFtpTree(ftp, server->ServerFolder(), true);
    EXPECT_EQ(listed.files, (std::vector<std::string>{"d250/last.txt"}));
    ASSERT_EQ(listed.dirs, 251);
    std::set<std::string> dirs;
    for (int32_t i = 1; i <= 251; ++i)
        dirs.insert(ftp.DirBuf(i));
    EXPECT_EQ(dirs.size(), 251u);
    EXPECT_TRUE(dirs.count("d000/") && dirs.count("d250/"));
    EXPECT_EQ(ftp.DirBuf(500), "");
    EXPECT_THROW(ftp.DirBuf(501), std::out_of_range);
}

TEST_P(CFTPServerTest, ReportsTheFullSizeOfA5GBFile)
{
    auto server = Start();
    server->MakeSparseFile("huge.bin", 5'000'000'000LL);
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));
    const FtpListing listed = ListFtpTree(ftp, server->ServerFolder(), false);
    ASSERT_EQ(listed.files, (std::vector<std::string>{"huge.bin"}));
    EXPECT_EQ(listed.sizes[0], 5'000'000'000LL);
}

TEST_P(CFTPServerTest, AWrongPasswordLeavesNothingOpen)
{
    auto server = Start();
    CFTP ftp;
    EXPECT_FALSE(ftp.Connect(server->Address(), server->User(), "wrong", true));
    EXPECT_EQ(ftp.Command("NOOP"), "");
    EXPECT_EQ(RaisedNumber([&] { ftp.FindFilesInit(server->ServerFolder(), "*.*;", true); }), AppError::kFtpError);
    // The right password still works afterwards, and nowhere else is listening.
    EXPECT_TRUE(Connect(ftp, *server));
    ftp.Disconnect();
    EXPECT_EQ(ftp.Command("NOOP"), "");
    EXPECT_FALSE(ftp.Connect("127.0.0.1:1", server->User(), server->Password(), true));
    EXPECT_FALSE(ftp.Connect("127.0.0.1:99999", server->User(), server->Password(), true));
}

// A server field that names no server ends the session that was open, so
// nothing after the failed Connect reaches the server of before.
TEST_P(CFTPServerTest, AnUnusableServerFieldEndsTheEarlierSession)
{
    auto server = Start();
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));
    EXPECT_FALSE(ftp.Connect("no such host!", server->User(), server->Password(), true));
    EXPECT_EQ(ftp.Command("NOOP"), "");
    EXPECT_EQ(RaisedNumber([&] { ftp.FindFilesInit(server->ServerFolder(), "*.*;", true); }), AppError::kFtpError);
}

// The login goes out as command lines: a user name or password holding a
// line break would add a command of its own. Nothing is sent then.
TEST_P(CFTPServerTest, ALineBreakInTheLoginSendsNothing)
{
    auto server = Start();
    const int before = server->Connections();
    CFTP ftp;
    const std::string injected = "\r\nMKD " + server->Remote("injected");
    EXPECT_FALSE(ftp.Connect(server->Address(), server->User(), server->Password() + injected, true));
    EXPECT_FALSE(ftp.Connect(server->Address(), server->User() + injected, server->Password(), true));
    EXPECT_FALSE(ftp.Connect(server->Address(), server->User(), server->Password() + std::string(1, '\0'), true));
    EXPECT_FALSE(test::Exists(server->Local("injected")));
    EXPECT_EQ(server->Connections(), before) << server->Log();
}

TEST_P(CFTPServerTest, UploadReplacesAndKeepsTheLocalTime)
{
    auto server = Start();
    test::TempDir local("ftp-local");
    // Bytes that a text-mode transfer would change.
    const std::string first("line\r\nline\n\0\xff end", 17);
    const std::string second = "replaced";
    const int64_t stamp = *RawFromUtc(2004, 1, 2, 3, 4, 5) + 9'999'999;
    test::WriteFile(local / "f.bin", first);
    test::SetFileTime(local / "f.bin", stamp);
    server->MakeFile("f.bin", "older content");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));

    ASSERT_TRUE(ftp.PutFile(local / "f.bin", server->Remote("f.bin")));
    ftp.SetTime(server->Remote("f.bin"), stamp);
    EXPECT_EQ(test::ReadFile(server->Local("f.bin")), first);
    EXPECT_EQ(test::GetFileTime(server->Local("f.bin")), WholeSeconds(stamp));
    // What the server itself reports.
    const std::string mdtm = ftp.Command("MDTM " + server->Remote("f.bin"));
    EXPECT_EQ(mdtm.substr(0, 4), "213 ");
    EXPECT_EQ(ParseFtpTime(mdtm.substr(4, 14)), WholeSeconds(stamp));

    test::WriteFile(local / "f.bin", second);
    const int64_t recent = WholeSeconds(NowRaw()) - 86'400 * quorvantell::kTicksPerSecond + 123;
    test::SetFileTime(local / "f.bin", recent);
    ASSERT_TRUE(ftp.PutFile(local / "f.bin", server->Remote("f.bin")));
    ftp.SetTime(server->Remote("f.bin"), recent);
    EXPECT_EQ(test::ReadFile(server->Local("f.bin")), second);
    EXPECT_EQ(test::GetFileTime(server->Local("f.bin")), WholeSeconds(recent));
    const FtpListing listed = ListFtpTree(ftp, server->ServerFolder(), false);
    ASSERT_EQ(listed.files.size(), 1u);
    EXPECT_EQ(listed.times[0], WholeSeconds(recent));

    test::WriteFile(local / "empty.bin", "");
    EXPECT_TRUE(ftp.PutFile(local / "empty.bin", server->Remote("empty.bin")));
    EXPECT_TRUE(test::Exists(server->Local("empty.bin")));
    EXPECT_EQ(test::ReadFile(server->Local("empty.bin")), "");

    EXPECT_FALSE(ftp.PutFile(local / "missing.bin", server->Remote("m.bin")));
    EXPECT_FALSE(ftp.PutFile(local.Path(), server->Remote("folder.bin")));
    EXPECT_FALSE(test::Exists(server->Local("m.bin")));
}

TEST_P(CFTPServerTest, SetTimeSendsTheMdtmCommand)
{
    auto server = Start();
    server->MakeFile("index.html", "x");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));
    ftp.SetTime(server->Remote("index.html"), *RawFromUtc(2004, 5, 21, 14, 30, 5));
    EXPECT_EQ(test::GetFileTime(server->Local("index.html")), *RawFromUtc(2004, 5, 21, 14, 30, 5));
    if (IsVsftpd()) {
        // vsftpd logs each command (its name in capitals); pyftpdlib refused
        // it and took MFMT instead.
        EXPECT_NE(server->Log().find("\"MDTM 20040521143005 " + server->Remote("index.html") + "\""),
                  std::string::npos);
    }
    // A missing file is no error the caller sees.
    ftp.SetTime(server->Remote("missing.html"), *RawFromUtc(2004, 5, 21, 14, 30, 5));
    EXPECT_EQ(ftp.Command("NOOP").substr(0, 3), "200");
}

TEST_P(CFTPServerTest, DownloadReplacesAndAFailureKeepsTheOldFile)
{
    auto server = Start();
    test::TempDir local("ftp-local");
    const std::string contents("\r\n\0binary\xff", 10);
    server->MakeFile("get.bin", contents);
    server->MakeFile("empty.bin", "");
    test::WriteFile(local / "get.bin", "old local copy");
    test::WriteFile(local / "keep.bin", "must survive");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));

    EXPECT_TRUE(ftp.GetFile(server->Remote("get.bin"), local / "get.bin"));
    EXPECT_EQ(test::ReadFile(local / "get.bin"), contents);
    EXPECT_TRUE(ftp.GetFile(server->Remote("empty.bin"), local / "new-empty.bin"));
    EXPECT_EQ(test::ReadFile(local / "new-empty.bin"), "");

    EXPECT_FALSE(ftp.GetFile(server->Remote("missing.bin"), local / "keep.bin"));
    EXPECT_EQ(test::ReadFile(local / "keep.bin"), "must survive");
    EXPECT_FALSE(ftp.GetFile(server->Remote("get.bin"), local / "no-such-folder/x.bin"));
    EXPECT_EQ(test::ListTree(local.Path()), (std::vector<std::string>{"get.bin", "keep.bin", "new-empty.bin"}));
}

TEST_P(CFTPServerTest, FoldersAndDeletes)
{
    auto server = Start();
    server->MakeFile("gone.txt", "x");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));

    EXPECT_TRUE(ftp.CreateDir(server->Remote("new")));
    EXPECT_TRUE(test::Exists(server->Local("new")));
    EXPECT_FALSE(ftp.CreateDir(server->Remote("new")));            // exists already
    EXPECT_FALSE(ftp.CreateDir(server->Remote("no/such/parent")));  // one level only
    EXPECT_TRUE(ftp.Delete(server->Remote("gone.txt")));
    EXPECT_FALSE(test::Exists(server->Local("gone.txt")));
    EXPECT_FALSE(ftp.Delete(server->Remote("gone.txt")));
    EXPECT_TRUE(ftp.RemoveDir(server->Remote("new")));
    EXPECT_FALSE(test::Exists(server->Local("new")));
    EXPECT_FALSE(ftp.RemoveDir(server->Remote("new")));
}

TEST_P(CFTPServerTest, CommandReturnsTheReplyAndSendsOneLineOnly)
{
    auto server = Start();
    server->MakeFile("stay.txt", "x");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));

    EXPECT_EQ(ftp.Command("NOOP").substr(0, 3), "200");
    const std::string refused = ftp.Command("NOSUCHCOMMAND");
    EXPECT_EQ(refused.front(), '5');
    EXPECT_EQ(refused.substr(refused.size() - 2), "\r\n");
    // A multi-line reply comes whole.
    const std::string features = ftp.Command("FEAT");
    EXPECT_EQ(features.substr(0, 4), "211-");
    EXPECT_NE(features.find("\r\n211 "), std::string::npos);
    // Relative paths are read against the login folder, whatever ran before.
    ListFtpTree(ftp, server->ServerFolder(), true);
    const std::string relative = IsVsftpd() ? "pub/stay.txt" : "stay.txt";
    EXPECT_EQ(ftp.Command("MDTM " + relative).substr(0, 4), "213 ");
    EXPECT_EQ(ftp.Command("NOOP\r\nDELE " + server->Remote("stay.txt")), "");
    EXPECT_TRUE(test::Exists(server->Local("stay.txt")));
}

TEST_P(CFTPServerTest, OneControlConnectionServesTheWholeSession)
{
    auto server = Start();
    test::TempDir local("ftp-local");
    server->MakeFile("a.txt", "a");
    server->MakeFile("s/b.txt", "b");
    test::WriteFile(local / "up.txt", "up");
    const int before = server->Connections();
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));
    ListFtpTree(ftp, server->ServerFolder(), true);
    ASSERT_TRUE(ftp.CreateDir(server->Remote("n")));
    ASSERT_TRUE(ftp.PutFile(local / "up.txt", server->Remote("n/up.txt")));
    ftp.SetTime(server->Remote("n/up.txt"), *RawFromUtc(2010, 1, 1, 0, 0, 0));
    ASSERT_TRUE(ftp.GetFile(server->Remote("s/b.txt"), local / "b.txt"));
    ASSERT_TRUE(ftp.Delete(server->Remote("n/up.txt")));
    ASSERT_TRUE(ftp.RemoveDir(server->Remote("n")));
    ListFtpTree(ftp, server->ServerFolder(), true);
    ftp.Disconnect();
    EXPECT_EQ(server->Connections(), before + 1) << server->Log();
}

TEST_P(CFTPServerTest, ActiveModeListsAndTransfers)
{
    auto server = Start();
    test::TempDir local("ftp-local");
    server->MakeFile("s/b.txt", "bb");
    test::WriteFile(local / "up.txt", "active");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server, false));
    EXPECT_EQ(ListFtpTree(ftp, server->ServerFolder(), true).files, (std::vector<std::string>{"s/b.txt"}));
    EXPECT_TRUE(ftp.PutFile(local / "up.txt", server->Remote("up.txt")));
    EXPECT_EQ(test::ReadFile(server->Local("up.txt")), "active");
    EXPECT_TRUE(ftp.GetFile(server->Remote("s/b.txt"), local / "b.txt"));
    EXPECT_EQ(test::ReadFile(local / "b.txt"), "bb");
}

TEST_P(CFTPServerTest, NamesTravelAsTheirBytes)
{
    auto server = Start();
    test::TempDir local("ftp-local");
    std::vector<std::string> names = {"with space.txt", "%41 #?;.txt", "\xc3\xbcml\xc3\xa4ut.txt", "-a"};
    if (IsVsftpd())
        names.push_back("latin1-\xfc.txt");  // not UTF-8; pyftpdlib would replace the byte
    for (const auto& name : names)
        test::WriteFile(local / name, name);
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));
    ASSERT_TRUE(ftp.CreateDir(server->Remote("d ir")));
    for (const auto& name : names)
        ASSERT_TRUE(ftp.PutFile(local / name, server->Remote("d ir/" + name))) << name;

    const FtpListing listed = ListFtpTree(ftp, server->ServerFolder(), true);
    std::set<std::string> expected;
    for (const auto& name : names)
        expected.insert("d ir/" + name);
    EXPECT_EQ(std::set<std::string>(listed.files.begin(), listed.files.end()), expected);
    for (const auto& name : names) {
        ASSERT_TRUE(ftp.GetFile(server->Remote("d ir/" + name), local / ("back-" + name))) << name;
        EXPECT_EQ(test::ReadFile(local / ("back-" + name)), name);
    }
}

TEST_P(CFTPServerTest, AServerThatRefusesWritesReportsFalse)
{
    FtpServerOptions options;
    options.writable = false;
    auto server = Start(options);
    test::TempDir local("ftp-local");
    server->MakeFile("existing.txt", "original");
    server->MakeDir("folder");
    test::WriteFile(local / "up.txt", "new");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));

    EXPECT_FALSE(ftp.PutFile(local / "up.txt", server->Remote("up.txt")));
    EXPECT_FALSE(ftp.PutFile(local / "up.txt", server->Remote("existing.txt")));
    EXPECT_FALSE(ftp.CreateDir(server->Remote("new")));
    EXPECT_FALSE(ftp.Delete(server->Remote("existing.txt")));
    EXPECT_FALSE(ftp.RemoveDir(server->Remote("folder")));
    EXPECT_EQ(test::ReadFile(server->Local("existing.txt")), "original");
    EXPECT_FALSE(test::Exists(server->Local("up.txt")));
    EXPECT_FALSE(test::Exists(server->Local("new")));
    // Reading still works on the same session.
    EXPECT_EQ(ListFtpTree(ftp, server->ServerFolder(), true).files, (std::vector<std::string>{"existing.txt"}));
}

TEST_P(CFTPServerTest, AServerThatCannotBeListedRaisesTheFtpError)
{
    FtpServerOptions options;
    options.listable = false;
    auto server = Start(options);
    server->MakeFile("a.txt", "a");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));
    EXPECT_EQ(RaisedNumber([&] { ftp.FindFilesInit(server->ServerFolder(), "*.*;", true); }), AppError::kFtpError);
}

TEST_P(CFTPServerTest, AMissingBaseRaisesAndAnEmptyOneEndsAtOnce)
{
    auto server = Start();
    server->MakeDir("empty");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp, *server));
    const FtpListing empty = ListFtpTree(ftp, server->Remote("empty/"), true);
    EXPECT_TRUE(empty.files.empty());
    EXPECT_EQ(empty.dirs, 0);
    EXPECT_EQ(RaisedNumber([&] { ftp.FindFilesInit(server->Remote("missing/"), "*.*;", true); }), AppError::kFtpError);
}

INSTANTIATE_TEST_SUITE_P(Servers, CFTPServerTest, testing::Values(FtpServerKind::Pyftpdlib, FtpServerKind::Vsftpd),
                         [](const testing::TestParamInfo<FtpServerKind>& info) {
                             return info.param == FtpServerKind::Pyftpdlib ? "pyftpdlib" : "vsftpd";
                         });

}  // namespace
}  // namespace velloran
