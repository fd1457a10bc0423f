// velloran-sendmail from the command line against real servers: its exit
// statuses and what it writes on stderr.
#include "tests/classlib/mail/MailPeers.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>

using namespace velloran::test;

namespace {

struct ToolRun {
    int status = -1;
    std::string output;
};

ToolRun SendMail(const std::string& args)
{
    ToolRun run;
    FILE* pipe = popen((std::string(VELLORAN_BUILD_BIN) + "/velloran-sendmail " + args + " 2>&1").c_str(), "r");
    char buffer[4096];
    for (size_t got; pipe != nullptr && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, got);
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

TEST(SendMailTool, ExitStatusesAndEvents)
{
    const std::string missing = MissingMailPeers(true);
    if (!missing.empty())
        GTEST_SKIP() << missing;
    SmtpPeer smtp({"mailer", "s3cret"});
    Pop3Peer pop3("mailer", "s3cret");
    TempDir dir("tool");
    WriteFile(dir / "right", "s3cret\n");
    WriteFile(dir / "wrong", "nope\n");
    WriteFile(dir / "body.txt", "Hello from the command line.\n");
    WriteFile(dir / "notes.txt", "attached");
    const std::string common = "--server 127.0.0.1:" + std::to_string(smtp.Port()) +
                               " --from me@velloran.com --to 'you@velloran.com;other@velloran.com' --subject Hi"
                               " --body-file " + dir / "body.txt" + " --attach " + dir / "notes.txt" + " --user mailer";
    struct Row {
        std::string args;
        int status;
        std::vector<std::string> said;
    } rows[] = {
        {common + " --password-file " + dir / "right" + " --pop3 127.0.0.1:" + std::to_string(pop3.Port()), 0,
         {"POP3 Authentication Successful...", "Host Login OK!", "Progress: 100%", "Transmission Complete..."}},
        {common + " --password-file " + dir / "wrong", 1, {"Host Login Failed!", "Send failed:\n535 "}},
        {"--server 127.0.0.1:port --from me@velloran.com --to you@velloran.com", 2, {"usage: velloran-sendmail"}},
        {"--from me@velloran.com --to you@velloran.com", 2, {"--server is required"}},
    };
    for (const Row& row : rows) {
        const ToolRun run = SendMail(row.args);
        EXPECT_EQ(run.status, row.status) << row.args << "\n" << run.output;
        for (const std::string& text : row.said)
            EXPECT_NE(run.output.find(text), std::string::npos) << text << "\n" << run.output;
    }
    ASSERT_EQ(smtp.Received(), 1);
    EXPECT_EQ(smtp.Envelope(1), (std::vector<std::string>{"me@velloran.com", "you@velloran.com", "other@velloran.com"}));
    const QJsonObject message = smtp.Read(1);
    EXPECT_EQ(message["body"].toString().toStdString(), "Hello from the command line.\r\n\r\n");
}
