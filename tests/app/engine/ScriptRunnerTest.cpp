// Script files: the four-line blocks, the quit line, the confirmation flag,
// number reading, line ends, every message and the end of a run.
#include "app/engine/ScriptRunner.h"
#include "tests/app/support/EngineFixture.h"

#include "classlib/general/CGeneral.h"

namespace velloran::test {
namespace {

constexpr const char* kSuccess = "Operation completed successfully";

class ScriptRunnerTest : public EngineFixture {
protected:
    // Writes the lines, each ended by `eol`, and runs the script.
    void Run(const std::vector<std::string>& lines, const std::string& eol = "\r\n")
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + eol;
        WriteFile(m_script, text);
        runner.Read(m_script);
    }
    std::string Corrupt() const { return "The command file \"" + m_script + "\" was corrupt or incorrect"; }

    std::string m_script = m_temp / "job.velloran";
    ScriptRunner runner{sync};
};

TEST_F(ScriptRunnerTest, EmptyScriptSucceeds)
{
    sync.OLogFile = m_temp / "log.txt";
    Run({});
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_EQ(runner.LastOutcome(), ScriptRunner::Outcome::Completed);
    EXPECT_NE(ReadFile(sync.OLogFile).find("Start Sync Script " + m_script + " at "), std::string::npos);
    EXPECT_NE(ReadFile(sync.OLogFile).find("No errors encountered"), std::string::npos);
    EXPECT_EQ(host.controlsEnabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(host.exitCaptions, (std::vector<std::string>{"&Cancel", "E&xit"}));
    EXPECT_EQ(host.captions.back(), "Done.");
    EXPECT_EQ(host.progressValues, (std::vector<int32_t>{100, 0}));
    EXPECT_FALSE(sync.syncRunning);
    EXPECT_FALSE(host.unloaded);
}

TEST_F(ScriptRunnerTest, OnlyTheQuitLineClosesWithoutSuccessMessage)
{
    Run({"Q", "ignored", "lines"});
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.unloaded);
    EXPECT_TRUE(runner.QuitRead());
}

TEST_F(ScriptRunnerTest, BlocksRunTheirActions)
{
    Put(0, "a.txt", "a");
    Put(1, "stale.txt", "s");
    Run({m_left, m_right, "1", "N", m_left, m_right, "3", "N", "Q"});
    EXPECT_EQ(ListTree(m_right), std::vector<std::string>{"a.txt"});
    EXPECT_TRUE(host.messages.empty());  // a quit line: no success message
    EXPECT_TRUE(host.unloaded);
}

TEST_F(ScriptRunnerTest, YesFlagAsksTheActionQuestion)
{
    Put(1, "stale.txt", "s");
    host.answers = {true};
    Run({m_left, m_right, "3", "Y"});
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text, "Warning: You are about to make permanent changes to your file system.\r\n\r\n"
                                      "Do you wish to delete files from\r\n" + m_right +
                                      "\r\n\r\nif they don't exist in\r\n" + m_left + "?");
    EXPECT_EQ(host.questions[0].caption, "Delete files");
    EXPECT_EQ(host.questions[0].icon, quorvantell::MB_ICONQUESTION);
    EXPECT_FALSE(Exists(PathOf(1, "stale.txt")));
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{kSuccess});
}

TEST_F(ScriptRunnerTest, DeclinedQuestionSkipsTheBlockAndTheSuccessMessage)
{
    Put(0, "a.txt", "a");
    host.answers = {false, true};
    Run({m_left, m_right, "5", "Y", m_right, m_left, "2", "Y", "Q"});
    EXPECT_EQ(host.questions[0].caption, "Sync folders");
    EXPECT_EQ(host.questions[1].caption, "Copy files");
    EXPECT_EQ(host.questions[1].text, "Warning: You are about to make permanent changes to your file system.\r\n\r\n"
                                      "Do you wish to copy files from\r\n" + m_left + "\r\n\r\nto update\r\n" +
                                      m_right + "?");
    EXPECT_EQ(ReadFile(PathOf(1, "a.txt")), "a");  // action 2 with the folders swapped copies left to right
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.errorLogs.empty());  // a declined job is no error: the quit line closes
    EXPECT_TRUE(host.unloaded);
    EXPECT_EQ(runner.DeclinedJobs(), std::vector<std::string>{"Job 1 (" + m_left + " \xC2\xB1> " + m_right + ")"});
}

TEST_F(ScriptRunnerTest, FlagAndNumberAreReadStrictlyAndLeniently)
{
    Run({m_left, m_right, "1", "y"});
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{Corrupt()});
    EXPECT_EQ(runner.LastOutcome(), ScriptRunner::Outcome::Corrupt);

    host.messages.clear();
    Put(1, "stale.txt", "s");
    Run({m_left, m_right, " 3", "N"});
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_FALSE(Exists(PathOf(1, "stale.txt")));

    for (const char* bad : {"6", "0", "three", ""}) {
        host.messages.clear();
        Run({m_left, m_right, bad, "N"});
        EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{Corrupt()}) << bad;
    }
}

