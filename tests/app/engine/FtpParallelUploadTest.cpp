// Uploads over several FTP sessions at once, against real servers on
// 127.0.0.1: the user sees what an upload over one session shows, the first
// failure in list order ends the upload, a cancel comes between files, and
// every server file is whole with the local time.
#include "app/engine/AppError.h"
#include "tests/app/ftp/FtpServers.h"
#include "tests/app/ftp/FtpTestSupport.h"
#include "tests/app/support/EngineFixture.h"

#include <algorithm>
#include <filesystem>
#include <functional>

namespace velloran::test {
namespace {

constexpr int32_t kSessions = 4;
constexpr const char* kTempEnding = ".velloran-upload";

// What the user was shown of one upload.
struct Seen {
    int32_t raised = 0;
    bool completed = false;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> captions;
    std::vector<int32_t> progress;
    std::vector<int32_t> activity;
    std::string errLog;
    bool operator==(const Seen&) const = default;
};

class FtpParallelUploadTest : public EngineFixture {
protected:
    void SetUp() override
    {
        const std::string missing = FtpServer::MissingReasonOfEither();
        if (!missing.empty())
            GTEST_SKIP() << missing;
    }

    // An upload of the left tree to the server over up to `connections`
    // sessions, by an engine of its own over `own`, a fresh host; `script`
    // may set them up.
    Seen Upload(const FtpServer& server, int32_t connections,
                const std::function<void(RecordingHost&, CSync&)>& script = {})
    {
        RecordingHost own;
        return Upload(server, connections, own, script);
    }
    Seen Upload(const FtpServer& server, int32_t connections, RecordingHost& own,
                const std::function<void(RecordingHost&, CSync&)>& script)
    {
        CSync engine(own);
        own.Attach(engine);
        own.SetFolders(m_left, m_right);
        UseServer(own, engine, server);
        engine.FTPConnections = connections;
        if (script)
            script(own, engine);
        EXPECT_TRUE(engine.checkFoldersValid());
        Seen seen;
        seen.raised = RaisedNumber([&] { seen.completed = engine.DoCopyFTP(); });
        seen.messages = own.MessageTexts();
        for (const RecordingHost::Question& question : own.questions)
            seen.questions.push_back(question.text);
        seen.captions = own.captions;
        seen.progress = own.progressValues;
        seen.activity = own.activityValues;
        seen.errLog = engine.errLog;
        return seen;
    }

    static void UseServer(RecordingHost& into, CSync& engine, const FtpServer& server)
    {
        engine.modeFTP = true;
        into.site.Server = server.Server();
        into.site.Username = server.User();
        into.site.Passwd = server.Password();
        into.site.FTPDirs = {server.ServerFolder()};
        into.site.Pasv = 1;
        into.site.SubDirs = 1;
    }

