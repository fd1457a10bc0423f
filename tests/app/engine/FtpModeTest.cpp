// FTP mode of the engine against real servers on 127.0.0.1 (pyftpdlib with
// MLSD and MFMT, vsftpd with LIST and MDTM): the scan and comparison with
// the FTP tolerance, the upload with its messages, warning lines and time
// stamps, servers that refuse, cannot be listed or list hostile names, the
// survey, cancelling, and the folder history.
#include "app/engine/AppError.h"
#include "app/engine/FtpFolderHistory.h"
#include "tests/app/ftp/FtpServers.h"
#include "tests/app/ftp/FtpTestSupport.h"
#include "tests/app/support/EngineFixture.h"

#include "classlib/general/CGeneral.h"

#include <algorithm>
#include <cstdlib>

namespace velloran::test {
namespace {

using quorvantell::MB_ICONINFORMATION;
using quorvantell::MB_ICONWARNING;

constexpr const char* kConnectionError = "An error occurred with the FTP connection";
constexpr const char* kListingFailed = "Error getting list of files from FTP server.  No files were copied.";
constexpr const char* kUploadFailed = "Error occurred while copying files to FTP server.";
constexpr const char* kCancelQuestion = "Are you sure you wish to cancel this operation?";
constexpr int64_t kHour = 60 * kMinute;

int Occurrences(const std::string& text, const std::string& marker)
{
    int count = 0;
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1))
        ++count;
    return count;
}

class FtpEngineTest : public EngineFixture {
protected:
    void SetUp() override
    {
        const std::string missing = FtpServer::MissingReason(Kind());
        if (!missing.empty())
            GTEST_SKIP() << missing;
    }
    // The server the case needs.
    virtual FtpServerKind Kind() const { return FtpServerKind::Pyftpdlib; }

    std::unique_ptr<FtpServer> StartServer(FtpServerKind kind, const FtpServerOptions& options = {})
    {
        auto server = FtpServer::Start(kind, options);
        UseServer(*server);
        return server;
    }

    void UseServer(const FtpServer& server, const std::string& password = "")
    {
        sync.modeFTP = true;
        host.site.Server = server.Address();
        host.site.Username = server.User();
        host.site.Passwd = password.empty() ? server.Password() : password;
        host.site.FTPDirs = {server.ServerFolder()};
        host.site.Pasv = 1;
        host.site.SubDirs = 1;
    }

    // The scan and comparison of the details window in FTP mode.
    void ScanServer()
    {
        ASSERT_TRUE(sync.checkFoldersValid());
        sync.progressBar = &host.ProgressBar();
        sync.ScanAndCompare(host.StatusLabel());
    }

    // Size of the right side of the pair `relative`; -1 when there is none.
    int64_t RightSize(const std::string& relative)
    {
        for (int32_t i = 0; i < sync.m_arrFile.nVells(); ++i)
            if (sync.m_arrFile.FileAt(i, 1) == relative)
                return sync.m_arrFile.SizeAt(i, 1);
        return -1;
    }

    std::vector<std::string> Keys(CVellList& list)
    {
        std::vector<std::string> keys;
        for (int32_t i = 0; i < list.nVells(); ++i)
            keys.emplace_back(list.FileAt(i, 0).empty() ? list.FileAt(i, 1) : list.FileAt(i, 0));
        return keys;
    }

    // Sets Cancel once, at the first event-loop turn after `caption` was shown.
    void CancelAfterCaption(const std::string& caption)
    {
        for (int turn = 1; turn < 2000; ++turn)
            host.AtTurn(turn, [this, caption] {
                if (!m_cancelled && !host.captions.empty() && host.captions.back() == caption) {
                    m_cancelled = true;
                    sync.Cancel = true;
                }
            });
    }

    bool m_cancelled = false;
};

// Cases that run on both servers.
class FtpModeTest : public FtpEngineTest, public testing::WithParamInterface<FtpServerKind> {
protected:
    FtpServerKind Kind() const override { return GetParam(); }
    std::unique_ptr<FtpServer> Start(const FtpServerOptions& options = {}) { return StartServer(GetParam(), options); }
    // What the server logs for one command.
    std::string Logged(const std::string& command) const
    {
        return GetParam() == FtpServerKind::Vsftpd ? "\"" + command + " " : "] " + command + " ";
    }
};