TEST_F(ScriptRunnerTest, MissingFolderInTheSecondBlock)
{
    Put(0, "a.txt", "a");
    const std::string missing = m_temp / "gone";
    Run({m_left, m_right, "1", "N", missing, m_right, "1", "N", "Q"});
    const std::string text = "The command file \"" + m_script + "\" contains the folder \"" + missing +
                             "\" which could not be found";
    EXPECT_EQ(ReadFile(PathOf(1, "a.txt")), "a");
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{text});
    EXPECT_EQ(host.errorLogs, std::vector<std::string>{text + "\r\n"});
    EXPECT_FALSE(host.unloaded);  // the quit line was not reached
    EXPECT_EQ(runner.LastOutcome(), ScriptRunner::Outcome::FolderRejected);
}

TEST_F(ScriptRunnerTest, OtherLineEnds)
{
    Put(0, "a.txt", "a");
    Run({m_left, m_right, "1", "N"}, "\n");
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{kSuccess});
    EXPECT_TRUE(Exists(PathOf(1, "a.txt")));
    host.messages.clear();
    Run({m_left, m_right, "1", "N"}, "\r");
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{kSuccess});
}

TEST_F(ScriptRunnerTest, ScriptCutShortOrMissing)
{
    Run({m_left, m_right, "1"});
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{Corrupt()});
    host.messages.clear();
    runner.Read(m_temp / "none.velloran");
    EXPECT_EQ(host.MessageTexts(),
              (std::vector<std::string>{"The command file \"" + (m_temp / "none.velloran") + "\" could not be found",
                                        "The command file \"" + (m_temp / "none.velloran") +
                                            "\" was corrupt or incorrect"}));
    host.messages.clear();
    runner.Read(m_left);  // a folder is no script
    EXPECT_EQ(host.MessageTexts(),
              std::vector<std::string>{"The command file \"" + m_left + "\" was corrupt or incorrect"});
}

TEST_F(ScriptRunnerTest, SameOrNestedFoldersStopTheRun)
{
    Run({m_left, m_left, "1", "N", "Q"});
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Both selected folders are the same!"});
    EXPECT_FALSE(host.unloaded);
    EXPECT_FALSE(runner.Succeeded());

    host.messages.clear();
    Folder(0, "sub");
    Put(0, "a.txt", "a");
    Run({m_left, PathOf(0, "sub"), "5", "N", m_left, m_right, "1", "N", "Q"});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.rfind("The folders ", 0), 0u);
    EXPECT_FALSE(host.unloaded);
    EXPECT_FALSE(Exists(PathOf(1, "a.txt")));
    EXPECT_EQ(ListTree(m_left), (std::vector<std::string>{"a.txt", "sub/"}));
}

TEST_F(ScriptRunnerTest, LoggedErrorsKeepTheProgramOpen)
{
    sync.Options.ErrorAction = 1;
    Put(0, "a.txt", "a");
    Put(1, "a.txt/inside", "blocks the copy");
    SetFileTime(PathOf(1, "a.txt"), kBaseTime - kMinute);
    Run({m_left, m_right, "1", "N", "Q"});
    EXPECT_EQ(host.errorLogs.size(), 1u);
    EXPECT_FALSE(host.unloaded);
}

TEST_F(ScriptRunnerTest, RefusedWhileAnotherOperationRuns)
{
    sync.syncRunning = true;
    Run({});
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Please wait for the current operation to be completed "
                                                            "before starting another operation"});
    EXPECT_EQ(runner.LastOutcome(), ScriptRunner::Outcome::Refused);
    EXPECT_TRUE(host.controlsEnabled.empty());
}

TEST_F(ScriptRunnerTest, FtpModeIsSwitchedOff)
{
    sync.modeFTP = true;
    Put(0, "a.txt", "a");
    Run({m_left, m_right, "1", "N"});
    EXPECT_EQ(host.ftpSwitches, 1);
    EXPECT_FALSE(sync.modeFTP);
    EXPECT_TRUE(Exists(PathOf(1, "a.txt")));
}

TEST_F(ScriptRunnerTest, CancelledActionEndsTheRunQuietly)
{
    for (int i = 0; i < 60; ++i)
        Put(0, "f" + std::to_string(100 + i), "x");
    host.CancelAtTurn(5);
    host.answers = {true};
    Run({m_left, m_right, "1", "N", m_left, m_right, "3", "N"});
    EXPECT_EQ(runner.LastOutcome(), ScriptRunner::Outcome::Cancelled);
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Cancelled by user."});
}

}  // namespace
}  // namespace velloran::test
