// velloran-cli run as a process: exit statuses, the text and JSON output
// (parsed back, names that are not UTF-8 included), the tree commands, the
// survey, scripts, settings read from the store and overridden.
#include "app/engine/OptionsRecord.h"
#include "tests/app/support/EngineFixture.h"
#include "tests/app/support/ProcessRun.h"

#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace velloran::test {
namespace {

using quorvantell::eRegBaseKey;

constexpr const char* kOptionsKey = "Software\\Quorvantell\\Velloran\\e\\Options";

// The bytes of a JSON string written with \udcXX escapes for raw bytes.
std::string Bytes(const QString& text)
{
    std::string out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0xDC80 && c <= 0xDCFF) {
            out += static_cast<char>(c - 0xDC00);
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size()) {
            out += QString(text.mid(i, 2)).toStdString();
            ++i;
        } else {
            out += QString(QChar(c)).toStdString();
        }
    }
    return out;
}

class CliTest : public EngineFixture {
protected:
    void SetUp() override { Registry().DeleteKey(eRegBaseKey::HKCU, "Software\\Quorvantell\\Velloran\\e"); }
    static quorvantell::CRegistry& Registry() { return *quorvantell::ClassLibrary::Shared().Registry; }
    ProcessResult Cli(std::vector<std::string> args) { return RunProgram("velloran-cli", args); }
    void StoreOptions(const OptionsRecord& options)
    {
        const OptionsRecord::Bytes bytes = options.ToBytes();
        Registry().SetKeyBinary(eRegBaseKey::HKCU, kOptionsKey, "Options", bytes.data(), OptionsRecord::kSize);
    }
};

TEST_F(CliTest, CompareReportsDifferencesByExitStatus)
{
    Put(0, "same.txt", "s");
    Put(1, "same.txt", "s");
    Folder(0, "docs");
    Folder(1, "docs");
    ProcessResult r = Cli({"compare", m_left, m_right});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");

    Put(0, "docs/report.txt", "new", kBaseTime);
    Put(1, "docs/report.txt", "older", kBaseTime - kMinute);
    Put(0, "notes.txt", "n");
    Put(1, "archive.txt", "a");
    Put(1, "newer.txt", "n", kBaseTime + kMinute);
    Put(0, "newer.txt", "n", kBaseTime);
    Put(0, "size.txt", "1");
    Put(1, "size.txt", "12");
    Folder(1, "extra");
    r = Cli({"compare", m_left, m_right});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "R  extra/\nR  archive.txt\nL> docs/report.txt\nR> newer.txt\nL  notes.txt\n!= size.txt\n");

    r = Cli({"compare", "--all", m_left, m_right});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind("=  docs/\nR  extra/\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("=  same.txt\n"), std::string::npos);
}

TEST_F(CliTest, CompareJsonParsesBackWithEveryByte)
{
    const std::string odd = "caf\xE9 \"q\"\\.txt";
    Put(0, odd, "abc", kBaseTime);
    Put(0, "d\xFF/x.txt", "x", kBaseTime + 1);
    Put(1, "r\xC3\xA9.txt", "rr", kBaseTime - 5);
    ProcessResult r = Cli({"compare", "--json", "--time-offset=-1", m_left, m_right});
    ASSERT_EQ(r.status, 1) << r.err;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
    const QJsonObject root = doc.object();
    EXPECT_EQ(Bytes(root["left"].toString()), m_left + "/");
    EXPECT_EQ(Bytes(root["right"].toString()), m_right + "/");
    const QJsonArray entries = root["entries"].toArray();
    ASSERT_EQ(entries.size(), 4);

    const QJsonObject folder = entries[0].toObject();
    EXPECT_EQ(folder["type"].toString(), "folder");
    EXPECT_EQ(Bytes(folder["path"].toString()), "d\xFF/");
    EXPECT_EQ(folder["syncWay"].toInt(), 1);
    EXPECT_EQ(folder["left"].toObject().keys(), QStringList{"name"});
    EXPECT_TRUE(folder["right"].isNull());

    const QJsonObject file = entries[1].toObject();  // café "q"\.txt sorts before d/ and ré
    EXPECT_EQ(file["type"].toString(), "file");
    EXPECT_EQ(Bytes(file["path"].toString()), odd);
    const QJsonObject left = file["left"].toObject();
    EXPECT_EQ(Bytes(left["name"].toString()), odd);
    EXPECT_EQ(left["size"].toInteger(), 3);
    EXPECT_EQ(left["filetime"].toInteger(), kBaseTime - kMinute);  // the offset is in the stored time
    EXPECT_EQ(Bytes(entries[2].toObject()["path"].toString()), "d\xFF/x.txt");

    const QJsonObject right = entries[3].toObject();
    EXPECT_EQ(Bytes(right["path"].toString()), "r\xC3\xA9.txt");
    EXPECT_EQ(right["syncWay"].toInt(), 4);
    EXPECT_TRUE(right["left"].isNull());
    EXPECT_EQ(right["right"].toObject()["filetime"].toInteger(), kBaseTime - 5);
}