TEST_P(FtpModeTest, ComparisonUsesTheFtpToleranceAndNoLeftOffset)
{
    auto server = Start();
    // An offset that would make every left file newer if it were applied.
    sync.Options.LeftTimeOffset = 60;
    Put(0, "equal.txt", "12345", kBaseTime + 10 * kSecond);
    server->MakeFile("equal.txt", "12345", kBaseTime);
    Put(0, "size.txt", "1234", kBaseTime + 10 * kSecond);
    server->MakeFile("size.txt", "12345", kBaseTime);
    Put(0, "newer.txt", "12345", kBaseTime + 10'001 * kMs);
    server->MakeFile("newer.txt", "12345", kBaseTime);
    Put(0, "server-newer.txt", "12345", kBaseTime);
    server->MakeFile("server-newer.txt", "12345", kBaseTime + kHour);
    Put(0, "server-newer-size.txt", "1234", kBaseTime);
    server->MakeFile("server-newer-size.txt", "12345", kBaseTime + kHour);
    Put(0, "left-only.txt", "l");
    server->MakeFile("server-only.txt", "r", kBaseTime);
    Folder(0, "left-folder");
    server->MakeDir("server-folder");

    ScanServer();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(WayOf("equal.txt"), 0);
    EXPECT_EQ(WayOf("size.txt"), 5);
    EXPECT_EQ(WayOf("newer.txt"), 2);
    EXPECT_EQ(WayOf("server-newer.txt"), 0);
    EXPECT_EQ(WayOf("server-newer-size.txt"), 5);
    EXPECT_EQ(WayOf("left-only.txt"), 1);
    EXPECT_EQ(WayOf("server-only.txt"), 4);
    EXPECT_EQ(FolderWayOf("left-folder/"), 1);
    EXPECT_EQ(FolderWayOf("server-folder/"), 4);
    EXPECT_EQ(RightSize("size.txt"), 5);

    sync.Options.IgnoreNewerOnServer = false;
    ScanServer();
    EXPECT_EQ(WayOf("server-newer.txt"), 3);
    EXPECT_EQ(WayOf("server-newer-size.txt"), 3);
    EXPECT_EQ(WayOf("equal.txt"), 0);
    EXPECT_EQ(host.captions.back(), "Analysing file info...");
    EXPECT_EQ(host.progressValues.back(), 100);
}

TEST_P(FtpModeTest, DotFilterLooksAtTheLastElementOnlyAndAnUploadSendsEverything)
{
    auto server = Start();
    sync.Options.FilterDotFiles = true;
    Put(0, ".hidden", "h");
    Put(0, "sub/.x", "x");
    Put(0, ".git/config", "c");
    Put(0, "keep.txt", "k");
    server->MakeFile(".srv", "s", kBaseTime);
    server->MakeFile(".cfg/inside.txt", "i", kBaseTime);

    ScanServer();
    EXPECT_EQ(Keys(sync.m_arrFile), (std::vector<std::string>{".cfg/inside.txt", ".git/config", "keep.txt"}));
    EXPECT_EQ(Keys(sync.m_arrDir), (std::vector<std::string>{".cfg/", ".git/", "sub/"}));

    EXPECT_TRUE(sync.DoCopyFTP());
    EXPECT_EQ(ReadFile(server->Local(".hidden")), "h");
    EXPECT_EQ(ReadFile(server->Local("sub/.x")), "x");
    EXPECT_EQ(ReadFile(server->Local(".git/config")), "c");
}

TEST_P(FtpModeTest, UploadMakesNewFoldersFirstAndStampsEveryFile)
{
    auto server = Start();
    const int64_t odd = kBaseTime - 400 * 24 * kHour + 7 * kSecond + 400 * kMs;
    Put(0, "new/a.txt", "aaa", odd);
    Put(0, "new/deeper/b.txt", "bb", odd + kMinute);
    Put(0, "top.txt", "top", odd + 2 * kMinute);
    Put(0, "changed.txt", "new contents", kBaseTime);
    server->MakeFile("changed.txt", "old", kBaseTime - kHour);
    sync.Options.IgnoreNewerOnServer = false;
    Put(0, "kept.txt", "left", kBaseTime);
    server->MakeFile("kept.txt", "serv", kBaseTime + kHour);
    Put(0, "size.txt", "1234", kBaseTime + 5 * kSecond);
    server->MakeFile("size.txt", "12345", kBaseTime);
    Folder(0, "empty");
    ASSERT_TRUE(sync.checkFoldersValid());

    EXPECT_TRUE(sync.DoCopyFTP());
    EXPECT_TRUE(host.messages.empty()) << host.messages.front().text;
    for (const std::string name : {"new/a.txt", "new/deeper/b.txt", "top.txt", "changed.txt"}) {
        EXPECT_EQ(ReadFile(server->Local(name)), ReadFile(PathOf(0, name))) << name;
        EXPECT_LE(std::llabs(GetFileTime(server->Local(name)) - GetFileTime(PathOf(0, name))), kSecond) << name;
    }
    EXPECT_TRUE(Exists(server->Local("empty")));
    // Newer on the server: kept. Same time, other size: kept and named by
    // its server path.
    EXPECT_EQ(ReadFile(server->Local("kept.txt")), "serv");
    EXPECT_EQ(ReadFile(server->Local("size.txt")), "12345");
    EXPECT_EQ(sync.errLog, "Warning: The file \"" + server->Remote("size.txt") +
                               "\" has the same file change date on each side but different sizes!\r\n");
    // Each new folder was made before any file went out.
    const std::string log = server->Log();
    ASSERT_NE(log.find(Logged("MKD")), std::string::npos) << log;
    EXPECT_LT(log.rfind(Logged("MKD")), log.find(Logged("STOR"))) << log;
    EXPECT_EQ(host.captions.back(), "Copying files from left folder...");
    EXPECT_EQ(host.progressValues.back(), 100);
    EXPECT_FALSE(host.activityValues.empty());

    // The stamped times make the two sides equal.
    ScanServer();
    for (const std::string name : {"new/a.txt", "new/deeper/b.txt", "top.txt", "changed.txt"})
        EXPECT_EQ(WayOf(name), 0) << name;
    EXPECT_EQ(WayOf("kept.txt"), 3);
}

TEST_P(FtpModeTest, AServerThatRefusesWritesEndsTheUploadAtTheFirstTransfer)
{
    FtpServerOptions readOnly;
    readOnly.writable = false;
    auto server = Start(readOnly);
    Put(0, "a.txt", "a");
    Put(0, "b.txt", "b");
    // One session, so that b.txt is not under way beside a.txt already.
    sync.FTPConnections = 1;
    ASSERT_TRUE(sync.checkFoldersValid());
    EXPECT_FALSE(sync.DoCopyFTP());
    ASSERT_EQ(host.MessageTexts(), std::vector<std::string>{kUploadFailed});
    EXPECT_EQ(host.messages[0].icon, MB_ICONINFORMATION);
    EXPECT_TRUE(host.activityValues.empty());  // no file went past the first
    if (GetParam() == FtpServerKind::Vsftpd) {
        EXPECT_EQ(Occurrences(server->Log(), Logged("STOR")), 1);
    }
    EXPECT_FALSE(Exists(server->Local("a.txt")));
    EXPECT_FALSE(Exists(server->Local("b.txt")));

    // A folder that cannot be made ends it the same way, before any file.
    host.messages.clear();
    Put(0, "x/1.txt", "1");
    Put(0, "y/2.txt", "2");
    EXPECT_FALSE(sync.DoCopyFTP());
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{kUploadFailed});
    EXPECT_EQ(Occurrences(server->Log(), Logged("MKD")), 1) << server->Log();
}