    // Every server file but those `kept` is a whole copy of its local file,
    // none is left under a temporary name; the count of files compared.
    int ExpectWholeFiles(const FtpServer& server, const std::vector<std::string>& kept = {})
    {
        int files = 0;
        for (const std::string& name : ListTree(server.LocalFolder())) {
            EXPECT_EQ(name.find(kTempEnding), std::string::npos) << name;
            if (name.back() == '/' || std::find(kept.begin(), kept.end(), name) != kept.end())
                continue;
            EXPECT_EQ(ReadFile(server.Local(name)), ReadFile(PathOf(0, name))) << name;
            ++files;
        }
        return files;
    }
};

int64_t TimeOf(int i)
{
    return kBaseTime - (400LL * 24 * 3600 + 37LL * i) * kSecond;
}

TEST_F(FtpParallelUploadTest, SeveralSessionsShowWhatOneShowsAndKeepEveryTime)
{
    // 200 files in 20 folders; three have the server's time with another
    // size, so warning lines stand between the uploads.
    for (int i = 0; i < 200; ++i) {
        const std::string name = "d" + std::to_string(i / 10) + "/f" + std::to_string(i % 10) + ".txt";
        Put(0, name, std::string(static_cast<size_t>(1 + i * 7), static_cast<char>('a' + i % 26)), TimeOf(i));
    }
    const std::vector<std::string> sameTime = {"d3/f4.txt", "d11/f0.txt", "d19/f9.txt"};
    const auto seed = [&](const FtpServer& server) {
        for (const auto& entry : std::filesystem::directory_iterator(server.LocalFolder()))
            std::filesystem::remove_all(entry.path());
        for (const std::string& name : sameTime)
            server.MakeFile(name, "server copy", GetFileTime(PathOf(0, name)));
    };

    for (const FtpServerKind kind : {FtpServerKind::Pyftpdlib, FtpServerKind::Vsftpd}) {
        auto server = FtpServer::Start(kind);
        SCOPED_TRACE(server->Name());
        seed(*server);
        const int before = server->Connections();
        const Seen one = Upload(*server, 1);
        const int afterOne = server->Connections();
        seed(*server);
        const Seen several = Upload(*server, kSessions);
        EXPECT_EQ(afterOne - before, 1);
        EXPECT_EQ(server->Connections() - afterOne, kSessions);

        EXPECT_TRUE(several.completed);
        EXPECT_TRUE(several.messages.empty()) << several.messages.front();
        EXPECT_EQ(std::count(several.errLog.begin(), several.errLog.end(), '\n'), 3) << several.errLog;
        EXPECT_TRUE(several == one) << several.errLog << "\n---\n" << one.errLog;
        EXPECT_EQ(ExpectWholeFiles(*server, sameTime), 197);
        for (int i = 0; i < 200; ++i) {
            const std::string name = "d" + std::to_string(i / 10) + "/f" + std::to_string(i % 10) + ".txt";
            EXPECT_EQ(GetFileTime(server->Local(name)), TimeOf(i)) << name;
        }

        // A compare afterwards finds nothing to send.
        UseServer(host, sync, *server);
        ASSERT_TRUE(sync.checkFoldersValid());
        sync.progressBar = &host.ProgressBar();
        sync.ScanAndCompare(host.StatusLabel());
        ASSERT_EQ(sync.m_arrFile.nVells(), 200);
        for (int32_t i = 0; i < sync.m_arrFile.nVells(); ++i) {
            const std::string name(sync.m_arrFile.FileAt(i, 0));
            const bool warned = std::find(sameTime.begin(), sameTime.end(), name) != sameTime.end();
            EXPECT_EQ(sync.m_arrFile.SyncWayAt(i), warned ? 5 : 0) << name;
        }
    }
}

TEST_F(FtpParallelUploadTest, TheFirstFailureInListOrderEndsTheUploadAsOverOneSession)
{
    // The server refuses every file in "m", which lies in the middle of the list.
    for (int i = 0; i < 50; ++i) {
        Put(0, "a/f" + std::to_string(i) + ".txt", "a" + std::to_string(i));
        Put(0, "z/f" + std::to_string(i) + ".txt", "z" + std::to_string(i));
    }
    Put(0, "m/x0.txt", "refused");
    Put(0, "m/x1.txt", "refused too");
    FtpServerOptions options;
    options.readOnlyFolder = "m";

    auto single = FtpServer::Start(FtpServerKind::Pyftpdlib, options);
    auto several = FtpServer::Start(FtpServerKind::Pyftpdlib, options);
    const Seen one = Upload(*single, 1);
    const Seen many = Upload(*several, kSessions);
    EXPECT_FALSE(many.completed);
    EXPECT_EQ(many.messages, std::vector<std::string>{"Error occurred while copying files to FTP server."});
    EXPECT_EQ(many.errLog, "Error writing file " + several->Remote("m/x0.txt") + "\r\n");
    EXPECT_TRUE(many == one) << many.errLog << "\n---\n" << one.errLog;

    // Every file before it went out; after it only those already under way
    // when it failed, never more than the sessions keep going.
    EXPECT_EQ(ExpectWholeFiles(*single), 50);
    const int sent = ExpectWholeFiles(*several);
    EXPECT_GE(sent, 50);
    EXPECT_LE(sent, 50 + 2 * kSessions);
    EXPECT_FALSE(std::filesystem::exists(several->Local("m/x0.txt")));
}

// A host that notes what the server folder holds when a question is asked.
class ServerWatchingHost : public RecordingHost {
public:
    explicit ServerWatchingHost(const FtpServer& server) : m_server(server) {}
    bool AskYesNo(const std::string& text, const std::string& caption, uint32_t icon, QuestionKind kind) override
    {
        atQuestion = ListTree(m_server.LocalFolder());
        return RecordingHost::AskYesNo(text, caption, icon, kind);
    }
    std::vector<std::string> atQuestion;

private:
    const FtpServer& m_server;
};

TEST_F(FtpParallelUploadTest, ACancelStopsNewTransfersAndLeavesEveryFileWhole)
{
    constexpr int kFiles = 120;
    for (int i = 0; i < kFiles; ++i)
        Put(0, "f" + std::to_string(1000 + i) + ".bin", std::string(20'000 + i, 'c'));
    auto server = FtpServer::Start(FtpServerKind::Vsftpd);
    // Cancel a little way into the files; Yes to the question.
    ServerWatchingHost watching(*server);
    const Seen seen = Upload(*server, kSessions, watching, [](RecordingHost& own, CSync& engine) {
        own.answers = {true};
        for (int turn = 1; turn < 4000; ++turn)
            own.AtTurn(turn, [&own, &engine] {
                if (own.activityValues.size() == 10 && own.questions.empty())
                    engine.Cancel = true;
            });
    });
    EXPECT_EQ(seen.raised, AppError::kCancelRequest);
    EXPECT_EQ(seen.questions, std::vector<std::string>{"Are you sure you wish to cancel this operation?"});
    EXPECT_EQ(seen.messages, std::vector<std::string>{"Cancelled by user."});
    // The question waited for the transfers under way, and none began after it.
    EXPECT_EQ(watching.atQuestion, ListTree(server->LocalFolder()));

    // The files asked for, and at most the few the sessions had begun.
    const int sent = ExpectWholeFiles(*server);
    EXPECT_GE(sent, static_cast<int>(seen.activity.size()));
    EXPECT_LE(sent, static_cast<int>(seen.activity.size()) + 2 * kSessions);
}

TEST_F(FtpParallelUploadTest, AServerThatAllowsOneSessionStillTakesEveryFile)
{
    for (int i = 0; i < 30; ++i)
        Put(0, "s" + std::to_string(i % 3) + "/f" + std::to_string(i) + ".txt", std::to_string(i));
    // vsftpd may still count the session of its start-up check for a
    // moment, so it is allowed one more.
    for (const auto& [kind, limit] : {std::pair{FtpServerKind::Pyftpdlib, 1}, {FtpServerKind::Vsftpd, 2}}) {
        FtpServerOptions options;
        options.maxSessions = limit;
        auto server = FtpServer::Start(kind, options);
        SCOPED_TRACE(server->Name());
        const Seen seen = Upload(*server, kSessions);
        EXPECT_TRUE(seen.completed);
        EXPECT_TRUE(seen.messages.empty()) << seen.messages.front();
        EXPECT_EQ(seen.errLog, "");
        EXPECT_EQ(ExpectWholeFiles(*server), 30);
    }
}

}  // namespace
}  // namespace velloran::test