TEST_F(CliTest, UnusableFoldersAndBadUsage)
{
    ProcessResult r = Cli({"compare", m_left, m_temp / "missing"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "error: The folder " + (m_temp / "missing") + " does not exist or is a virtual folder\n");
    r = Cli({"copy", m_left, m_left});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "warning: Both selected folders are the same!\n");

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{}, {"frobnicate"}, {"compare", m_left}, {"compare", "--bogus", m_left, m_right},
          {"copy", "--on-error=maybe", m_left, m_right}, {"copy", "--time-offset=99999", m_left, m_right},
          {"copy", "--time-offset", m_left, m_right}, {"run", "--yes=1", "x"}}) {
        r = Cli(bad);
        EXPECT_EQ(r.status, 2) << (bad.empty() ? "" : bad[0]);
        EXPECT_NE(r.err.find("Try 'velloran-cli --help'."), std::string::npos) << r.err;
    }
}

TEST_F(CliTest, HelpAndVersion)
{
    ProcessResult r = Cli({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* text : {"compare [--all] [--json] [--passive] [--no-subdirs] [--password-file=FILE] [--trust-fingerprint=SHA256:...] LEFT RIGHT",
                             "copy FROM TO", "delete MASTER TARGET", "update MASTER TARGET",
                             "latest [--passive] [--password-file=FILE] [--trust-fingerprint=SHA256:...] LEFT RIGHT",
                             "upload [--passive] [--no-subdirs] [--password-file=FILE] [--trust-fingerprint=SHA256:...] "
                             "[--connections=N] LOCAL URL",
                             "run SCRIPT", "ftpes://",
                             "--on-error=ask|ignore|stop", "--time-offset=MINUTES", "Exit status:", "\\udcXX",
                             "VELLORAN_FTP_PASSWORD", "--password-file"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text;
    r = Cli({"copy", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: velloran-cli copy FROM TO\n", 0), 0u);
    r = Cli({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("velloran-cli ", 0), 0u);
}

TEST_F(CliTest, CopyDeleteAndUpdate)
{
    Put(0, "a.txt", "a");
    Put(0, "d/b.txt", "b");
    ProcessResult r = Cli({"copy", m_left, m_right});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "info: Operation completed successfully\n");
    EXPECT_EQ(ListTree(m_right), (std::vector<std::string>{"a.txt", "d/", "d/b.txt"}));

    Put(1, "stray/c.txt", "c");
    r = Cli({"delete", m_left, m_right});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(Exists(PathOf(1, "stray")));

    Put(1, "extra.txt", "e");
    Put(0, "fresh.txt", "f");
    r = Cli({"update", m_left, m_right});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ListTree(m_right), (std::vector<std::string>{"a.txt", "d/", "d/b.txt", "fresh.txt"}));
}

TEST_F(CliTest, WarningsAndErrorsSetTheExitStatus)
{
    Put(0, "w.txt", "mine", kBaseTime);
    Put(1, "w.txt", "theirs", kBaseTime + kMinute);
    ProcessResult r = Cli({"copy", m_left, m_right});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Warning: Target " + PathOf(1, "w.txt") + "is newer than the source file.\n"),
              std::string::npos);

    Put(0, "blocked.txt", "b");
    Put(1, "blocked.txt/inside", "x");
    SetFileTime(PathOf(1, "blocked.txt"), kBaseTime - kMinute);
    r = Cli({"copy", "--on-error=ignore", m_left, m_right});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Error writing file " + PathOf(1, "blocked.txt") + "\n"), std::string::npos) << r.err;

    // Without a terminal the error policy's question counts as No.
    r = Cli({"copy", m_left, m_right});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Ignore error and continue operation?\nno (no terminal to ask)\n"), std::string::npos);
    EXPECT_NE(r.err.find("warning: Error encountered: File operation has been aborted\n"), std::string::npos);

    r = Cli({"copy", "--yes", m_left, m_right});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("yes (--yes)"), std::string::npos);
}

TEST_F(CliTest, LatestPrintsTheReport)
{
    Put(0, "left.txt", "x", kBaseTime);
    Put(1, "right.txt", "x", kBaseTime + kMinute);
    const ProcessResult r = Cli({"latest", m_left, m_right});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("The newest file on the left is \nleft.txt\nmodified ", 0), 0u) << r.out;
    EXPECT_TRUE(r.out.ends_with("The newest side is the right\n"));
}

TEST_F(CliTest, ScriptsRunHeadless)
{
    Put(0, "a.txt", "a");
    const std::string script = m_temp / "job.velloran";
    WriteFile(script, m_left + "\n" + m_right + "\n1\nY\n");
    ProcessResult r = Cli({"run", script});
    EXPECT_EQ(r.status, 1) << r.err;  // a job that did not run is reported
    EXPECT_FALSE(Exists(PathOf(1, "a.txt")));  // no terminal, no --yes: the Y block is declined

    r = Cli({"run", "--yes", script});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Exists(PathOf(1, "a.txt")));
    EXPECT_NE(r.err.find("info: Operation completed successfully"), std::string::npos);

    WriteFile(script, m_left + "\n" + m_right + "\n9\nN\n");
    r = Cli({"run", script});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("warning: The command file \"" + script + "\" was corrupt or incorrect"), std::string::npos);

    WriteFile(script, m_left + "\n" + (m_temp / "gone") + "\n1\nN\n");
    EXPECT_EQ(Cli({"run", script}).status, 2);
}

