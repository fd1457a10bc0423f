// FTP mode and a TLS server whose certificate no trusted authority signed:
// the user is asked once, the key is kept with the site (the password only
// with "Save password"), and a server offering another key is asked about
// again and refused on No; an unknown SSH host key likewise.
#include "tests/app/ftp/FtpServers.h"
#include "tests/app/ftp/SshServer.h"
#include "tests/app/support/EngineFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velloran::test {
namespace {

constexpr const char* kConnectionError = "An error occurred with the FTP connection";

// Everything the settings store holds, as text.
std::string StoredSettings()
{
    std::string all;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(std::getenv("XDG_CONFIG_HOME"))) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        all += text.str();
    }
    return all;
}

class FtpTrustTest : public EngineFixture {
protected:
    void SetUp() override
    {
        const std::string missing = FtpServer::MissingReason(FtpServerKind::Vsftpd);
        if (!missing.empty())
            GTEST_SKIP() << missing;
    }

    std::unique_ptr<FtpServer> StartServer()
    {
        auto server = FtpServer::Start(FtpServerKind::Vsftpd, {.tls = FtpTls::Explicit});
        sync.modeFTP = true;
        host.site.Server = server->Server();
        host.site.Username = server->User();
        host.site.Passwd = server->Password();
        host.site.FTPDirs = {server->ServerFolder()};
        host.site.Pasv = 1;
        return server;
    }
};

TEST_F(FtpTrustTest, AskedOnceKeptWithTheSiteAndAskedAgainWhenTheKeyChanges)
{
    sync.Init();
    Put(0, "a.txt", "a");
    auto server = StartServer();
    const std::string key = server->Certificate()->Fingerprint();
    host.answers = {true};
    ASSERT_TRUE(sync.checkFoldersValid());
    EXPECT_TRUE(sync.DoCopyFTP());
    EXPECT_EQ(ReadFile(server->Local("a.txt")), "a");
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].kind, QuestionKind::TrustServer);
    EXPECT_NE(host.questions[0].text.find("not signed by a trusted authority"), std::string::npos);
    EXPECT_NE(host.questions[0].text.find(key), std::string::npos) << host.questions[0].text;
    EXPECT_EQ(host.site.TrustedKey, key);
    Put(0, "b.txt", "b");
    EXPECT_TRUE(sync.DoCopyFTP());
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(ReadFile(server->Local("b.txt")), "b");

    // Kept with the site; the password is not, without "Save password".
    sync.Terminate();
    EXPECT_EQ(StoredSettings().find(server->Password()), std::string::npos);
    host.site = FtpSiteFields();
    sync.Init();
    EXPECT_EQ(host.site.TrustedKey, key);
    EXPECT_EQ(host.site.Passwd, "");

    auto other = StartServer();
    host.answers = {false};
    host.messages.clear();
    EXPECT_FALSE(sync.DoCopyFTP());
    EXPECT_FALSE(Exists(other->Local("a.txt")));
    ASSERT_EQ(host.questions.size(), 2u);
    EXPECT_NE(host.questions[1].text.find("has changed"), std::string::npos) << host.questions[1].text;
    EXPECT_NE(host.questions[1].text.find(other->Certificate()->Fingerprint()), std::string::npos);
    EXPECT_EQ(host.site.TrustedKey, key);
    EXPECT_EQ(host.MessageTexts().front(), kConnectionError);
    EXPECT_NE(sync.errLog.find("its key " + other->Certificate()->Fingerprint() + " is not trusted"),
              std::string::npos) << sync.errLog;
}

// An SSH host key known_hosts does not list is asked about in the same way.
TEST_F(FtpTrustTest, AnUnknownHostKeyIsAskedAboutOnce)
{
    if (!SshServer::MissingReason().empty())
        GTEST_SKIP() << SshServer::MissingReason();
    sync.Init();
    Put(0, "a.txt", "a");
    auto server = SshServer::Start();
    sync.modeFTP = true;
    host.site = FtpSiteFields();
    host.site.Server = server->Server();
    host.site.Username = server->User();
    host.site.Passwd = server->Password();
    host.site.FTPDirs = {server->Folder()};
    host.answers = {true};
    ASSERT_TRUE(sync.checkFoldersValid());
    EXPECT_TRUE(sync.DoCopyFTP());
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_NE(host.questions[0].text.find("host key of " + server->Server() + " is not known yet"), std::string::npos)
        << host.questions[0].text;
    EXPECT_NE(host.questions[0].text.find(server->HostKey()), std::string::npos) << host.questions[0].text;
    EXPECT_EQ(host.site.TrustedKey, server->HostKey());
    EXPECT_EQ(ReadFile(server->Folder() + "a.txt"), "a");
    EXPECT_TRUE(sync.DoCopyFTP());
    EXPECT_EQ(host.questions.size(), 1u);
}

}  // namespace
}  // namespace velloran::test
