// Tests of the settings store: typed values under keys, key deletion,
// damaged and unavailable store files, file modes, and several threads and
// processes writing at once.
#include "classlib/general/SettingsStore.h"
#include "tests/support/RunAs.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

extern char** environ;

using namespace quorvantell;
using velloran::test::Exists;
using velloran::test::ListTree;
using velloran::test::ReadFile;
using velloran::test::TempDir;
using velloran::test::WriteFile;

namespace {

constexpr auto HKCU = eRegBaseKey::HKCU;
constexpr auto HKLM = eRegBaseKey::HKLM;

RegValue Text(const std::string& text)
{
    return {REG_SZ, {text.begin(), text.end()}};
}

std::string AsText(const std::optional<RegValue>& value)
{
    return value ? std::string(value->data.begin(), value->data.end()) : std::string("<missing>");
}

unsigned Mode(const std::string& path)
{
    struct stat st{};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 0777 : 0;
}

// Names in the folder of the form settings.db.damaged-YYYYMMDD-HHMMSS.
std::vector<std::string> DamagedFiles(const std::string& folder)
{
    const std::string prefix = "settings.db.damaged-";
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + 15 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string stamp = name.substr(prefix.size());
        bool digits = stamp[8] == '-';
        for (size_t i = 0; i < stamp.size(); ++i)
            digits = digits && (i == 8 || std::isdigit(static_cast<unsigned char>(stamp[i])));
        if (digits)
            found.push_back(entry.path().string());
    }
    return found;
}

size_t Lines(const std::string& text)
{
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

TEST(SettingsStore, KeepsTypedValues)
{
    TempDir dir("store");
    SettingsStore store(dir / "settings.db");
    ASSERT_TRUE(store.Available());

    EXPECT_TRUE(store.SetValue(HKCU, "Software\\Q", "Name", Text("left")));
    EXPECT_TRUE(store.SetValue(HKCU, "Software\\Q", "Empty", Text("")));
    EXPECT_TRUE(store.SetValue(HKCU, "Software\\Q", "", RegValue{REG_DWORD, {1, 0, 0, 0}}));
    const std::vector<uint8_t> blob = {0, 1, 2, 0, 255};
    EXPECT_TRUE(store.SetValue(HKCU, "Software\\Q", "Blob", RegValue{REG_BINARY, blob}));

    EXPECT_EQ(AsText(store.GetValue(HKCU, "Software\\Q", "Name")), "left");
    const auto empty = store.GetValue(HKCU, "Software\\Q", "Empty");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->data.empty());
    const auto byDefault = store.GetValue(HKCU, "Software\\Q", "");
    ASSERT_TRUE(byDefault);
    EXPECT_EQ(byDefault->type, REG_DWORD);
    const auto binary = store.GetValue(HKCU, "Software\\Q", "Blob");
    ASSERT_TRUE(binary);
    EXPECT_EQ(binary->type, REG_BINARY);
    EXPECT_EQ(binary->data, blob);

    // Overwriting changes the type too.
    EXPECT_TRUE(store.SetValue(HKCU, "Software\\Q", "Name", RegValue{REG_BINARY, {7}}));
    EXPECT_EQ(store.GetValue(HKCU, "Software\\Q", "Name")->type, REG_BINARY);
}

TEST(SettingsStore, MissingKeysAndValuesGiveNothing)
{
    TempDir dir("store");
    SettingsStore store(dir / "settings.db");
    store.SetValue(HKCU, "Software\\Q", "Name", Text("x"));
    EXPECT_FALSE(store.GetValue(HKCU, "Software\\Q", "Other"));
    EXPECT_FALSE(store.GetValue(HKCU, "Software\\Missing", "Name"));
    EXPECT_FALSE(store.GetValue(HKCU, "Software", "Name"));
    EXPECT_FALSE(store.GetValue(HKLM, "Software\\Q", "Name"));  // roots are separate
    EXPECT_TRUE(store.DeleteValue(HKCU, "Software\\Q", "Never there"));
}

TEST(SettingsStore, KeyPathsAndNamesIgnoreCaseAndStraySeparators)
{
    TempDir dir("store");
    SettingsStore store(dir / "settings.db");
    store.SetValue(HKCU, "Software\\Quorvantell\\Velloran\\e\\Options\\", "OLogFile", Text("/tmp/log"));
    EXPECT_EQ(AsText(store.GetValue(HKCU, "\\software\\\\QUORVANTELL\\Velloran\\E\\options", "ologfile")), "/tmp/log");
    // The same value under another spelling is overwritten, not doubled.
    store.SetValue(HKCU, "SOFTWARE\\quorvantell\\velloran\\e\\OPTIONS", "OLOGFILE", Text("/var/log"));
    EXPECT_EQ(AsText(store.GetValue(HKCU, "Software\\Quorvantell\\Velloran\\e\\Options", "OLogFile")), "/var/log");
    // Case folding is ASCII only: other letters must match exactly.
    store.SetValue(HKCU, "Ölfass", "Wert", Text("1"));
    EXPECT_FALSE(store.GetValue(HKCU, "ölfass", "Wert"));
}

