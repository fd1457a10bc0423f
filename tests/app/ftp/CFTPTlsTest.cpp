// CFTP over TLS against vsftpd on 127.0.0.1, with AUTH TLS (ftpes://) and
// with TLS from the first byte (ftps://): a wrong password, every operation,
// exact times, a certificate no trusted CA signed refused before the login,
// naming its key, and accepted once that key is trusted, and a server killed
// mid-upload leaving the final name untouched.
#include "app/ftp/CFTP.h"
#include "tests/app/ftp/FtpServers.h"
#include "tests/app/ftp/FtpTestSupport.h"
#include "tests/support/ScopedEnv.h"

#include <gtest/gtest.h>

namespace velloran::test {
namespace {

// 2025-06-01 10:00:00 UTC and a day later, as file times.
constexpr int64_t kTime = (1'748'772'000LL + 11'644'473'600LL) * 10'000'000LL;
constexpr int64_t kLater = kTime + 86'400LL * 10'000'000LL;

class CFTPTlsTest : public testing::TestWithParam<FtpTls> {
protected:
    void SetUp() override
    {
        const std::string missing = FtpServer::MissingReason(FtpServerKind::Vsftpd);
        if (!missing.empty())
            GTEST_SKIP() << missing;
        m_server = FtpServer::Start(FtpServerKind::Vsftpd, {.tls = GetParam()});
    }

    bool Connect(CFTP& ftp) const
    {
        return ftp.Connect(m_server->Server(), m_server->User(), m_server->Password(), true);
    }

    std::unique_ptr<FtpServer> m_server;
    TempDir m_local{"tls-local"};
};

TEST_P(CFTPTlsTest, EveryOperationWithExactTimes)
{
    ScopedEnv store("SSL_CERT_FILE", m_server->Certificate()->CaFile());
    WriteFile(m_local / "a.txt", "alpha");
    SetFileTime(m_local / "a.txt", kTime);
    WriteFile(m_local / "b.txt", "beta!");
    SetFileTime(m_local / "b.txt", kLater);
    CFTP ftp;
    EXPECT_FALSE(ftp.Connect(m_server->Server(), m_server->User(), "wrong", true));
    EXPECT_EQ(ftp.UntrustedKey(), "");
    ASSERT_TRUE(Connect(ftp));

    ASSERT_TRUE(ftp.CreateDir(m_server->Remote("sub")));
    ASSERT_TRUE(ftp.PutFile(m_local / "a.txt", m_server->Remote("a.txt")));
    ASSERT_TRUE(ftp.PutFile(m_local / "b.txt", m_server->Remote("sub/b.txt"))) << m_server->Log();
    const FtpListing listing = ListFtpTree(ftp, m_server->ServerFolder(), true);
    EXPECT_EQ(listing.files, (std::vector<std::string>{"a.txt", "sub/b.txt"}));
    EXPECT_EQ(listing.times, (std::vector<int64_t>{kTime, kLater}));
    EXPECT_EQ(listing.sizes, (std::vector<int64_t>{5, 5}));
    EXPECT_EQ(listing.dirs, 1);

    ASSERT_TRUE(ftp.GetFile(m_server->Remote("sub/b.txt"), m_local / "copy.txt"));
    EXPECT_EQ(ReadFile(m_local / "copy.txt"), "beta!");
    EXPECT_TRUE(ftp.Delete(m_server->Remote("sub/b.txt")));
    EXPECT_TRUE(ftp.RemoveDir(m_server->Remote("sub")));
    EXPECT_EQ(ListFtpTree(ftp, m_server->ServerFolder(), true).files, (std::vector<std::string>{"a.txt"}));
    // Nothing went out in the clear: the server saw TLS before the login.
    if (GetParam() == FtpTls::Explicit) {
        EXPECT_LT(m_server->Log().find("AUTH TLS"), m_server->Log().find("USER"));
    }
}

TEST_P(CFTPTlsTest, AnUntrustedCertificateIsRefusedUntilItsKeyIsTrusted)
{
    m_server->MakeFile("a.txt", "a");
    const std::string offered = m_server->Certificate()->Fingerprint();
    CFTP ftp;
    EXPECT_FALSE(Connect(ftp));
    EXPECT_EQ(ftp.UntrustedKey(), offered);
    // Another CA's certificate is no better than none, nor another key.
    TestCertificate other(m_local.Path(), "other");
    ScopedEnv store("SSL_CERT_FILE", other.CaFile());
    ftp.TrustKey(other.Fingerprint());
    EXPECT_FALSE(Connect(ftp));
    EXPECT_EQ(ftp.UntrustedKey(), offered);
    EXPECT_EQ(m_server->Log().find("USER"), std::string::npos) << m_server->Log();
    EXPECT_FALSE(ftp.Connect("ftpes://", m_server->User(), m_server->Password(), true));
    EXPECT_EQ(ftp.UntrustedKey(), "");

    ftp.TrustKey(offered);
    ASSERT_TRUE(Connect(ftp));
    EXPECT_EQ(ftp.UntrustedKey(), "");
    EXPECT_EQ(ListFtpTree(ftp, m_server->ServerFolder(), true).files, (std::vector<std::string>{"a.txt"}));
}

// A server gone mid-transfer fails the upload and leaves the file of
// before whole under its name.
TEST_P(CFTPTlsTest, ServerKilledMidUploadKeepsTheOldFile)
{
    ScopedEnv store("SSL_CERT_FILE", m_server->Certificate()->CaFile());
    m_server->MakeFile("big.bin", "old");
    CFTP ftp;
    ASSERT_TRUE(Connect(ftp));
    EXPECT_FALSE(PutWhileTheServerDies(ftp, m_local.Path(), m_server->Remote("big.bin"), m_server->LocalFolder(),
                                       [this] { m_server->Kill(); }));
    EXPECT_EQ(ReadFile(m_server->Local("big.bin")), "old");
}

INSTANTIATE_TEST_SUITE_P(Tls, CFTPTlsTest, testing::Values(FtpTls::Explicit, FtpTls::Implicit),
                         [](const testing::TestParamInfo<FtpTls>& info) {
                             return info.param == FtpTls::Explicit ? "ftpes" : "ftps";
                         });

}  // namespace
}  // namespace velloran::test
