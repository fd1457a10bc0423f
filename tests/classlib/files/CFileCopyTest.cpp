// CFile::Copy: times and mode kept, cancel between blocks, and the old
// target surviving every kind of failure.
#include "classlib/files/CFile.h"
#include "classlib/general/EventPump.h"
#include "tests/support/RunAs.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstddef>
#include <initializer_list>

using quorvantell::CFile;
using quorvantell::EventPump;
using namespace velloran::test;

namespace {

constexpr int64_t kOldTime = 132'000'000'000'000'000LL;
constexpr int64_t kSourceTime = 133'500'000'001'234'500LL;

std::string Pattern(size_t bytes)
{
    std::string s(bytes, '\0');
    for (size_t i = 0; i < bytes; ++i)
        s[i] = static_cast<char>((i * 131) % 251);
    return s;
}

void MakeOldTarget(const std::string& path)
{
    WriteFile(path, "old good copy");
    SetFileTime(path, kOldTime);
}

void ExpectOldTargetIntact(const std::string& path)
{
    EXPECT_EQ(ReadFile(path), "old good copy");
    EXPECT_EQ(GetFileTime(path), kOldTime);
}

// Names in the folder other than the ones given: leftovers of a copy.
std::vector<std::string> Leftovers(const std::string& folder, const std::vector<std::string>& expected)
{
    std::vector<std::string> extra;
    for (const auto& name : ListTree(folder))
        if (std::find(expected.begin(), expected.end(), name) == expected.end())
            extra.push_back(name);
    return extra;
}

// From here on this process gets EPERM for the given system calls, as from
// a file system that keeps no modes or times of its own (FUSE mounts, FAT).
bool RefuseCalls(std::initializer_list<int> numbers)
{
    std::vector<sock_filter> filter{BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
    for (const int nr : numbers) {
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(nr), 0, 1));
        filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

struct PumpGuard {
    ~PumpGuard() { EventPump::Set(nullptr); }
};

}  // namespace

TEST(CFileCopy, KeepsContentTimesAndMode)
{
    TempDir dir;
    const std::string data = Pattern(3 * 1024 * 1024 + 17);
    WriteFile(dir / "src.bin", data);
    chmod((dir / "src.bin").c_str(), 0640);
    SetFileTime(dir / "src.bin", kSourceTime);
    MakeOldTarget(dir / "dst.bin");
    chmod((dir / "dst.bin").c_str(), 0444);  // a read-only target is replaced too

    bool cancel = false;
    ASSERT_TRUE(CFile().Copy(dir / "src.bin", dir / "dst.bin", cancel));
    EXPECT_EQ(ReadFile(dir / "dst.bin"), data);
    EXPECT_EQ(GetFileTime(dir / "dst.bin"), kSourceTime);
    struct stat st{};
    stat((dir / "dst.bin").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(Leftovers(dir.Path(), {"src.bin", "dst.bin"}).empty());
}

TEST(CFileCopy, AFileSystemThatRefusesModeAndTimesStillGetsTheData)
{
    TempDir dir;
    WriteFile(dir / "src.txt", "new data");
    chmod((dir / "src.txt").c_str(), 0644);
    SetFileTime(dir / "src.txt", kSourceTime);
    MakeOldTarget(dir / "dst.txt");
    EXPECT_TRUE(RunInChild([&] {
        if (!RefuseCalls({SYS_fchmod, SYS_utimensat}))
            return false;
        bool cancel = false;
        return CFile().Copy(dir / "src.txt", dir / "dst.txt", cancel);
    }));
    EXPECT_EQ(ReadFile(dir / "dst.txt"), "new data");
    EXPECT_NE(GetFileTime(dir / "dst.txt"), kSourceTime);  // the times could not be kept
    EXPECT_TRUE(Leftovers(dir.Path(), {"src.txt", "dst.txt"}).empty());
}

TEST(CFileCopy, EmptyFileAndFailuresWithoutSource)
{
    TempDir dir;
    WriteFile(dir / "empty", "");
    bool cancel = false;
    EXPECT_TRUE(CFile().Copy(dir / "empty", dir / "copy", cancel));
    EXPECT_EQ(ReadFile(dir / "copy"), "");

    MakeOldTarget(dir / "target");
    EXPECT_FALSE(CFile().Copy(dir / "missing", dir / "target", cancel));
    ExpectOldTargetIntact(dir / "target");
    MakeDirs(dir / "folder");
    EXPECT_FALSE(CFile().Copy(dir / "folder", dir / "target", cancel));  // not a file
    ExpectOldTargetIntact(dir / "target");
    EXPECT_FALSE(CFile().Copy(dir / "empty", dir / "folder", cancel));  // a folder is never replaced
    EXPECT_TRUE(Exists(dir / "folder/"));
    EXPECT_TRUE(Leftovers(dir.Path(), {"empty", "copy", "target", "folder/"}).empty());
}

TEST(CFileCopy, AFifoSourceFailsWithoutWaitingForAWriter)
{
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    MakeOldTarget(dir / "target");
    EXPECT_TRUE(RunInChild([&] {
        bool cancel = false;
        return !CFile().Copy(dir / "fifo", dir / "target", cancel);
    }, 10));
    ExpectOldTargetIntact(dir / "target");
}

TEST(CFileCopy, CancelAfterTheFirstBlockKeepsTheOldTarget)
{
    TempDir dir;
    WriteFile(dir / "big.bin", Pattern(25 * 1024 * 1024));
    MakeOldTarget(dir / "big-copy.bin");

    bool cancel = false;
    int turns = 0;
    PumpGuard guard;
    EventPump::Set([&] {
        ++turns;
        cancel = true;  // the Cancel button, pressed during the first block
    });
    EXPECT_FALSE(CFile().Copy(dir / "big.bin", dir / "big-copy.bin", cancel));
    EXPECT_EQ(turns, 1);
    ExpectOldTargetIntact(dir / "big-copy.bin");
    EXPECT_TRUE(Leftovers(dir.Path(), {"big.bin", "big-copy.bin"}).empty());

    bool already = true;
    EventPump::Set(nullptr);
    EXPECT_FALSE(CFile().Copy(dir / "big.bin", dir / "big-copy.bin", already));
    ExpectOldTargetIntact(dir / "big-copy.bin");
}

TEST(CFileCopy, TurnsTheEventLoopOncePerBlock)
{
    TempDir dir;
    WriteFile(dir / "big.bin", Pattern(25 * 1024 * 1024));
    int turns = 0;
    PumpGuard guard;
    EventPump::Set([&] { ++turns; });
    bool cancel = false;
    EXPECT_TRUE(CFile().Copy(dir / "big.bin", dir / "copy.bin", cancel));
    EXPECT_EQ(turns, 4);  // three blocks of 10 MiB and the final empty read
}

TEST(CFileCopy, AFileNamedLikeATemporaryIsTheUsers)
{
    TempDir dir;
    WriteFile(dir / "src", "fresh");
    WriteFile(dir / ".dst.velloran-tmp", "a file of the user's");
    bool cancel = false;
    EXPECT_TRUE(CFile().Copy(dir / "src", dir / "dst", cancel));
    EXPECT_EQ(ReadFile(dir / "dst"), "fresh");
    EXPECT_EQ(ReadFile(dir / ".dst.velloran-tmp"), "a file of the user's");
}

TEST(CFileCopy, LongNamesStillGetATemporaryFile)
{
    TempDir dir;
    const std::string name(250, 'n');
    WriteFile(dir / "src", "data");
    bool cancel = false;
    EXPECT_TRUE(CFile().Copy(dir / "src", dir / name, cancel));
    EXPECT_EQ(ReadFile(dir / name), "data");
    EXPECT_TRUE(Leftovers(dir.Path(), {"src", name}).empty());
}

TEST(CFileCopy, FullFileSystemKeepsTheOldTarget)
{
    if (!IsRoot())
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    TempDir dir;
    MakeDirs(dir / "small");
    if (mount("tmpfs", (dir / "small").c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "this machine does not allow mounting a tmpfs";
    struct Unmount {
        std::string path;
        ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
    } unmount{dir / "small"};

    WriteFile(dir / "big.bin", Pattern(3 * 1024 * 1024));
    MakeOldTarget(dir / "small/big.bin");
    bool cancel = false;
    EXPECT_FALSE(CFile().Copy(dir / "big.bin", dir / "small/big.bin", cancel));
    ExpectOldTargetIntact(dir / "small/big.bin");
    EXPECT_TRUE(Leftovers(dir / "small", {"big.bin"}).empty());
}

TEST(CFileCopy, FolderTheUserMayNotWriteKeepsTheOldTarget)
{
    if (!IsRoot())
        GTEST_SKIP() << "switching to the user nobody needs root";
    TempDir dir;
    chmod(dir.Path().c_str(), 0755);
    WriteFile(dir / "src.txt", "new data");
    chmod((dir / "src.txt").c_str(), 0644);
    MakeDirs(dir / "locked");
    chmod((dir / "locked").c_str(), 0755);  // owned by root: nobody may not write here
    MakeOldTarget(dir / "locked/dst.txt");
    chmod((dir / "locked/dst.txt").c_str(), 0666);  // even a writable target stays untouched

    const bool failedCleanly = RunAsNobody([&] {
        bool cancel = false;
        return !CFile().Copy(dir / "src.txt", dir / "locked/dst.txt", cancel);
    });
    EXPECT_TRUE(failedCleanly);
    ExpectOldTargetIntact(dir / "locked/dst.txt");
    EXPECT_TRUE(Leftovers(dir / "locked", {"dst.txt"}).empty());
}