TEST(SettingsStore, KeysExistThroughValuesAndSubKeys)
{
    TempDir dir("store");
    SettingsStore store(dir / "settings.db");
    EXPECT_TRUE(store.KeyExists(HKCU, ""));
    EXPECT_FALSE(store.KeyExists(HKCU, "Software"));
    store.SetValue(HKCU, "Software\\Quorvantell\\Velloran", "Instances", Text(""));
    EXPECT_TRUE(store.KeyExists(HKCU, "Software"));  // only sub-keys, no values
    EXPECT_TRUE(store.KeyExists(HKCU, "software\\quorvantell\\"));
    EXPECT_TRUE(store.KeyExists(HKCU, "Software\\Quorvantell\\Velloran"));
    EXPECT_FALSE(store.KeyExists(HKCU, "Software\\Quorvantell\\Velloran\\e"));
    EXPECT_FALSE(store.KeyExists(HKLM, "Software"));
    // A key outlives its last value.
    store.DeleteValue(HKCU, "Software\\Quorvantell\\Velloran", "Instances");
    EXPECT_TRUE(store.KeyExists(HKCU, "Software\\Quorvantell\\Velloran"));
}

TEST(SettingsStore, DeleteKeyRemovesSubKeysButNotSiblings)
{
    TempDir dir("store");
    SettingsStore store(dir / "settings.db");
    const std::string e = "Software\\Quorvantell\\Velloran\\e\\";
    store.SetValue(HKCU, e + "Sites", "", RegValue{REG_DWORD, {1, 0, 0, 0}});
    store.SetValue(HKCU, e + "Sites\\1", "Server", Text("ftp.example"));
    store.SetValue(HKCU, e + "Sites\\1\\deeper", "x", Text("y"));
    store.SetValue(HKCU, e + "Sites2", "Keep", Text("sibling"));
    store.SetValue(HKCU, e + "Sites2\\1", "Keep", Text("sibling child"));
    store.SetValue(HKLM, e + "Sites\\1", "Server", Text("other root"));
    // Names that LIKE would read as wildcards.
    store.SetValue(HKCU, "A_B\\child", "v", Text("1"));
    store.SetValue(HKCU, "AxB\\child", "v", Text("2"));
    store.SetValue(HKCU, "100%", "v", Text("3"));
    store.SetValue(HKCU, "100x\\y", "v", Text("4"));

    EXPECT_TRUE(store.DeleteKey(HKCU, e + "SITES\\"));
    EXPECT_FALSE(store.KeyExists(HKCU, e + "Sites"));
    EXPECT_FALSE(store.KeyExists(HKCU, e + "Sites\\1"));
    EXPECT_FALSE(store.GetValue(HKCU, e + "Sites", ""));
    EXPECT_FALSE(store.GetValue(HKCU, e + "Sites\\1", "Server"));
    EXPECT_FALSE(store.GetValue(HKCU, e + "Sites\\1\\deeper", "x"));
    EXPECT_EQ(AsText(store.GetValue(HKCU, e + "Sites2", "Keep")), "sibling");
    EXPECT_EQ(AsText(store.GetValue(HKCU, e + "Sites2\\1", "Keep")), "sibling child");
    EXPECT_EQ(AsText(store.GetValue(HKLM, e + "Sites\\1", "Server")), "other root");
    EXPECT_TRUE(store.KeyExists(HKCU, e));  // the parent stays

    store.DeleteKey(HKCU, "A_B");
    store.DeleteKey(HKCU, "100%");
    EXPECT_FALSE(store.GetValue(HKCU, "A_B\\child", "v"));
    EXPECT_EQ(AsText(store.GetValue(HKCU, "AxB\\child", "v")), "2");
    EXPECT_FALSE(store.GetValue(HKCU, "100%", "v"));
    EXPECT_EQ(AsText(store.GetValue(HKCU, "100x\\y", "v")), "4");
}

TEST(SettingsStore, TheRootCannotBeDeleted)
{
    TempDir dir("store");
    SettingsStore store(dir / "settings.db");
    store.SetValue(HKCU, "Software", "v", Text("kept"));
    EXPECT_FALSE(store.DeleteKey(HKCU, ""));
    EXPECT_FALSE(store.DeleteKey(HKCU, "\\\\"));
    EXPECT_EQ(AsText(store.GetValue(HKCU, "Software", "v")), "kept");
}

