// The local engine under faults, races and odd input, on real file systems:
// overlapping folders, a folder swapped for a link mid-run, copy temporaries,
// a source written during its copy, folders that cannot be read or made,
// links and special files in the target, Ctrl-C without a terminal, the
// time offset in copies and times far outside the usual range. Each test
// checks what is on disk afterwards, the result and the lines logged.
#include "app/engine/AppError.h"
#include "app/engine/SyncActions.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "tests/app/support/EngineFixture.h"
#include "tests/app/support/ProcessRun.h"
#include "tests/support/RunAs.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <iostream>
#include <map>
#include <thread>

namespace velloran::test {
namespace {

// Every file below root with its contents, to see that nothing changed.
std::map<std::string, std::string> Snapshot(const std::string& root)
{
    std::map<std::string, std::string> files;
    for (const std::string& entry : ListTree(root))
        files[entry] = entry.back() == '/' ? std::string() : ReadFile(root + "/" + entry);
    return files;
}

// A mount made by a test, undone when the test ends.
struct Mount {
    std::string path;
    bool made = false;
    Mount(const std::string& source, const std::string& target, const char* type, unsigned long flags,
          const char* options)
        : path(target)
    {
        MakeDirs(target);
        made = IsRoot() && mount(source.c_str(), target.c_str(), type, flags, options) == 0;
    }
    ~Mount()
    {
        if (made)
            umount2(path.c_str(), MNT_DETACH);
    }
};

class TreeFaults : public EngineFixture {
protected:
    // The CLI runs read the stored settings: none left by earlier tests.
    void SetUp() override
    {
        quorvantell::ClassLibrary::Shared().Registry->DeleteKey(quorvantell::eRegBaseKey::HKCU,
                                                                "Software\\Quorvantell\\Velloran\\e");
    }
    std::string R(const std::string& relative) const { return sync.rootFolder[1] + relative; }
    void Use(const std::string& left, const std::string& right)
    {
        host.SetFolders(left, right);
        ASSERT_TRUE(sync.checkFoldersValid());
    }
};

TEST_F(TreeFaults, OverlappingFoldersAreRefusedBeforeAnythingIsTouched)
{
    Put(0, "a.txt", "a");
    Put(0, "sub/only-here.txt", "the only copy");
    ASSERT_EQ(symlink(m_left.c_str(), (m_temp / "alias").c_str()), 0);
    std::vector<std::pair<std::string, std::string>> pairs = {
        {m_left, PathOf(0, "sub")}, {PathOf(0, "sub"), m_left}, {m_temp / "alias/sub", m_left}};
    const Mount bind(m_left, m_temp / "bound", nullptr, MS_BIND, nullptr);
    if (bind.made)
        pairs.push_back({m_left, m_temp / "bound/sub"});
    const auto before = Snapshot(m_left);
    for (const auto& [left, right] : pairs) {
        Use(left, right);
        for (int32_t action = 0; action <= 4; ++action) {
            host.messages.clear();
            EXPECT_FALSE(SyncActions(sync).RunAction(action)) << left << " " << right << " " << action;
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages[0].text.rfind("The folders " + sync.rootFolder[0] + " and ", 0), 0u);
        }
    }
    EXPECT_EQ(Snapshot(m_left), before);
    const ProcessResult cli = RunProgram("velloran-cli", {"update", m_left, PathOf(0, "sub")}, 60);
    EXPECT_EQ(cli.status, 2);
    EXPECT_NE(cli.err.find("overlap"), std::string::npos) << cli.err;
    EXPECT_EQ(Snapshot(m_left), before);
}

// One folder mounted inside the other is found only on the way: the walks
// never go into it, so a copy cannot recurse and a delete cannot reach the
// master's files.
TEST_F(TreeFaults, TheOtherFolderMountedInsideIsNeverEntered)
{
    Put(0, "a.txt", "a");
    Put(1, "precious.txt", "p");
    const Mount inside(m_right, PathOf(0, "mnt"), nullptr, MS_BIND, nullptr);
    if (!inside.made)
        GTEST_SKIP() << "bind mounts need root";
    Use(m_left, m_right);
    sync.Options.ErrorAction = 1;
    EXPECT_TRUE(sync.DoCopy(0, 1));
    EXPECT_EQ(sync.errLog, "Error reading folder " + m_left + "/mnt/\r\n");
    EXPECT_EQ(ListTree(m_right), (std::vector<std::string>{"a.txt", "mnt/", "precious.txt"}));
    sync.errLog.clear();
    EXPECT_TRUE(sync.DoDelete(1, 0));
    EXPECT_EQ(ReadFile(PathOf(1, "precious.txt")), "p");
    EXPECT_NE(sync.errLog.find("Error reading folder " + m_left + "/mnt/\r\n"), std::string::npos);
}

// A target folder swapped for a link to elsewhere while the run is inside
// it: what follows still happens in the folder that was opened, never where
// the link points.
TEST_F(TreeFaults, FolderSwappedForALinkMidRunLeadsNowhere)
{
    const std::string outside = m_temp / "outside";
    const auto swap = [&] {
        ASSERT_EQ(rename(PathOf(1, "sub").c_str(), PathOf(1, "sub-moved").c_str()), 0);
        ASSERT_EQ(symlink(outside.c_str(), PathOf(1, "sub").c_str()), 0);
    };
    for (int i = 10; i < 30; ++i) {
        Put(1, "sub/x" + std::to_string(i), "target's");
        WriteFile(outside + "/x" + std::to_string(i), "outside");
    }
    // Delete steps: ".", "..", "sub", then sub's "." and ".." and one per
    // file; the progress step after the tenth file is turn 2.
    Use(m_left, m_right);
    host.AtTurn(2, swap);
    sync.Options.ErrorAction = 1;
    EXPECT_TRUE(sync.DoDelete(0, 1));
    EXPECT_EQ(ListTree(outside).size(), 20u);
    EXPECT_TRUE(ListTree(PathOf(1, "sub-moved")).empty());
    EXPECT_EQ(sync.errLog, "Error deleting folder " + R("sub/") + "\r\n");

    // Copy: turn 2 comes after the first block of the large file.
    RemoveTree(m_right);
    RemoveTree(outside);
    MakeDirs(outside);
    Folder(1, "sub");
    Put(0, "sub/big.bin", std::string(25 * 1024 * 1024, 'b'));
    Put(0, "sub/later.txt", "later");
    host.turns = 0;
    EXPECT_TRUE(sync.DoCopy(0, 1));
    EXPECT_TRUE(ListTree(outside).empty());
    EXPECT_EQ(ListTree(PathOf(1, "sub-moved")), (std::vector<std::string>{"big.bin", "later.txt"}));
}

// Copies never share a temporary name: two runs into one target leave every
// file whole, from one source or the other, and nothing else. A file named
// like a temporary is the user's, scanned, copied and deleted like any other.
TEST_F(TreeFaults, TemporaryFilesNeverMeetAUsersFileOrAnotherRun)
{
    const std::string sources[2] = {m_temp / "one", m_temp / "two"};
    const std::string contents[2] = {std::string(64 * 1024, '1'), std::string(96 * 1024, '2')};
    for (int i = 0; i < 300; ++i)
        for (int s = 0; s < 2; ++s)
            WriteFile(sources[s] + "/f" + std::to_string(i), contents[s]);
    auto first = std::async(std::launch::async, [&] {
        return RunProgram("velloran-cli", {"copy", "--on-error=ignore", sources[0], m_right}, 120);
    });
    const ProcessResult second = RunProgram("velloran-cli", {"copy", "--on-error=ignore", sources[1], m_right}, 120);
    EXPECT_LE(first.get().status, 1);
    EXPECT_LE(second.status, 1) << second.err;
    const std::vector<std::string> names = ListTree(m_right);
    EXPECT_EQ(names.size(), 300u);
    for (const std::string& name : names) {
        const std::string data = ReadFile(PathOf(1, name));
        EXPECT_TRUE(data == contents[0] || data == contents[1]) << name << " holds " << data.size() << " bytes";
    }

    RemoveTree(m_right);
    MakeDirs(m_right);
    Put(0, "a.txt", "new");
    Put(0, ".a.txt.velloran-tmp", "the user's");
    Put(0, "x.velloran-tmp", "x");
    Put(1, "a.txt", "old", kBaseTime - kMinute);
    Put(1, ".b.velloran-tmp", "the user's too");
    ScanAndCompare(false);
    EXPECT_EQ(WayOf("x.velloran-tmp"), 1);
    EXPECT_EQ(WayOf(".b.velloran-tmp"), 4);
    EXPECT_TRUE(sync.DoUpdate(0, 1));
    EXPECT_EQ(Snapshot(m_right), Snapshot(m_left));
    EXPECT_EQ(sync.errLog, "");
}

// A source written to while it is copied: the copy is thrown away and
// reported, the old target stays - a torn copy with the old time would
// compare as equal from then on.
TEST_F(TreeFaults, SourceChangedDuringItsCopyIsNotPutInPlace)
{
    Put(0, "grow.bin", std::string(25 * 1024 * 1024, 'g'));
    Put(1, "grow.bin", "old", kBaseTime - kMinute);
    Put(0, "steady.txt", "steady");
    Use(m_left, m_right);
    // Turn 1 follows the caption, turn 2 the first block of grow.bin.
    host.AtTurn(2, [&] { WriteFile(PathOf(0, "grow.bin"), "rewritten"); });
    sync.Options.ErrorAction = 1;
    EXPECT_TRUE(sync.DoCopy(0, 1));
    EXPECT_EQ(ReadFile(PathOf(1, "grow.bin")), "old");
    EXPECT_EQ(GetFileTime(PathOf(1, "grow.bin")), kBaseTime - kMinute);
    EXPECT_EQ(ReadFile(PathOf(1, "steady.txt")), "steady");
    EXPECT_EQ(sync.errLog, "Error writing file " + R("grow.bin") + " - the source file changed while it was copied\r\n");
}

// A folder the scan cannot read is unknown, not empty: an error line, and
// nothing below it on either side passes for one-sided. Depth beyond the
// system's path limit is no reason not to read a folder.
TEST_F(TreeFaults, FoldersThatCannotBeReadAreErrorsInComparisons)
{
    const bool ok = RunAsNobody([] {
        TempDir temp("scan");
        const std::string left = temp / "left", right = temp / "right";
        WriteFile(left + "/locked/x.txt", "x");
        WriteFile(right + "/locked/x.txt", "x, other");
        WriteFile(right + "/other.txt", "o");
        chmod((left + "/locked").c_str(), 0300);
        RecordingHost host;
        CSync sync(host);
        host.Attach(sync);
        host.SetFolders(left, right);
        sync.checkFoldersValid();
        sync.ScanAndCompare(host.StatusLabel());
        const bool scanned = sync.errLog == "Error reading folder " + left + "/locked/\r\n" &&
                             sync.m_arrFile.nVells() == 1 && sync.m_arrFile.FileAt(0, 1) == "other.txt" &&
                             sync.m_arrDir.nVells() == 1 && sync.m_arrDir.SyncWayAt(0) == 0;
        const ProcessResult compare = RunProgram("velloran-cli", {"compare", left, right}, 60);
        const ProcessResult latest = RunProgram("velloran-cli", {"latest", left, right}, 60);
        chmod((left + "/locked").c_str(), 0755);
        return scanned && compare.status == 2 && compare.out == "R  other.txt\n" && latest.status == 2 &&
               latest.err.find("Error reading folder " + left + "/locked/") != std::string::npos;
    });
    EXPECT_TRUE(ok);

    // Twenty levels of 250-byte names: far past PATH_MAX.
    int fd = open(m_left.c_str(), O_RDONLY | O_DIRECTORY);
    std::string deep;
    for (int level = 0; level < 20; ++level) {
        const std::string name(250, static_cast<char>('a' + level));
        ASSERT_EQ(mkdirat(fd, name.c_str(), 0755), 0);
        const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = next;
        deep += name + "/";
    }
    const int file = openat(fd, "deep.txt", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(write(file, "deep", 4), 4);
    close(file);
    close(fd);
    ScanAndCompare();
    EXPECT_EQ(WayOf(deep + "deep.txt"), 1);
    EXPECT_TRUE(sync.DoCopy(0, 1));
    EXPECT_TRUE(sync.DoDelete(1, 0));
    EXPECT_EQ(sync.errLog, "");
    ScanAndCompare();
    EXPECT_EQ(WayOf(deep + "deep.txt"), 0);
    // std::filesystem cannot remove what is deeper than the path limit.
    EXPECT_EQ(std::system(("rm -rf " + m_left + "/a* " + m_right + "/a*").c_str()), 0);
}

// A folder that cannot be made is an error line, and its files fail
// without a try.
TEST_F(TreeFaults, FoldersThatCannotBeMadeAreErrors)
{
    struct Case {
        const char* name;
        std::function<bool()> setUp;  // false: skip the case
        std::vector<std::string> lines;          // relative to the target
    };
    std::unique_ptr<Mount> mounted;
    const std::vector<Case> cases = {
        {"a file in the way", [this] { Put(1, "d1", "a file"); return true; },
         {"Error creating folder d1/", "Error writing file d1/f.txt"}},
        // Three inodes: the root, a.txt and d1.
        {"no inodes left",
         [&] { return (mounted = std::make_unique<Mount>("tmpfs", m_right, "tmpfs", 0, "nr_inodes=3"))->made; },
         {"Error creating folder d2/", "Error writing file d1/f.txt", "Error writing file d2/f.txt"}},
        {"a read-only file system",
         [&] { return (mounted = std::make_unique<Mount>("tmpfs", m_right, "tmpfs", MS_RDONLY, ""))->made; },
         {"Error writing file a.txt", "Error creating folder d1/", "Error creating folder d2/",
          "Error writing file d1/f.txt", "Error writing file d2/f.txt"}},
    };
    Put(0, "a.txt", "a");
    Put(0, "d1/f.txt", "f");
    Put(0, "d2/f.txt", "f");
    for (const Case& c : cases) {
        mounted.reset();
        RemoveTree(m_right);
        MakeDirs(m_right);
        if (!c.setUp()) {
            std::cout << "[ SKIPPED  ] " << c.name << ": mounting needs root\n";
            continue;
        }
        Use(m_left, m_right);
        const auto before = Snapshot(m_right);
        sync.errLog.clear();
        sync.Options.ErrorAction = 1;
        EXPECT_TRUE(sync.DoCopy(0, 1)) << c.name;
        std::string expected;
        for (const std::string& line : c.lines)
            expected += line.substr(0, line.rfind(' ') + 1) + R(line.substr(line.rfind(' ') + 1)) + "\r\n";
        EXPECT_EQ(sync.errLog, expected) << c.name;
        const auto after = Snapshot(m_right);
        for (const auto& [name, data] : before)
            EXPECT_EQ(after.at(name), data) << c.name << ": " << name;
    }
}

// Target-only links go themselves, whatever they point to; FIFOs, sockets
// and devices stay and are warned about.
TEST_F(TreeFaults, TargetOnlyLinksAreDeletedAndSpecialFilesKept)
{
    const std::string outside = m_temp / "outside";
    WriteFile(outside + "/file.txt", "outside");
    MakeDirs(outside + "/dir");
    Put(0, "keep.txt", "k");
    Put(1, "keep.txt", "k");
    ASSERT_EQ(symlink((outside + "/file.txt").c_str(), PathOf(1, "file-link").c_str()), 0);
    ASSERT_EQ(symlink((outside + "/dir").c_str(), PathOf(1, "folder-link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", PathOf(1, "broken-link").c_str()), 0);
    ASSERT_EQ(mkfifo(PathOf(1, "fifo").c_str(), 0600), 0);
    const ProcessResult cli = RunProgram("velloran-cli", {"update", m_left, m_right}, 60);
    EXPECT_EQ(cli.status, 1) << cli.err;
    EXPECT_EQ(ListTree(m_right), (std::vector<std::string>{"fifo", "keep.txt"}));
    EXPECT_EQ(ListTree(outside), (std::vector<std::string>{"dir/", "file.txt"}));
    EXPECT_NE(cli.err.find("Warning: The special file " + m_right + "/fifo (a FIFO, socket or device) is not in the "
                           "master folder and was left in place."),
              std::string::npos)
        << cli.err;
}

// Ctrl-C while a large file is copied and no terminal to ask: the cancel
// question counts as Yes, so the run ends as cancelled, with no error line
// for the file it interrupted.
TEST_F(TreeFaults, CtrlCWithoutATerminalCancels)
{
    const std::string big = PathOf(0, "big.bin");
    WriteFile(big, "");
    ASSERT_EQ(truncate(big.c_str(), 256 * 1024 * 1024), 0);
    const std::string err = m_temp / "err.txt";
    const std::string cli = std::string(VELLORAN_BUILD_BIN) + "/velloran-cli";
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_RDONLY);
        const int out = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(null, 0);
        dup2(out, 1);
        dup2(out, 2);
        execl(cli.c_str(), cli.c_str(), "copy", m_left.c_str(), m_right.c_str(), nullptr);
        _exit(127);
    }
    // Ctrl-C once the program holds the source open.
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    bool sent = false;
    for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
         !sent && std::chrono::steady_clock::now() < deadline;) {
        if (DIR* dir = opendir(fds.c_str())) {
            while (const dirent* d = readdir(dir)) {
                char target[4096];
                const ssize_t n = readlinkat(dirfd(dir), d->d_name, target, sizeof target);
                if (!sent && n > 0 && std::string(target, static_cast<size_t>(n)) == big)
                    sent = kill(pid, SIGINT) == 0;
            }
            closedir(dir);
        }
        std::this_thread::yield();
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(sent);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 3);
    const std::string output = ReadFile(err);
    EXPECT_NE(output.find("Cancelled by user."), std::string::npos) << output;
    EXPECT_EQ(output.find("Error writing file"), std::string::npos) << output;
    EXPECT_TRUE(ListTree(m_right).empty());
}

