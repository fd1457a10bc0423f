// The settings record's byte layout, loading and saving through the
// settings store, the FTP site values, and the priority settings.
#include "app/engine/CSync.h"
#include "tests/app/support/RecordingHost.h"
#include "tests/support/RunAs.h"
#include "utils/UtilsImport.h"

#include "classlib/general/CGeneral.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velloran::test {
namespace {

using quorvantell::eRegBaseKey;

constexpr const char* kOptionsKey = "Software\\Quorvantell\\Velloran\\e\\Options";
constexpr const char* kSiteKey = "Software\\Quorvantell\\Velloran\\e\\Sites\\1";

quorvantell::CRegistry& Registry()
{
    return *quorvantell::ClassLibrary::Shared().Registry;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { Registry().DeleteKey(eRegBaseKey::HKCU, "Software\\Quorvantell\\Velloran\\e"); }
    RecordingHost host;
    CSync sync{host};
};

uint32_t At32(const OptionsRecord::Bytes& b, size_t offset)
{
    return b[offset] | b[offset + 1] << 8 | b[offset + 2] << 16 | static_cast<uint32_t>(b[offset + 3]) << 24;
}

int16_t At16(const OptionsRecord::Bytes& b, size_t offset)
{
    return static_cast<int16_t>(b[offset] | b[offset + 1] << 8);
}

TEST(OptionsRecordTest, DefaultsAtTheirOffsets)
{
    const OptionsRecord::Bytes b = OptionsRecord().ToBytes();
    EXPECT_EQ(b.size(), 152u);
    EXPECT_EQ(At32(b, 0), 0u);
    EXPECT_EQ(At32(b, 64), 0x006A0035u);
    EXPECT_EQ(At32(b, 68), 0x00FFFFFFu);
    EXPECT_EQ(At32(b, 104), 12u);
    EXPECT_EQ(At32(b, 108), 10u);
    EXPECT_EQ(At32(b, 112), 20u);
    EXPECT_EQ(At16(b, 116), -1);   // ShowInTray
    EXPECT_EQ(At16(b, 118), 0);    // HideFromTaskbar
    EXPECT_EQ(At16(b, 132), -1);   // UseEasyMove
    EXPECT_EQ(At16(b, 138), 0);    // FilterDotFiles
    EXPECT_EQ(At16(b, 140), -1);   // reserved
    EXPECT_EQ(At16(b, 142), -1);   // IgnoreNewerOnServer
    EXPECT_EQ(At16(b, 146), 2);    // ProcessPriority
    EXPECT_EQ(At16(b, 148), 3);    // ThreadPriority
    EXPECT_EQ(At16(b, 150), -1);   // SaveOnExit
}

TEST(OptionsRecordTest, EveryFieldRoundTrips)
{
    OptionsRecord r;
    r.CustomColors[15] = 0x00123456;
    r.HotColor = 0x80000012;
    r.ConsoleFontSize = 95000;  // 9.5 points
    r.OthFontSize = -1;
    r.ErrorAction = 2;
    r.LeftTimeOffset = -90;
    r.FilterDotFiles = true;
    r.ShowInTray = false;
    r.OthFontCharset = 238;
    r.ThreadPriority = 5;
    r.Reserved = 0;
    const OptionsRecord::Bytes b = r.ToBytes();
    EXPECT_EQ(At32(b, 60), 0x00123456u);
    EXPECT_EQ(static_cast<int64_t>(At32(b, 76)) | static_cast<int64_t>(At32(b, 80)) << 32, 95000);
    EXPECT_EQ(At32(b, 100), 2u);
    EXPECT_EQ(At16(b, 130), -90);
    OptionsRecord back;
    ASSERT_TRUE(back.FromBytes(b.data(), b.size()));
    EXPECT_EQ(back, r);
    EXPECT_FALSE(back.FromBytes(b.data(), 151));
    EXPECT_FALSE(back.FromBytes(b.data(), 153));
}

TEST_F(SettingsTest, FreshProfileGivesTheDefaults)
{
    sync.Options.ErrorAction = 2;
    sync.Init();
    EXPECT_EQ(sync.Options, OptionsRecord());
    EXPECT_EQ(sync.OLogFile, "");
    EXPECT_EQ(host.site, FtpSiteFields());
    EXPECT_EQ(host.site.SubDirs, 1);
    EXPECT_EQ(host.site.Pasv, 0);
    EXPECT_EQ(host.zOnTop, std::vector<bool>{false});
    EXPECT_EQ(host.formSwitches, std::vector<std::string>{"move,snap"});
}

TEST_F(SettingsTest, RecordsOfAnotherLengthAreIgnored)
{
    OptionsRecord changed;
    changed.ErrorAction = 1;
    const OptionsRecord::Bytes good = changed.ToBytes();
    for (const uint32_t length : {151u, 153u}) {
        std::vector<uint8_t> bytes(good.begin(), good.end());
        bytes.resize(length);
        Registry().SetKeyBinary(eRegBaseKey::HKCU, kOptionsKey, "Options", bytes.data(), length);
        sync.Init();
        EXPECT_EQ(sync.Options.ErrorAction, 0) << length;
    }
    Registry().SetKeyBinary(eRegBaseKey::HKCU, kOptionsKey, "Options", good.data(), 152);
    sync.Init();
    EXPECT_EQ(sync.Options.ErrorAction, 1);
}

TEST_F(SettingsTest, SavedOnlyWithSaveOnExit)
{
    sync.Init();
    sync.Options.RecentCount = 7;
    sync.OLogFile = "/var/log/velloran.log";
    sync.Terminate();  // SaveOnExit is on by default
    sync.Options.RecentCount = 9;
    sync.Options.SaveOnExit = false;
    sync.OLogFile = "changed";
    sync.Terminate();

    CSync next(host);
    next.Init();
    EXPECT_EQ(next.Options.RecentCount, 7);
    EXPECT_TRUE(next.Options.SaveOnExit);
    EXPECT_EQ(next.OLogFile, "/var/log/velloran.log");
}

TEST_F(SettingsTest, FtpConnectionsAreKeptBesideTheRecordWithinTheirRange)
{
    sync.Init();
    EXPECT_EQ(sync.FTPConnections, CSync::kDefaultFTPConnections);
    sync.FTPConnections = 3;
    sync.Terminate();
    EXPECT_EQ(Registry().GetKeyWord(eRegBaseKey::HKCU, kOptionsKey, "FTPConnections", 0), 3);
    for (const auto& [stored, loaded] : {std::pair{3, 3}, {0, 1}, {-5, 1}, {9, 8}}) {
        Registry().SetKeyWord(eRegBaseKey::HKCU, kOptionsKey, "FTPConnections", stored);
        sync.Init();
        EXPECT_EQ(sync.FTPConnections, loaded) << stored;
    }
}

TEST_F(SettingsTest, FtpSiteIsSavedAndLoaded)
{
    host.site.Server = "ftp.example.org";
    host.site.Username = "me";
    host.site.Passwd = "secret";
    host.site.FTPDirs = {"/pub/", "/incoming/", "/home/me/"};
    host.site.SavePW = 1;
    host.site.Pasv = 1;
    host.site.SubDirs = 0;
    sync.Terminate();
    EXPECT_EQ(Registry().GetKeyWord(eRegBaseKey::HKCU, "Software\\Quorvantell\\Velloran\\e\\Sites\\", "", 0), 1);
    EXPECT_EQ(Registry().GetKeyWord(eRegBaseKey::HKCU, kSiteKey, "nFTPDir", 0), 3);
    EXPECT_EQ(Registry().GetKeyStr(eRegBaseKey::HKCU, kSiteKey, "2FTPDir", ""), "/home/me/");

    // An empty entry in the stored list is skipped on reading.
    Registry().SetKeyStr(eRegBaseKey::HKCU, kSiteKey, "1FTPDir", "");
    const FtpSiteFields saved = host.site;
    host.site = FtpSiteFields();
    sync.Init();
    EXPECT_EQ(host.site.Server, "ftp.example.org");
    EXPECT_EQ(host.site.Passwd, "secret");
    EXPECT_EQ(host.site.FTPDirs, (std::vector<std::string>{"/pub/", "/home/me/"}));
    EXPECT_EQ(host.site.Pasv, 1);
    EXPECT_EQ(host.site.SubDirs, 0);
    EXPECT_EQ(host.site.SavePW, 1);
}

TEST_F(SettingsTest, StoredFolderCountIsBounded)
{
    Registry().SetKeyStr(eRegBaseKey::HKCU, kSiteKey, "0FTPDir", "/first/");
    Registry().SetKeyStr(eRegBaseKey::HKCU, kSiteKey, "999FTPDir", "/last/");
    Registry().SetKeyStr(eRegBaseKey::HKCU, kSiteKey, "1000FTPDir", "/beyond/");
    const std::pair<int32_t, std::vector<std::string>> cases[] = {
        {INT32_MAX, {"/first/", "/last/"}}, {-1, {}}, {1, {"/first/"}}};
    for (const auto& [count, folders] : cases) {
        Registry().SetKeyWord(eRegBaseKey::HKCU, kSiteKey, "nFTPDir", count);
        sync.Init();
        EXPECT_EQ(host.site.FTPDirs, folders) << count;
    }
}

TEST_F(SettingsTest, PasswordIsKeptOnlyWhenAskedTo)
{
    host.site.Passwd = "secret";
    host.site.SavePW = 0;
    sync.Terminate();
    EXPECT_EQ(Registry().GetKeyStr(eRegBaseKey::HKCU, kSiteKey, "Passwd", "unset"), "");
}

TEST_F(SettingsTest, TrayAndOnTopFollowTheSettings)
{
    sync.SetTrayIcon();
    sync.Options.ShowInTray = false;
    sync.SetTrayIcon();
    sync.Options.OnTop = true;
    sync.CheckWindowsOnTop();
    EXPECT_EQ(host.trayCalls, (std::vector<std::string>{"add Quorvantell Velloran", "delete Quorvantell Velloran"}));
    EXPECT_EQ(host.zOnTop.back(), true);
}

// The nice value of the calling thread after SetPriority, measured in a
// child process so the test program keeps its own priority.
int NiceAfter(int16_t processPriority, int16_t threadPriority)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return 1000;
    const pid_t pid = fork();
    if (pid == 0) {
        RecordingHost childHost;
        CSync child(childHost);
        child.Options.ProcessPriority = processPriority;
        child.Options.ThreadPriority = threadPriority;
        child.SetPriority();
        errno = 0;
        const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
        (void)!write(pipeFds[1], &nice, sizeof nice);
        _exit(0);
    }
    close(pipeFds[1]);
    int nice = 1000;
    (void)!read(pipeFds[0], &nice, sizeof nice);
    close(pipeFds[0]);
    waitpid(pid, nullptr, 0);
    return nice;
}

TEST(PriorityTest, ProcessAndThreadPriority)
{
    EXPECT_EQ(NiceAfter(1, 3), 19);  // idle process, normal thread
    if (geteuid() == 0) {
        EXPECT_EQ(NiceAfter(3, 5), -20);  // high process (-10), highest thread (10 more)
    }
}

// An ordinary user asking for high, then idle, then normal again: the two
// refusals are told once, and idle holds.
TEST(PriorityTest, RefusalIsToldOnce)
{
    if (!IsRoot())
        GTEST_SKIP() << "needs root to run a part as nobody";
    const bool held = RunAsNobody([] {
        RecordingHost childHost;
        CSync child(childHost);
        for (int16_t processPriority : {3, 1, 2}) {
            child.Options.ProcessPriority = processPriority;
            child.SetPriority();
        }
        return childHost.messages.size() == 1 && childHost.messages[0].icon == quorvantell::MB_ICONWARNING &&
               quorvantell::utils::GetOwnPriority(0) == quorvantell::IDLE_PRIORITY_CLASS;
    });
    EXPECT_TRUE(held);
}

}  // namespace
}  // namespace velloran::test
