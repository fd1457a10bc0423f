// CFTP over SFTP against OpenSSH's sshd on 127.0.0.1: every operation with
// exact times, an unknown or changed host key refused before the login and
// accepted once trusted or listed in known_hosts, logins by password and by
// key, and a server killed mid-upload leaving the final name untouched.
#include "app/ftp/CFTP.h"
#include "tests/app/ftp/FtpTestSupport.h"
#include "tests/app/ftp/SshServer.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

namespace velloran::test {
namespace {

// 2025-06-01 10:00:00 UTC and a day later, as file times.
constexpr int64_t kTime = (1'748'772'000LL + 11'644'473'600LL) * 10'000'000LL;
constexpr int64_t kLater = kTime + 86'400LL * 10'000'000LL;

class CFTPSftpTest : public testing::Test {
protected:
    void SetUp() override
    {
        const std::string missing = SshServer::MissingReason();
        if (!missing.empty())
            GTEST_SKIP() << missing;
        m_server = SshServer::Start();
    }

    bool Connect(CFTP& ftp, const std::string& password) const
    {
        return ftp.Connect(m_server->Server(), m_server->User(), password, false);
    }

    std::string Remote(const std::string& relative) const { return m_server->Folder() + relative; }

    std::unique_ptr<SshServer> m_server;
    TempDir m_local{"sftp-local"};
    ScopedEnv m_home{"HOME", m_local.Path()};  // no known_hosts, no keys
};

TEST_F(CFTPSftpTest, EveryOperationWithExactTimes)
{
    WriteFile(m_local / "a.txt", "alpha");
    SetFileTime(m_local / "a.txt", kTime);
    WriteFile(m_local / "b.txt", "beta!");
    SetFileTime(m_local / "b.txt", kLater);
    CFTP ftp;
    ftp.TrustKey(m_server->HostKey());
    EXPECT_FALSE(Connect(ftp, "wrong"));
    EXPECT_EQ(ftp.UntrustedKey(), "");
    ASSERT_TRUE(Connect(ftp, m_server->Password()));

    ASSERT_TRUE(ftp.CreateDir(Remote("sub")));
    EXPECT_FALSE(ftp.CreateDir(Remote("sub")));
    ASSERT_TRUE(ftp.PutFile(m_local / "a.txt", Remote("a.txt")));
    ASSERT_TRUE(ftp.PutFile(m_local / "b.txt", Remote("sub/b.txt")));
    // A file replaced keeps no trace of the old one; no temporary name stays.
    ASSERT_TRUE(ftp.PutFile(m_local / "b.txt", Remote("a.txt")));
    FtpListing listing = ListFtpTree(ftp, m_server->Folder(), true);
    EXPECT_EQ(listing.files, (std::vector<std::string>{"a.txt", "sub/b.txt"}));
    EXPECT_EQ(listing.times, (std::vector<int64_t>{kLater, kLater}));
    EXPECT_EQ(listing.sizes, (std::vector<int64_t>{5, 5}));
    EXPECT_EQ(ListTree(m_server->Folder()), (std::vector<std::string>{"a.txt", "sub/", "sub/b.txt"}));

    ftp.SetTime(Remote("a.txt"), kTime);
    EXPECT_EQ(GetFileTime(m_server->Folder() + "a.txt"), kTime);
    ASSERT_TRUE(ftp.GetFile(Remote("sub/b.txt"), m_local / "copy.txt"));
    EXPECT_EQ(ReadFile(m_local / "copy.txt"), "beta!");
    EXPECT_FALSE(ftp.RemoveDir(Remote("sub")));  // not empty
    EXPECT_TRUE(ftp.Delete(Remote("sub/b.txt")));
    EXPECT_FALSE(ftp.Delete(Remote("sub/b.txt")));
    EXPECT_TRUE(ftp.RemoveDir(Remote("sub")));
    // Relative paths start in the folder the server puts the session in.
    EXPECT_EQ(ListFtpTree(ftp, "", true).files, (std::vector<std::string>{"a.txt"}));
}

TEST_F(CFTPSftpTest, AnUnknownOrChangedHostKeyIsRefusedUntilTrusted)
{
    CFTP ftp;
    EXPECT_FALSE(Connect(ftp, m_server->Password()));
    EXPECT_EQ(ftp.UntrustedKey(), m_server->HostKey());
    ftp.TrustKey(m_server->HostKey());
    ASSERT_TRUE(Connect(ftp, m_server->Password()));
    ftp.Disconnect();

    const std::string trusted = m_server->HostKey();
    m_server->ChangeHostKey();
    ASSERT_NE(m_server->HostKey(), trusted);
    EXPECT_FALSE(Connect(ftp, m_server->Password()));
    EXPECT_EQ(ftp.UntrustedKey(), m_server->HostKey());

    // A key that known_hosts lists for the host and port needs no question,
    // whatever the site trusted before.
    WriteFile(m_local / ".ssh/known_hosts", "[127.0.0.1]:1 ssh-ed25519 AAAAC3NzaC1lZDI1NTE5AAAAIOTHERKEYxx\n" +
                                                m_server->KnownHostsLine());
    ASSERT_TRUE(Connect(ftp, m_server->Password()));
    EXPECT_EQ(ftp.UntrustedKey(), "");
}

// Without a password the user's key logs in; a wrong password never falls
// back to it.
TEST_F(CFTPSftpTest, LoginByKeyOrPassword)
{
    CFTP ftp;
    ftp.TrustKey(m_server->HostKey());
    EXPECT_FALSE(Connect(ftp, ""));  // no key in this home
    ScopedEnv keys("HOME", m_server->KeyHome());
    EXPECT_FALSE(Connect(ftp, "wrong"));
    ASSERT_TRUE(Connect(ftp, ""));
    EXPECT_TRUE(ftp.CreateDir(Remote("by-key")));
}

// A server gone mid-transfer fails the upload and leaves the file of
// before whole under its name.
TEST_F(CFTPSftpTest, ServerKilledMidUploadKeepsTheOldFile)
{
    WriteFile(m_server->Folder() + "big.bin", "old");
    CFTP ftp;
    ftp.TrustKey(m_server->HostKey());
    ASSERT_TRUE(Connect(ftp, m_server->Password()));
    EXPECT_FALSE(PutWhileTheServerDies(ftp, m_local.Path(), Remote("big.bin"), m_server->Folder(),
                                       [this] { m_server->Kill(); }));
    EXPECT_EQ(ReadFile(m_server->Folder() + "big.bin"), "old");
}

}  // namespace
}  // namespace velloran::test
