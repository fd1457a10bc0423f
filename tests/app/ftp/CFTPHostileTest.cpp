// CFTP against a server that misbehaves: listings naming ".", "..", paths
// with "/" and NUL bytes; folders it refuses to enter; a connection it drops
// in the middle of a scan.
#include "app/engine/AppError.h"
#include "app/ftp/CFTP.h"
#include "tests/app/ftp/FtpServers.h"
#include "tests/app/ftp/FtpTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velloran {
namespace {

using test::FtpServer;
using test::FtpServerKind;
using test::FtpServerOptions;
using test::ListFtpTree;
using test::RaisedNumber;

// Runs with MLSD offered and with LIST alone.
class CFTPHostileTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        const std::string missing = FtpServer::MissingReason(FtpServerKind::Pyftpdlib);
        if (!missing.empty())
            GTEST_SKIP() << missing;
    }

    std::unique_ptr<FtpServer> Start(bool hostile, bool traps)
    {
        FtpServerOptions options;
        options.offerMlsd = GetParam();
        options.hostile = hostile;
        options.traps = traps;
        return FtpServer::Start(FtpServerKind::Pyftpdlib, options);
    }
};

TEST_P(CFTPHostileTest, NamesThatLeaveTheFolderAreSkippedAndReported)
{
    auto server = Start(true, false);
    server->MakeFile("good.txt", "abc");
    server->MakeFile("sub/inner.txt", "in");
    CFTP ftp;
    ASSERT_TRUE(ftp.Connect(server->Address(), server->User(), server->Password(), true));

    const auto listing = ListFtpTree(ftp, "/", true);
    EXPECT_EQ(listing.files, (std::vector<std::string>{"good.txt", "sub/inner.txt"}));
    ASSERT_EQ(listing.dirs, 1);
    EXPECT_EQ(ftp.DirBuf(1), "sub/");
    const std::vector<std::string> skipped = {"..", ".", "../../escape.txt", "a/b.txt", "/etc/passwd",
                                              std::string("nul\0name.txt", 12), "../up"};
    EXPECT_EQ(ftp.SkippedNames(), skipped);

    // A later listing starts with an empty report.
    server.reset();
    auto plain = FtpServer::Start(FtpServerKind::Pyftpdlib);
    plain->MakeFile("x.txt", "x");
    ASSERT_TRUE(ftp.Connect(plain->Address(), plain->User(), plain->Password(), true));
    EXPECT_EQ(ListFtpTree(ftp, "/", true).files, (std::vector<std::string>{"x.txt"}));
    EXPECT_TRUE(ftp.SkippedNames().empty());
}

TEST_P(CFTPHostileTest, AFolderTheServerRefusesIsNotedAndPassedOver)
{
    auto server = Start(false, true);
    server->MakeFile("a/1.txt", "1");
    server->MakeFile("locked/secret.txt", "2");
    server->MakeFile("z/3.txt", "3");
    CFTP ftp;
    ASSERT_TRUE(ftp.Connect(server->Address(), server->User(), server->Password(), true));
    auto listing = ListFtpTree(ftp, "/", true);
    std::sort(listing.files.begin(), listing.files.end());
    EXPECT_EQ(listing.files, (std::vector<std::string>{"a/1.txt", "z/3.txt"}));
    EXPECT_EQ(listing.dirs, 3);
    // Unknown, not empty: the caller learns which folder it was.
    EXPECT_EQ(ftp.UnreadFolders(), std::vector<std::string>{"locked/"});
    ListFtpTree(ftp, "/a/", true);
    EXPECT_TRUE(ftp.UnreadFolders().empty());
}

TEST_P(CFTPHostileTest, ALostConnectionDoesNotPassForTheEndOfTheTree)
{
    auto server = Start(false, true);
    server->MakeFile("a/1.txt", "1");
    server->MakeFile("vanish/2.txt", "2");
    CFTP ftp;
    ASSERT_TRUE(ftp.Connect(server->Address(), server->User(), server->Password(), true));
    // Not an early end that looks like the whole tree.
    EXPECT_EQ(RaisedNumber([&] { ListFtpTree(ftp, "/", true); }), AppError::kFtpError);
    // The session comes back for the next call.
    EXPECT_EQ(ftp.Command("NOOP").substr(0, 3), "200");
}

INSTANTIATE_TEST_SUITE_P(Listing, CFTPHostileTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "MLSD" : "LIST"; });

}  // namespace
}  // namespace velloran