TEST_P(FtpModeTest, AServerThatCannotBeListedOrEnteredSendsNothing)
{
    FtpServerOptions unlisted;
    unlisted.listable = false;
    auto server = Start(unlisted);
    Put(0, "a.txt", "a");
    ASSERT_TRUE(sync.checkFoldersValid());
    EXPECT_FALSE(sync.DoCopyFTP());
    EXPECT_EQ(host.MessageTexts(), (std::vector<std::string>{kConnectionError, kListingFailed}));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].icon, MB_ICONWARNING);
    EXPECT_EQ(host.messages[1].icon, MB_ICONINFORMATION);
    EXPECT_FALSE(Exists(server->Local("a.txt")));
    EXPECT_EQ(sync.m_arrFile.nVells(), 0);

    // A wrong password shows the same two messages.
    auto open = Start();
    UseServer(*open, "wrong password");
    host.messages.clear();
    EXPECT_FALSE(sync.DoCopyFTP());
    EXPECT_EQ(host.MessageTexts(), (std::vector<std::string>{kConnectionError, kListingFailed}));
    EXPECT_FALSE(Exists(open->Local("a.txt")));
}

TEST_P(FtpModeTest, AFiveGigabyteServerFileIsComparedAtItsFullSize)
{
    auto server = Start();
    server->MakeSparseFile("big.bin", 5'000'000'000);
    Put(0, "big.bin", "small");
    ScanServer();
    EXPECT_EQ(RightSize("big.bin"), 5'000'000'000);
    EXPECT_NE(WayOf("big.bin"), 0);
}

TEST_P(FtpModeTest, SurveyReportsTheServerSideAndCloses)
{
    auto server = Start();
    Put(0, "old.txt", "o", kBaseTime - kHour);
    server->MakeFile("deep/er/newest.txt", "n", kBaseTime);
    ASSERT_TRUE(sync.checkFoldersValid());
    EXPECT_TRUE(sync.GetLatest());
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string& report = host.messages[0].text;
    EXPECT_EQ(report.rfind("The newest file on the left is \r\nold.txt\r\n", 0), 0u) << report;
    EXPECT_NE(report.find("The newest file on the right is \r\ndeep/er/newest.txt\r\n"), std::string::npos);
    EXPECT_NE(report.find("The newest side is the right"), std::string::npos);
    EXPECT_EQ(sync.m_FTP.Command("NOOP"), "");  // the session was ended
}

INSTANTIATE_TEST_SUITE_P(Servers, FtpModeTest, testing::Values(FtpServerKind::Pyftpdlib, FtpServerKind::Vsftpd),
                         [](const testing::TestParamInfo<FtpServerKind>& info) {
                             return info.param == FtpServerKind::Pyftpdlib ? "pyftpdlib" : "vsftpd";
                         });

// Cases about the engine's own flow; one server is enough.
class FtpFlowTest : public FtpEngineTest {
protected:
    void SetUp() override
    {
        FtpEngineTest::SetUp();
        if (!IsSkipped())
            m_server = StartServer(FtpServerKind::Pyftpdlib);
    }

    // An upload of `files` files, cancelled after `caption` was shown and
    // confirmed once with Yes.
    void CancelWithYes(const std::string& caption, int files)
    {
        for (int i = 0; i < files; ++i)
            Put(0, "f" + std::to_string(i) + ".txt", "x");
        ASSERT_TRUE(sync.checkFoldersValid());
        CancelAfterCaption(caption);
        host.answers = {true};
        EXPECT_EQ(RaisedNumber([&] { sync.DoCopyFTP(); }), AppError::kCancelRequest);
        EXPECT_EQ(host.questions.size(), 1u);
        EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Cancelled by user."});
    }

    std::unique_ptr<FtpServer> m_server;
};

TEST_F(FtpFlowTest, WithoutSubfoldersOnlyTheTopFoldersAreRead)
{
    Put(0, "top.txt", "t");
    Put(0, "sub/inner.txt", "i");
    m_server->MakeFile("server.txt", "s", kBaseTime);
    m_server->MakeFile("deep/inner.txt", "d", kBaseTime);
    host.site.SubDirs = 0;
    ScanServer();
    EXPECT_EQ(Keys(sync.m_arrFile), (std::vector<std::string>{"server.txt", "top.txt"}));
    EXPECT_EQ(sync.m_arrDir.nVells(), 0);

    EXPECT_TRUE(sync.DoCopyFTP());
    EXPECT_TRUE(Exists(m_server->Local("top.txt")));
    EXPECT_FALSE(Exists(m_server->Local("sub")));
}

TEST_F(FtpFlowTest, ServerProgressWrapsAndStaysOnTheBar)
{
    // Few local files: the total is the minimum of 200, and 150 server
    // files (300 steps of the count) run the bar past its end.
    Put(0, "one.txt", "1");
    for (int i = 0; i < 150; ++i)
        m_server->MakeFile("f" + std::to_string(i) + ".txt", "x", kBaseTime);
    ScanServer();
    const auto& values = host.progressValues;
    EXPECT_TRUE(std::all_of(values.begin(), values.end(), [](int32_t v) { return v >= 0 && v <= 100; }));
    const auto top = std::max_element(values.begin(), values.end());
    ASSERT_NE(top, values.end());
    EXPECT_GE(*top, 99);
    // After the bar's end it starts again from the left.
    EXPECT_TRUE(std::any_of(top, values.end(), [](int32_t v) { return v > 0 && v < 20; }));
    EXPECT_EQ(sync.m_arrFile.nVells(), 151);
}

TEST_F(FtpFlowTest, CancellingTheUploadAsksAndNoGoesOn)
{
    Put(0, "a.txt", "a");
    Put(0, "b.txt", "b");
    ASSERT_TRUE(sync.checkFoldersValid());
    CancelAfterCaption("Copying files from left folder...");
    host.answers = {false};
    EXPECT_TRUE(sync.DoCopyFTP());
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text, kCancelQuestion);
    EXPECT_EQ(host.questions[0].icon, MB_ICONWARNING);
    EXPECT_TRUE(Exists(m_server->Local("a.txt")));
    EXPECT_TRUE(Exists(m_server->Local("b.txt")));
}

TEST_F(FtpFlowTest, CancellingTheUploadWithYesStopsIt)
{
    CancelWithYes("Copying files from left folder...", 5);
    EXPECT_TRUE(Exists(m_server->Local("f0.txt")));
    EXPECT_FALSE(Exists(m_server->Local("f1.txt")));
}

TEST_F(FtpFlowTest, ACancelConfirmedInTheScanIsNotAskedAgain)
{
    CancelWithYes("Searching for files from left folder...", 30);
    EXPECT_FALSE(Exists(m_server->Local("f0.txt")));
}

// The hostile server, listing its root with MLSD or LIST.
class FtpHostileTest : public FtpEngineTest, public testing::WithParamInterface<bool> {};

TEST_P(FtpHostileTest, EntriesThatLeaveTheFolderBecomeWarningsAndAreNeverTouched)
{
    FtpServerOptions options;
    options.hostile = true;
    options.offerMlsd = GetParam();
    auto server = StartServer(FtpServerKind::Pyftpdlib, options);
    server->MakeFile("good.txt", "abc", kBaseTime - 400 * 24 * kHour);
    server->MakeFile("sub/inner.txt", "in", kBaseTime);
    Put(0, "good.txt", "newer", kBaseTime);
    Put(0, "fresh.txt", "fresh");
    const std::string serverDir = server->LocalFolder().substr(0, server->LocalFolder().size() - 5);
    const std::vector<std::string> before = ListTree(serverDir);
    const std::vector<std::string> leftBefore = ListTree(Root(0));
    ASSERT_TRUE(sync.checkFoldersValid());

    EXPECT_TRUE(sync.DoCopyFTP());
    for (const std::string& name : Keys(sync.m_arrFile))
        EXPECT_TRUE(name == "fresh.txt" || name == "good.txt" || name == "sub/inner.txt") << name;
    EXPECT_EQ(Keys(sync.m_arrDir), std::vector<std::string>{"sub/"});
    const std::string tail = " in /: a name that is not a file name\r\n";
    EXPECT_EQ(sync.errLog, "Warning: Skipped the server entry \"..\"" + tail +
                               "Warning: Skipped the server entry \".\"" + tail +
                               "Warning: Skipped the server entry \"../../escape.txt\"" + tail +
                               "Warning: Skipped the server entry \"a/b.txt\"" + tail +
                               "Warning: Skipped the server entry \"/etc/passwd\"" + tail +
                               "Warning: Skipped the server entry \"nul\\x00name.txt\"" + tail +
                               "Warning: Skipped the server entry \"../up\"" + tail);

    std::vector<std::string> expected = before;
    expected.push_back("root/fresh.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ListTree(serverDir), expected);
    EXPECT_EQ(ReadFile(server->Local("good.txt")), "newer");
    EXPECT_EQ(ListTree(Root(0)), leftBefore);
}

INSTANTIATE_TEST_SUITE_P(Listing, FtpHostileTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "MLSD" : "LIST"; });

TEST(FtpFolderHistoryTest, TypedFolderBecomesAServerPathAtTheTop)
{
    EXPECT_EQ(FtpFolderHistory::Normalise("pub"), "/pub/");
    EXPECT_EQ(FtpFolderHistory::Normalise(""), "/");
    EXPECT_EQ(FtpFolderHistory::Normalise("/a/b/"), "/a/b/");
    std::vector<std::string> history = {"/x/", "/pub/", "/y/", "/pub/"};
    EXPECT_EQ(FtpFolderHistory::Remember("pub", history), "/pub/");
    // Only the first equal entry goes.
    EXPECT_EQ(history, (std::vector<std::string>{"/pub/", "/x/", "/y/", "/pub/"}));
    FtpFolderHistory::Remember("new/", history);
    EXPECT_EQ(history.front(), "/new/");
    EXPECT_EQ(history.size(), 5u);
}

}  // namespace
}  // namespace velloran::test
