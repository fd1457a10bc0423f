// FTP mode under faults, on real servers on 127.0.0.1 with velloran-cli run
// as a process: a folder the server will not list, a server killed or a data
// connection dropped in the middle of an upload, and the temporary name
// every upload goes through.
#include "tests/app/ftp/FtpServers.h"
#include "tests/app/support/EngineFixture.h"
#include "tests/app/support/ProcessRun.h"

#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

namespace velloran::test {
namespace {

using namespace std::chrono_literals;

constexpr int64_t kHour = 60 * kMinute;
constexpr const char* kOptionsKey = "Software\\Quorvantell\\Velloran\\e\\Options";

class FtpFaultsTest : public EngineFixture {
protected:
    void SetUp() override
    {
        const std::string missing = FtpServer::MissingReasonOfEither();
        if (!missing.empty())
            GTEST_SKIP() << missing;
    }
    void TearDown() override { Registry().DeleteKey(quorvantell::eRegBaseKey::HKCU, kOptionsKey); }

    static quorvantell::CRegistry& Registry() { return *quorvantell::ClassLibrary::Shared().Registry; }
    ProcessResult Cli(const std::vector<std::string>& args) { return RunProgram("velloran-cli", args); }
};

// Kills the server once a file that was not there before has appeared in its
// folder and grown past `size`; false when none did within the deadline.
bool KillWhenGrown(FtpServer& server, const std::vector<std::string>& before, off_t size)
{
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline) {
        for (const std::string& name : ListTree(server.LocalFolder())) {
            struct stat st{};
            if (std::find(before.begin(), before.end(), name) == before.end() &&
                stat(server.Local(name).c_str(), &st) == 0 && st.st_size > size) {
                server.Kill();
                return true;
            }
        }
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

TEST_F(FtpFaultsTest, UploadsGoThroughATemporaryNameAndKeepTheLocalTimes)
{
    struct Case {
        const char* name;
        FtpServerKind kind;
        bool renameOver;  // false: the server refuses to rename onto a file
    };
    const int64_t odd = kBaseTime - 400 * 24 * kHour + 7 * kSecond;
    for (const Case& c : {Case{"pyftpdlib", FtpServerKind::Pyftpdlib, true},
                          Case{"vsftpd", FtpServerKind::Vsftpd, true},
                          Case{"no rename over a file", FtpServerKind::Pyftpdlib, false}}) {
        SCOPED_TRACE(c.name);
        FtpServerOptions options;
        options.renameOver = c.renameOver;
        auto server = FtpServer::Start(c.kind, options);
        server->MakeFile("old.txt", "old", odd - kHour);
        server->MakeFile("keep/other.txt", "other", kBaseTime);
        Put(0, "old.txt", "new contents", odd);
        Put(0, "new.txt", "new", odd + kMinute);
        Put(0, "sub/deep.txt", "deep", odd + 2 * kMinute);

        const ProcessResult r = Cli({"upload", "--passive", m_left, server->Url()});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(ListTree(server->LocalFolder()),
                  (std::vector<std::string>{"keep/", "keep/other.txt", "new.txt", "old.txt", "sub/", "sub/deep.txt"}));
        for (const std::string name : {"old.txt", "new.txt", "sub/deep.txt"}) {
            EXPECT_EQ(ReadFile(server->Local(name)), ReadFile(PathOf(0, name))) << name;
            EXPECT_EQ(GetFileTime(server->Local(name)), GetFileTime(PathOf(0, name))) << name;
        }
        // The old file was deleted first, then the new one renamed.
        if (!c.renameOver) {
            EXPECT_NE(server->Log().find("] DELE " + server->Local("old.txt") + " 250"), std::string::npos)
                << server->Log();
        }
    }
}

TEST_F(FtpFaultsTest, AFolderTheServerWillNotListIsAnErrorNotAnEmptyFolder)
{
    FtpServerOptions traps;
    traps.traps = true;  // the folder "locked" cannot be entered
    auto server = FtpServer::Start(FtpServerKind::Pyftpdlib, traps);
    server->MakeFile("locked/data.txt", "newer on the server", kBaseTime + kHour);
    Put(0, "locked/data.txt", "older", kBaseTime);
    Put(0, "locked/left-only.txt", "l");
    Put(0, "fresh.txt", "f");
    const std::string error = "Error reading folder /locked/\n";

    struct Case {
        std::vector<std::string> args;
        std::string out;      // stdout, when checked
        std::string message;  // a further line on stderr
    };
    for (const Case& c : {Case{{"upload"}, "", "Error getting list of files from FTP server.  No files were copied."},
                          Case{{"compare", "--all"}, "=  locked/\nL  fresh.txt\n", ""},
                          Case{{"latest"}, "", "The newest file on the left is"}}) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--passive", m_left, server->Url()});
        const ProcessResult r = Cli(args);
        SCOPED_TRACE(c.args[0]);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(error), std::string::npos) << r.err;
        EXPECT_NE((r.err + r.out).find(c.message), std::string::npos) << r.err << r.out;
        if (!c.out.empty()) {
            EXPECT_EQ(r.out, c.out);
        }
    }
    // Nothing went out, and the newer server file is as it was.
    EXPECT_EQ(ListTree(server->LocalFolder()), (std::vector<std::string>{"locked/", "locked/data.txt"}));
    EXPECT_EQ(ReadFile(server->Local("locked/data.txt")), "newer on the server");
    EXPECT_EQ(GetFileTime(server->Local("locked/data.txt")), kBaseTime + kHour);
}

TEST_F(FtpFaultsTest, AnUploadCutOffMidFileLeavesTheOldServerFileWhole)
{
    struct Case {
        const char* name;
        bool kill;  // the server dies; otherwise only the data connection breaks
    };
    const std::string big(16 << 20, 'n');
    for (const Case& c : {Case{"server killed", true}, Case{"data connection dropped", false}}) {
        SCOPED_TRACE(c.name);
        FtpServerOptions options;
        options.uploadLimit = c.kill ? 1 << 20 : 0;
        options.cutUploadsAfter = c.kill ? 0 : 256 << 10;
        auto server = FtpServer::Start(FtpServerKind::Pyftpdlib, options);
        server->MakeFile("big.bin", "old server copy", kBaseTime - kHour);
        Put(0, "big.bin", big, kBaseTime);
        const std::string log = m_temp / (std::string(c.name) + ".log");
        Registry().SetKeyStr(quorvantell::eRegBaseKey::HKCU, kOptionsKey, "OLogFile", log);

        auto killed = std::async(std::launch::async, [&] {
            return c.kill && KillWhenGrown(*server, {"big.bin"}, 256 << 10);
        });
        const ProcessResult r = Cli({"upload", "--passive", m_left, server->Url()});
        EXPECT_EQ(killed.get(), c.kill);

        EXPECT_EQ(r.status, 2) << r.err;
        const std::string line = "Error writing file /big.bin\n";
        EXPECT_NE(r.err.find("Error occurred while copying files to FTP server."), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(line), std::string::npos) << r.err;
        EXPECT_NE(ReadFile(log).find("\n\n" + line), std::string::npos) << ReadFile(log);
        EXPECT_EQ(ReadFile(log).find("No errors encountered"), std::string::npos);
        EXPECT_TRUE(ReadFile(server->Local("big.bin")) == "old server copy");
        EXPECT_EQ(GetFileTime(server->Local("big.bin")), kBaseTime - kHour);
        // A server still up had the partial temporary file deleted.
        if (!c.kill) {
            EXPECT_EQ(ListTree(server->LocalFolder()), std::vector<std::string>{"big.bin"});
        }
    }
}

}  // namespace
}  // namespace velloran::test
