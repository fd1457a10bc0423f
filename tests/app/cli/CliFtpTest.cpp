// velloran-cli against FTP servers on 127.0.0.1, run as a process: upload and
// compare end to end (exit statuses, JSON parsed back), the address forms
// and password sources, failed uploads, warning lines and bad addresses.
#include "tests/app/ftp/FtpServers.h"
#include "tests/app/ftp/SshServer.h"
#include "tests/app/support/EngineFixture.h"
#include "tests/app/support/ProcessRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>

namespace velloran::test {
namespace {

constexpr int64_t kHour = 60 * kMinute;

class CliFtpTest : public EngineFixture {
protected:
    ProcessResult Cli(const std::vector<std::string>& args) { return RunProgram("velloran-cli", args); }

    static std::string Url(const FtpServer& server, const std::string& userInfo)
    {
        return "ftp://" + userInfo + server.Address() + server.ServerFolder();
    }
    static std::string Url(const FtpServer& server)
    {
        return Url(server, server.User() + ":" + server.Password() + "@");
    }

    static QJsonObject Json(const ProcessResult& r)
    {
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(r.out));
        EXPECT_TRUE(document.isObject()) << r.out;
        return document.object();
    }
};

class CliFtpServersTest : public CliFtpTest, public testing::WithParamInterface<FtpServerKind> {
protected:
    void SetUp() override
    {
        const std::string missing = FtpServer::MissingReason(GetParam());
        if (!missing.empty())
            GTEST_SKIP() << missing;
    }
};

TEST_P(CliFtpServersTest, UploadThenCompareEndToEnd)
{
    auto server = FtpServer::Start(GetParam());
    Put(0, "a.txt", "aaa");
    Put(0, "sub/b.txt", "bb");
    server->MakeFile("server-only.txt", "s", kBaseTime);

    ProcessResult r = Cli({"upload", "--passive", "--connections=2", m_left, Url(*server)});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Operation completed successfully"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(server->Local("sub/b.txt")), "bb");

    r = Cli({"compare", "--json", "--passive", m_left, Url(*server)});
    EXPECT_EQ(r.status, 1) << r.err;  // the server-only file
    QJsonObject json = Json(r);
    // The address without the user and password.
    EXPECT_EQ(json["right"].toString().toStdString(), "ftp://" + server->Address() + server->ServerFolder());
    QJsonArray entries = json["entries"].toArray();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].toObject()["path"].toString(), "server-only.txt");
    EXPECT_EQ(entries[0].toObject()["syncWay"].toInt(), 4);
    EXPECT_EQ(entries[0].toObject()["right"].toObject()["filetime"].toInteger(), kBaseTime);

    Put(0, "a.txt", "changed", GetFileTime(PathOf(0, "a.txt")) + kHour);
    r = Cli({"compare", "--json", "--passive", m_left, Url(*server)});
    EXPECT_EQ(r.status, 1) << r.err;
    entries = Json(r)["entries"].toArray();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].toObject()["path"].toString(), "a.txt");
    EXPECT_EQ(entries[0].toObject()["syncWay"].toInt(), 2);
    EXPECT_EQ(entries[0].toObject()["left"].toObject()["size"].toInt(), 7);

    r = Cli({"upload", "--passive", m_left, Url(*server)});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(server->Local("a.txt")), "changed");
    r = Cli({"compare", "--passive", m_left, Url(*server)});
    EXPECT_EQ(r.out, "R  server-only.txt\n");
}

INSTANTIATE_TEST_SUITE_P(Servers, CliFtpServersTest,
                         testing::Values(FtpServerKind::Pyftpdlib, FtpServerKind::Vsftpd),
                         [](const testing::TestParamInfo<FtpServerKind>& info) {
                             return info.param == FtpServerKind::Pyftpdlib ? "pyftpdlib" : "vsftpd";
                         });

// Over TLS a compare right after the upload finds nothing to do.
TEST_F(CliFtpTest, UploadOverTlsLeavesNothingToCompare)
{
    if (!FtpServer::MissingReason(FtpServerKind::Vsftpd).empty())
        GTEST_SKIP() << FtpServer::MissingReason(FtpServerKind::Vsftpd);
    Put(0, "a.txt", "aaa");
    Put(0, "sub/b.txt", "bb", kBaseTime + kHour);
    for (const FtpTls tls : {FtpTls::Explicit, FtpTls::Implicit}) {
        auto server = FtpServer::Start(FtpServerKind::Vsftpd, {.tls = tls});
        setenv("SSL_CERT_FILE", server->Certificate()->CaFile().c_str(), 1);
        ProcessResult r = Cli({"upload", "--passive", m_left, server->Url()});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(GetFileTime(server->Local("sub/b.txt")), kBaseTime + kHour);
        r = Cli({"compare", "--passive", m_left, server->Url()});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "");
        unsetenv("SSL_CERT_FILE");
    }
}

// A server no trusted CA vouches for is refused with its key named, until
// --trust-fingerprint names that key; the password is never printed.
TEST_F(CliFtpTest, TrustFingerprintAcceptsTheKeyNamed)
{
    if (!FtpServer::MissingReason(FtpServerKind::Vsftpd).empty())
        GTEST_SKIP() << FtpServer::MissingReason(FtpServerKind::Vsftpd);
    Put(0, "a.txt", "aaa");
    auto server = FtpServer::Start(FtpServerKind::Vsftpd, {.tls = FtpTls::Explicit});
    const std::string key = server->Certificate()->Fingerprint();
    setenv("VELLORAN_FTP_PASSWORD", server->Password().c_str(), 1);
    const std::string url = server->Url().replace(server->Url().find(":" + server->Password()),
                                                  server->Password().size() + 1, "");
    ProcessResult r = Cli({"upload", "--passive", m_left, url});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("its key " + key + " is not trusted"), std::string::npos) << r.err;
    r = Cli({"upload", "--passive", "--trust-fingerprint=SHA256:abc", m_left, url});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("--trust-fingerprint takes"), std::string::npos) << r.err;
    r = Cli({"upload", "--passive", "--trust-fingerprint=" + key, m_left, url});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(server->Local("a.txt")), "aaa");
    EXPECT_EQ(r.out.find(server->Password()), std::string::npos) << r.out;
    EXPECT_EQ(r.err.find(server->Password()), std::string::npos) << r.err;
    unsetenv("VELLORAN_FTP_PASSWORD");
}

