// velloran-cli run as a process against what should never pass silently: a
// log file that cannot take the block, script jobs that did not run, names
// that would forge lines or reach the terminal as escape sequences, the FTP
// password kept out of the process list, and a settings store that the CLI
// only ever reads.
#include "app/engine/OptionsRecord.h"
#include "tests/app/ftp/FtpServers.h"
#include "tests/app/support/EngineFixture.h"
#include "tests/app/support/ProcessRun.h"

#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace velloran::test {
namespace {

using quorvantell::eRegBaseKey;

constexpr const char* kOptionsKey = "Software\\Quorvantell\\Velloran\\e\\Options";
// A name that would end a line and clear the screen, and how it is shown.
const std::string kOdd = "x\nforged\x1B[2J";
const std::string kShown = "x\\x0Aforged\\x1B[2J";

class CliFaultsTest : public EngineFixture {
protected:
    void SetUp() override { Registry().DeleteKey(eRegBaseKey::HKCU, "Software\\Quorvantell\\Velloran\\e"); }
    static quorvantell::CRegistry& Registry() { return *quorvantell::ClassLibrary::Shared().Registry; }
    static ProcessResult Cli(const std::vector<std::string>& args) { return RunProgram("velloran-cli", args, 60); }
    std::string Script(const std::string& name, const std::string& text) const
    {
        WriteFile(m_temp / name, text);
        return m_temp / name;
    }
};

TEST_F(CliFaultsTest, LogFileThatCannotTakeTheBlockIsAnError)
{
    const std::string fifo = m_temp / "fifo.log";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string script = Script("empty.velloran", "");
    for (const std::string& log : {fifo, std::string("/dev/full"), m_temp / "no/such/folder/run.log"}) {
        Registry().SetKeyStr(eRegBaseKey::HKCU, kOptionsKey, "OLogFile", log);
        for (const std::vector<std::string>& args : {std::vector<std::string>{"copy", m_left, m_right},
                                                     std::vector<std::string>{"run", script}}) {
            const ProcessResult r = Cli(args);
            EXPECT_EQ(r.status, 2) << log << " " << args[0] << "\n" << r.err;
            EXPECT_NE(r.err.find("error: Error saving log: Error writing to log file.  Check that the filename is "
                                 "correct and the disk is not write protected.\n"),
                      std::string::npos)
                << r.err;
        }
    }
}

TEST_F(CliFaultsTest, ScriptJobsThatDidNotRunAreReported)
{
    Put(0, "a.txt", "a");
    struct Case {
        std::string name, text;
        int status;
        std::string line;
    };
    const Case cases[] = {
        // A NUL would have the runner check the folder before it and use the whole line.
        {"nul.velloran", m_left + "\n" + m_right + std::string("\0/sub", 5) + "\n1\nN\n", 2,
         "warning: The command file \"" + (m_temp / "nul.velloran") + "\" was corrupt or incorrect\n"},
        // No terminal and no --yes: the Y job is declined; the N job after it runs.
        {"declined.velloran", m_left + "\n" + m_right + "\n3\nY\n" + m_left + "\n" + m_right + "\n1\nN\n", 1,
         "warning: Job 1 (" + m_left + " >- " + m_right + ") was not run: its question was answered No\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult r = Cli({"run", Script(c.name, c.text)});
        EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.err;
        EXPECT_NE(r.err.find(c.line), std::string::npos) << r.err;
    }
    EXPECT_EQ(ListTree(m_right), std::vector<std::string>{"a.txt"});  // the N job, nothing below "sub"
}

TEST_F(CliFaultsTest, NamesNeitherForgeLinesNorReachTheTerminal)
{
    Put(0, kOdd + ".txt", "new", kBaseTime);
    Put(1, kOdd + ".txt/inside", "blocks the copy");
    SetFileTime(PathOf(1, kOdd + ".txt"), kBaseTime - kMinute);
    const std::string script =
        Script("job" + kOdd + ".velloran", m_left + "\n" + (m_temp / "gone\x1B[2J") + "\n1\nN\n");
    struct Case {
        std::vector<std::string> args;
        std::string shown;
    };
    const Case cases[] = {
        {{"compare", m_left, m_right}, "\nL  " + kShown + ".txt\n"},
        {{"copy", "--on-error=ignore", m_left, m_right}, "\nError writing file " + m_right + "/" + kShown + ".txt\n"},
        {{"run", script},
         "The command file \"" + m_temp.Path() + "/job" + kShown + ".velloran\" contains the folder \"" +
             m_temp.Path() + "/gone\\x1B[2J\" which could not be found\n"},
        {{"compare", "--bogus" + kOdd, m_left, m_right}, "velloran-cli: unknown option --bogus" + kShown + "\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult r = Cli(c.args);
        const std::string all = "\n" + r.out + r.err;
        EXPECT_NE(all.find(c.shown), std::string::npos) << c.args[0] << "\n" << all;
        EXPECT_EQ(all.find('\x1B'), std::string::npos) << all;
        EXPECT_EQ(all.find("\nforged"), std::string::npos) << all;
    }
}

TEST_F(CliFaultsTest, FtpPasswordFromAFileAndAWarningForOneInTheAddress)
{
    const std::string missing = FtpServer::MissingReason(FtpServerKind::Pyftpdlib);
    if (!missing.empty())
        GTEST_SKIP() << missing;
    unsetenv("VELLORAN_FTP_PASSWORD");
    auto server = FtpServer::Start(FtpServerKind::Pyftpdlib);
    const std::string good = m_temp / "good", wrong = m_temp / "wrong";
    WriteFile(good, server->Password() + "\r\n");
    WriteFile(wrong, "not-" + server->Password() + "\n");
    const std::string withPassword =
        "ftp://" + server->User() + ":" + server->Password() + "@" + server->Address() + "/";
    const std::string userOnly = "ftp://" + server->User() + "@" + server->Address() + "/";
    const std::string warning = "warning: The password in the ftp:// address can be read by every user";
    struct Case {
        std::vector<std::string> options;
        std::string url;
        int status;
        bool warned;
        std::string text;  // in stderr
    };
    const Case cases[] = {
        {{}, withPassword, 0, true, ""},
        {{"--password-file=" + good}, userOnly, 0, false, ""},
        {{"--password-file", good}, userOnly, 0, false, ""},
        {{"--password-file=" + wrong}, userOnly, 2, false, "An error occurred with the FTP connection"},
        {{"--password-file=" + (m_temp / "none")}, userOnly, 2, false, "error: cannot read the password file"},
        {{"--password-file=" + good}, withPassword, 2, true, "the password is given twice"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"compare", "--passive"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), {m_left, c.url});
        const ProcessResult r = Cli(args);
        EXPECT_EQ(r.status, c.status) << c.url << "\n" << r.err;
        EXPECT_EQ(r.err.find(warning) != std::string::npos, c.warned) << r.err;
        EXPECT_EQ(r.err.find(warning), r.err.rfind(warning)) << r.err;  // once at most
        EXPECT_NE(r.err.find(c.text), std::string::npos) << r.err;
    }
}

TEST_F(CliFaultsTest, SettingsStoreIsOnlyRead)
{
    const std::string config = m_temp / "config";
    const std::string store = config + "/velloran/settings.db";
    MakeDirs(config + "/velloran");
    Put(0, ".hidden", "h");
    Put(0, "shown.txt", "s");
    struct Case {
        std::string name;
        std::optional<std::string> junk;  // the store's bytes; none: a store written by the program
        bool present;
        std::string out, warning;
    };
    const Case cases[] = {
        {"sound", std::nullopt, true, "L  shown.txt\n", ""},
        {"damaged", std::string(4096, '\x5A'), true, "L  .hidden\nL  shown.txt\n", " is damaged ("},
        {"missing", std::nullopt, false, "L  .hidden\nL  shown.txt\n", "there is no settings store"},
    };
    const std::string saved = std::getenv("XDG_CONFIG_HOME");
    for (const Case& c : cases) {
        std::remove(store.c_str());
        if (c.junk) {
            WriteFile(store, *c.junk);
        } else if (c.present) {
            quorvantell::SettingsStore written(store);
            OptionsRecord options;
            options.FilterDotFiles = true;
            const OptionsRecord::Bytes bytes = options.ToBytes();
            quorvantell::CRegistry(written).SetKeyBinary(eRegBaseKey::HKCU, kOptionsKey, "Options", bytes.data(),
                                                         OptionsRecord::kSize);
        }
        const std::vector<std::string> listing = ListTree(config);
        const std::string bytes = c.present ? ReadFile(store) : "";
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        const ProcessResult r = Cli({"compare", m_left, m_right});
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), c.warning.empty() ? 0 : 1) << c.name << "\n" << r.err;
        EXPECT_NE(r.err.find(c.warning), std::string::npos) << c.name << "\n" << r.err;
        EXPECT_EQ(ListTree(config), listing) << c.name;
        EXPECT_EQ(c.present ? ReadFile(store) : "", bytes) << c.name;
    }
}

}  // namespace
}  // namespace velloran::test