// The copy decides with the times the comparison shows: the left time with
// the offset added, so what the preview calls equal is not copied.
TEST_F(TreeFaults, CopiesDecideWithTheTimeOffset)
{
    struct Case {
        int16_t offsetMinutes;
        int32_t verdict;
        bool copied;
        bool warned;
    };
    for (const Case& c : {Case{60, 0, false, false}, Case{0, 3, false, true}, Case{120, 2, true, false}}) {
        Put(0, "a.txt", "left.", kBaseTime - 60 * kMinute);
        Put(1, "a.txt", "right", kBaseTime);
        sync.Options.LeftTimeOffset = c.offsetMinutes;
        sync.errLog.clear();
        ScanAndCompare();
        EXPECT_EQ(WayOf("a.txt"), c.verdict) << c.offsetMinutes;
        EXPECT_TRUE(sync.DoCopy(0, 1));
        EXPECT_EQ(ReadFile(PathOf(1, "a.txt")), c.copied ? "left." : "right") << c.offsetMinutes;
        EXPECT_EQ(sync.errLog.find("is newer than the source file") != std::string::npos, c.warned) << sync.errLog;
    }
}

// Times beyond the year 30,000 and before 1601 saturate instead of
// overflowing (the sanitizers of the test build stop at any overflow).
TEST_F(TreeFaults, TimesFarOutsideTheUsualRange)
{
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    setenv("TMPDIR", "/dev/shm", 1);  // tmpfs keeps such times; ext4 clamps them
    TempDir shm("far");
    old ? setenv("TMPDIR", saved.c_str(), 1) : unsetenv("TMPDIR");
    const std::string left = shm / "left", right = shm / "right";
    const auto stamp = [](const std::string& path, time_t seconds) {
        WriteFile(path, "t");
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    };
    stamp(left + "/far.txt", 950'000'000'000);  // the year 32074
    stamp(right + "/far.txt", 1'748'772'000);
    stamp(left + "/early.txt", -20'000'000'000);  // the year 1336
    stamp(right + "/early.txt", 1'748'772'000);
    host.SetFolders(left, right);
    sync.Options.LeftTimeOffset = 32767;
    ScanAndCompare();
    EXPECT_EQ(WayOf("far.txt"), 2);
    EXPECT_EQ(WayOf("early.txt"), 3);
    EXPECT_NE(sync.LatestReport().find("The newest side is the left"), std::string::npos);
    sync.Options.ErrorAction = 1;
    EXPECT_TRUE(sync.DoCopy(0, 1));
    struct stat st{};
    ASSERT_EQ(stat((right + "/far.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 950'000'000'000);
}

}  // namespace
}  // namespace velloran::test