// Over SFTP: an unknown host key refused with its fingerprint, then trusted;
// the upload keeps every time, so a compare right after finds nothing.
TEST_F(CliFtpTest, UploadOverSftpLeavesNothingToCompare)
{
    if (!SshServer::MissingReason().empty())
        GTEST_SKIP() << SshServer::MissingReason();
    Put(0, "a.txt", "aaa");
    Put(0, "sub/b.txt", "bb", kBaseTime + kHour);
    auto server = SshServer::Start();
    ProcessResult r = Cli({"upload", m_left, server->Url()});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("its host key " + server->HostKey() + " is not known"), std::string::npos) << r.err;
    const std::string trust = "--trust-fingerprint=" + server->HostKey();
    r = Cli({"upload", trust, m_left, server->Url()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(GetFileTime(server->Folder() + "sub/b.txt"), kBaseTime + kHour);
    r = Cli({"compare", trust, m_left, server->Url()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.find(server->Password()), std::string::npos) << r.err;
}

class CliFtpPyftpdTest : public CliFtpTest {
protected:
    void SetUp() override
    {
        const std::string missing = FtpServer::MissingReason(FtpServerKind::Pyftpdlib);
        if (!missing.empty())
            GTEST_SKIP() << missing;
    }
    void TearDown() override { unsetenv("VELLORAN_FTP_PASSWORD"); }
};

TEST_F(CliFtpPyftpdTest, AddressFormsAndPasswordSources)
{
    auto server = FtpServer::Start(FtpServerKind::Pyftpdlib);
    server->MakeFile("with space/x.txt", "x", kBaseTime);
    Put(0, "x.txt", "x", kBaseTime);

    // Percent-escapes in the user, the password and the folder; active mode.
    ProcessResult r = Cli({"compare", m_left, "ftp://%74ester:s%65cret@" + server->Address() + "/with%20space"});
    EXPECT_EQ(r.status, 0) << r.err;

    // A user without a password: the environment, else (no terminal) the
    // empty password, which the server refuses.
    const std::string userOnly = "ftp://tester@" + server->Address() + "/with%20space/";
    setenv("VELLORAN_FTP_PASSWORD", "secret", 1);
    r = Cli({"compare", "--passive", m_left, userOnly});
    EXPECT_EQ(r.status, 0) << r.err;
    unsetenv("VELLORAN_FTP_PASSWORD");
    r = Cli({"compare", "--passive", m_left, userOnly});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("An error occurred with the FTP connection"), std::string::npos) << r.err;

    r = Cli({"latest", "--passive", m_left, Url(*server)});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("The newest file on the right is \nwith space/x.txt\n"), std::string::npos) << r.out;

    // --no-subdirs reads the top folders only.
    Put(0, "sub/deep.txt", "d");
    r = Cli({"compare", "--passive", "--no-subdirs", m_left, Url(*server)});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "L  x.txt\n");

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"compare", m_left, "ftp:///pub/"},
             {"compare", m_left, "ftp://127.0.0.1:99999/"},
             {"compare", m_left, "ftp://" + server->Address() + "/a%0Ab/"},
             {"compare", m_left, "ftp://" + server->Address() + "/a%zz/"},
             {"copy", m_left, Url(*server)},
             {"upload", m_left, m_right},
             {"upload", "--connections=0", m_left, Url(*server)},
             {"upload", "--connections=9", m_left, Url(*server)},
             {"latest", "--no-subdirs", m_left, Url(*server)}}) {
        r = Cli(bad);
        EXPECT_EQ(r.status, 2) << bad[2];
        EXPECT_NE(r.err.find("velloran-cli: "), std::string::npos) << r.err;
    }
}

TEST_F(CliFtpPyftpdTest, FailedUploadsAndWarningsSetTheExitStatus)
{
    FtpServerOptions readOnly;
    readOnly.writable = false;
    auto refusing = FtpServer::Start(FtpServerKind::Pyftpdlib, readOnly);
    Put(0, "a.txt", "a");
    ProcessResult r = Cli({"upload", "--passive", m_left, Url(*refusing)});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Error occurred while copying files to FTP server."), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Operation completed successfully"), std::string::npos) << r.err;

    // Same time, another size: kept, one warning line.
    auto server = FtpServer::Start(FtpServerKind::Pyftpdlib);
    Put(0, "a.txt", "a", kBaseTime);
    server->MakeFile("a.txt", "ab", kBaseTime);
    r = Cli({"upload", "--passive", m_left, Url(*server)});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Warning: The file \"/a.txt\" has the same file change date on each side but different "
                         "sizes!"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(ReadFile(server->Local("a.txt")), "ab");

    // Entries the server should never have listed are warnings of a compare.
    FtpServerOptions hostile;
    hostile.hostile = true;
    auto strange = FtpServer::Start(FtpServerKind::Pyftpdlib, hostile);
    strange->MakeDir("sub");  // listed by the hostile root, and there to be read
    r = Cli({"compare", "--passive", m_left, Url(*strange)});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Warning: Skipped the server entry \"../../escape.txt\" in /"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace velloran::test