TEST(SettingsStore, ValuesOutliveTheConnection)
{
    TempDir dir("store");
    {
        SettingsStore store(dir / "settings.db");
        store.SetValue(HKCU, "K", "v", Text("persisted"));
    }
    SettingsStore again(dir / "settings.db");
    EXPECT_EQ(AsText(again.GetValue(HKCU, "K", "v")), "persisted");
}

TEST(SettingsStore, FilesArePrivateToTheUser)
{
    TempDir dir("store");
    const std::string folder = dir / "config/velloran";
    SettingsStore store(folder + "/settings.db");
    store.SetValue(HKCU, "K", "v", Text("x"));
    EXPECT_EQ(Mode(dir / "config"), 0700u);
    EXPECT_EQ(Mode(folder), 0700u);
    EXPECT_EQ(Mode(folder + "/settings.db"), 0600u);
    ASSERT_TRUE(Exists(folder + "/settings.db-wal"));
    EXPECT_EQ(Mode(folder + "/settings.db-wal"), 0600u);
    EXPECT_EQ(Mode(folder + "/settings.db-shm"), 0600u);

    // A store file that someone made readable to others is closed up again.
    const std::string loose = dir / "loose.db";
    WriteFile(loose, "");
    chmod(loose.c_str(), 0644);
    SettingsStore looseStore(loose);
    EXPECT_TRUE(looseStore.Available());
    EXPECT_EQ(Mode(loose), 0600u);
}

TEST(SettingsStore, RandomBytesAreMovedAsideAndAFreshStoreStarts)
{
    TempDir dir("store");
    const std::string path = dir / "settings.db";
    std::mt19937 random(7);
    std::string junk(8192, '\0');
    for (char& c : junk)
        c = static_cast<char>(random());
    WriteFile(path, junk);
    WriteFile(path + "-wal", "stale journal");

    testing::internal::CaptureStderr();
    SettingsStore store(path);
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(Lines(err), 1u) << err;
    EXPECT_NE(err.find("damaged"), std::string::npos) << err;
    const auto damaged = DamagedFiles(dir.Path());
    ASSERT_EQ(damaged.size(), 1u);
    EXPECT_NE(err.find(damaged[0]), std::string::npos) << err;
    EXPECT_EQ(ReadFile(damaged[0]), junk);
    EXPECT_EQ(ReadFile(damaged[0] + "-wal"), "stale journal");

    ASSERT_TRUE(store.Available());
    EXPECT_TRUE(store.SetValue(HKCU, "K", "v", Text("fresh")));
    EXPECT_EQ(AsText(store.GetValue(HKCU, "K", "v")), "fresh");
    EXPECT_EQ(Mode(path), 0600u);
}

TEST(SettingsStore, TruncatedDatabaseIsMovedAside)
{
    TempDir dir("store");
    const std::string path = dir / "settings.db";
    {
        SettingsStore store(path);
        for (int i = 0; i < 200; ++i)
            store.SetValue(HKCU, "Key" + std::to_string(i), "Value", Text(std::string(100, 'x')));
    }
    const auto size = std::filesystem::file_size(path);
    ASSERT_GT(size, 8192u);
    std::filesystem::resize_file(path, size / 2);

    testing::internal::CaptureStderr();
    SettingsStore store(path);
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(Lines(err), 1u) << err;
    EXPECT_EQ(DamagedFiles(dir.Path()).size(), 1u);
    ASSERT_TRUE(store.Available());
    EXPECT_FALSE(store.GetValue(HKCU, "Key1", "Value"));
    EXPECT_TRUE(store.SetValue(HKCU, "K", "v", Text("fresh")));
    EXPECT_EQ(AsText(store.GetValue(HKCU, "K", "v")), "fresh");
}

TEST(SettingsStore, AnotherProgramsDatabaseIsMovedAside)
{
    TempDir dir("store");
    const std::string path = dir / "settings.db";
    // A sound database that uses one of our table names for something else.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE reg_values (x); INSERT INTO reg_values VALUES (1);", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    testing::internal::CaptureStderr();
    SettingsStore store(path);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Lines(err), 1u) << err;
    EXPECT_EQ(DamagedFiles(dir.Path()).size(), 1u);
    EXPECT_TRUE(store.SetValue(HKCU, "K", "v", Text("fresh")));
}