TEST_F(CliTest, StoredSettingsAreReadOverriddenAndNeverWritten)
{
    OptionsRecord options;
    options.FilterDotFiles = true;
    options.ErrorAction = 1;
    StoreOptions(options);
    const std::string log = m_temp / "velloran.log";
    Registry().SetKeyStr(eRegBaseKey::HKCU, kOptionsKey, "OLogFile", log);
    Put(0, ".hidden", "h");
    Put(0, "shown.txt", "s");

    ProcessResult r = Cli({"compare", m_left, m_right});
    EXPECT_EQ(r.out, "L  shown.txt\n");
    r = Cli({"compare", "--filter-dot-files", m_left, m_right});
    EXPECT_EQ(r.out, "L  shown.txt\n");

    Put(0, "blocked.txt", "b");
    Put(1, "blocked.txt/inside", "x");
    SetFileTime(PathOf(1, "blocked.txt"), kBaseTime - kMinute);
    r = Cli({"copy", m_left, m_right});  // the stored policy: ignore and go on
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Exists(PathOf(1, ".hidden")));  // a sync never filters
    EXPECT_NE(ReadFile(log).find("Start Sync " + m_left + " +> " + m_right + " at "), std::string::npos);
    EXPECT_NE(ReadFile(log).find("\n\nError writing file " + PathOf(1, "blocked.txt") + "\n\n"), std::string::npos);

    r = Cli({"copy", "--on-error=stop", m_left, m_right});
    EXPECT_NE(r.err.find("File operation has been aborted"), std::string::npos);

    // Nothing was saved: the site key, written only on saving, is absent.
    EXPECT_FALSE(quorvantell::SettingsStore::User().KeyExists(eRegBaseKey::HKCU,
                                                              "Software\\Quorvantell\\Velloran\\e\\Sites"));
}

}  // namespace
}  // namespace velloran::test