TEST(SettingsStore, UnavailableStoreGivesNothingAndRefusesWrites)
{
    TempDir dir("store");
    WriteFile(dir / "not-a-folder", "file");
    testing::internal::CaptureStderr();
    SettingsStore store(dir / "not-a-folder/velloran/settings.db");
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(Lines(err), 1u) << err;
    EXPECT_NE(err.find("cannot open the settings store"), std::string::npos) << err;
    EXPECT_FALSE(store.Available());
    EXPECT_FALSE(store.GetValue(HKCU, "K", "v"));
    EXPECT_FALSE(store.SetValue(HKCU, "K", "v", Text("lost")));
    EXPECT_FALSE(store.DeleteValue(HKCU, "K", "v"));
    EXPECT_FALSE(store.DeleteKey(HKCU, "K"));
    EXPECT_FALSE(store.KeyExists(HKCU, "K"));
}

TEST(SettingsStore, StoreThatCannotBeWrittenIsReadAndLeftInPlace)
{
    // The file read-only, or the folder that would take the journal files.
    for (const auto& [fileMode, folderMode] : {std::pair{0444, 0777}, std::pair{0666, 0555}}) {
        TempDir dir("store");
        chmod(dir.Path().c_str(), 0755);
        const std::string folder = dir / "velloran", path = folder + "/settings.db";
        SettingsStore(path).SetValue(HKCU, "K", "v", Text("kept"));
        chmod(path.c_str(), fileMode);
        chmod(folder.c_str(), folderMode);
        const auto body = [&] {
            testing::internal::CaptureStderr();
            SettingsStore store(path);
            const std::string err = testing::internal::GetCapturedStderr();
            return Lines(err) == 1 && err.find(" cannot be written (") != std::string::npos &&
                   AsText(store.GetValue(HKCU, "K", "v")) == "kept" && !store.SetValue(HKCU, "K", "v", Text("lost")) &&
                   ListTree(folder) == std::vector<std::string>{"settings.db"};
        };
        EXPECT_TRUE(velloran::test::IsRoot() ? velloran::test::RunAsNobody(body) : body()) << std::oct << fileMode;
        chmod(folder.c_str(), 0700);
    }
}

TEST(SettingsStore, DefaultPathFollowsXdgConfigHome)
{
    const std::string saved = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), "/somewhere/config/velloran/settings.db");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);  // must be ignored
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(SettingsStore::DefaultPath(), "/home/someone/.config/velloran/settings.db");
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
}

TEST(SettingsStore, ThreadsShareOneStore)
{
    TempDir dir("store");
    SettingsStore store(dir / "settings.db");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&store, t] {
            for (int i = 0; i < 50; ++i)
                store.SetValue(HKCU, "Threads\\" + std::to_string(t), std::to_string(i), Text(std::to_string(i)));
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 50; ++i)
            EXPECT_EQ(AsText(store.GetValue(HKCU, "Threads\\" + std::to_string(t), std::to_string(i))),
                      std::to_string(i));
    }
}

// Run only as a child of TwoProcessesWritingAtOnceLoseNothing: waits for the
// start signal, then writes 500 values, each in its own transaction.
TEST(SettingsStoreChild, DISABLED_WriteValues)
{
    const char* job = std::getenv("VELLORAN_STORE_CHILD");
    ASSERT_NE(job, nullptr);
    const std::string spec = job;  // path|tag|go-file
    const size_t bar1 = spec.find('|'), bar2 = spec.rfind('|');
    const std::string path = spec.substr(0, bar1), tag = spec.substr(bar1 + 1, bar2 - bar1 - 1);
    const std::string go = spec.substr(bar2 + 1);
    for (int waited = 0; !Exists(go) && waited < 30000; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    SettingsStore store(path);
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(store.SetValue(HKCU, "Concurrent", tag + std::to_string(i), Text(tag)));
}

TEST(SettingsStore, TwoProcessesWritingAtOnceLoseNothing)
{
    TempDir dir("store");
    const std::string path = dir / "velloran/settings.db";  // both children create it
    const std::string go = dir / "go";
    std::vector<pid_t> children;
    for (const std::string tag : {"a", "b"}) {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e)
            env.emplace_back(*e);
        env.push_back("VELLORAN_STORE_CHILD=" + path + "|" + tag + "|" + go);
        std::vector<char*> envp;
        for (auto& entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        std::string self = "/proc/self/exe", all = "--gtest_also_run_disabled_tests",
                    filter = "--gtest_filter=SettingsStoreChild.DISABLED_WriteValues";
        char* argv[] = {self.data(), all.data(), filter.data(), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv, envp.data()), 0);
        children.push_back(pid);
    }
    WriteFile(go, "");
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    }
    SettingsStore store(path);
    for (const std::string tag : {"a", "b"}) {
        for (int i = 0; i < 500; ++i)
            EXPECT_EQ(AsText(store.GetValue(HKCU, "Concurrent", tag + std::to_string(i))), tag) << tag << i;
    }
    EXPECT_TRUE(DamagedFiles(dir / "velloran").empty());
}
