// Delete, size, move, length and seek on real files in a temporary folder.
#include "tests/support/RunAs.h"
#include "tests/support/TempDir.h"
#include "tests/utils/OtherFileSystem.h"
#include "utils/UtilsImport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace quorvantell;
using velloran::test::Exists;
using velloran::test::MakeDirs;
using velloran::test::ReadFile;
using velloran::test::TempDir;
using velloran::test::WriteFile;

constexpr int64_t kFiveGigabytes = 5'000'000'000LL;

struct stat Lstat(const std::string& path)
{
    struct stat st{};
    lstat(path.c_str(), &st);
    return st;
}

TEST(DeleteFileForced, DeletesReadOnlyFilesAndLinksButNeverFolders)
{
    TempDir dir("del");
    const std::string file = dir / "read-only.txt";
    WriteFile(file, "x");
    chmod(file.c_str(), 0444);
    EXPECT_NE(utils::DeleteFileForced(file.c_str()), 0);
    EXPECT_FALSE(Exists(file));

    WriteFile(dir / "target.txt", "kept");
    MakeDirs(dir / "folder");
    WriteFile(dir / "folder/inside.txt", "kept");
    symlink("target.txt", (dir / "to-file").c_str());
    symlink("folder", (dir / "to-folder").c_str());
    EXPECT_NE(utils::DeleteFileForced((dir / "to-file").c_str()), 0);
    EXPECT_NE(utils::DeleteFileForced((dir / "to-folder").c_str()), 0);
    EXPECT_FALSE(Exists(dir / "to-file"));
    EXPECT_FALSE(Exists(dir / "to-folder"));
    EXPECT_EQ(ReadFile(dir / "target.txt"), "kept");

    EXPECT_EQ(utils::DeleteFileForced((dir / "folder").c_str()), 0);
    EXPECT_EQ(utils::DeleteFileForced((dir / "folder/").c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "folder/inside.txt"), "kept");
    EXPECT_EQ(utils::DeleteFileForced((dir / "missing").c_str()), 0);
}

TEST(GetFileSize64, ReportsSizesBeyondFourGigabytes)
{
    TempDir dir("size");
    const std::string file = dir / "big.bin";
    ASSERT_NE(utils::SetFileLength(file.c_str(), kFiveGigabytes), 0);
    int64_t size = -1;
    EXPECT_EQ(utils::GetFileSize64(file.c_str(), &size), 1);
    EXPECT_EQ(size, kFiveGigabytes);
    WriteFile(dir / "empty", "");
    EXPECT_EQ(utils::GetFileSize64((dir / "empty").c_str(), &size), 1);
    EXPECT_EQ(size, 0);
}

TEST(GetFileSize64, FailsForWhatIsNoReadableFile)
{
    TempDir dir("size");
    int64_t size = 77;
    EXPECT_EQ(utils::GetFileSize64((dir / "missing").c_str(), &size), 0);
    EXPECT_EQ(utils::GetFileSize64(dir.Path().c_str(), &size), 0);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(utils::GetFileSize64((dir / "fifo").c_str(), &size), 0);  // and does not block
    EXPECT_EQ(size, 77);
}

TEST(MoveFileReplace, IdenticalPathsSucceedWithoutTouchingTheFile)
{
    TempDir dir("move");
    const std::string file = dir / "same.txt";
    WriteFile(file, "data");
    const struct stat before = Lstat(file);
    EXPECT_NE(utils::MoveFileReplace(file.c_str(), file.c_str()), 0);
    const struct stat after = Lstat(file);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
    EXPECT_EQ(ReadFile(file), "data");
}

TEST(MoveFileReplace, ReplacesAReadOnlyTarget)
{
    TempDir dir("move");
    WriteFile(dir / "new.txt", "new");
    WriteFile(dir / "old.txt", "old");
    chmod((dir / "old.txt").c_str(), 0444);
    EXPECT_NE(utils::MoveFileReplace((dir / "new.txt").c_str(), (dir / "old.txt").c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "old.txt"), "new");
    EXPECT_FALSE(Exists(dir / "new.txt"));
}

TEST(MoveFileReplace, MovesAFolderOntoAFileByRemovingTheFile)
{
    TempDir dir("move");
    WriteFile(dir / "folder/inside.txt", "in");
    WriteFile(dir / "plain", "file");
    EXPECT_NE(utils::MoveFileReplace((dir / "folder").c_str(), (dir / "plain").c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "plain/inside.txt"), "in");
}

TEST(MoveFileReplace, AFailedMoveKeepsTheTarget)
{
    TempDir dir("move");
    WriteFile(dir / "target.txt", "precious");
    EXPECT_EQ(utils::MoveFileReplace((dir / "missing").c_str(), (dir / "target.txt").c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "target.txt"), "precious");

    WriteFile(dir / "file.txt", "moving");
    MakeDirs(dir / "folder");
    WriteFile(dir / "folder/keep", "k");
    EXPECT_EQ(utils::MoveFileReplace((dir / "file.txt").c_str(), (dir / "folder").c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "file.txt"), "moving");
    EXPECT_EQ(ReadFile(dir / "folder/keep"), "k");
}

TEST(MoveFileReplace, DoesNotCopyAcrossFileSystems)
{
    TempDir dir("move");
    const auto other = velloran::test::TempDirOnOtherFileSystem(dir.Path(), "move");
    if (!other)
        GTEST_SKIP() << "no second writable file system";
    WriteFile(dir / "source.txt", "source");
    WriteFile(*other / "target.txt", "target");
    EXPECT_EQ(utils::MoveFileReplace((dir / "source.txt").c_str(), (*other / "target.txt").c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "source.txt"), "source");
    EXPECT_EQ(ReadFile(*other / "target.txt"), "target");
}

TEST(SetFileLength, CreatesAMissingFileWithTheUmaskApplied)
{
    TempDir dir("len");
    const std::string file = dir / "new.bin";
    const mode_t old = umask(027);
    const int32_t result = utils::SetFileLength(file.c_str(), 1234);
    umask(old);
    EXPECT_NE(result, 0);
    const struct stat st = Lstat(file);
    EXPECT_EQ(st.st_size, 1234);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(SetFileLength, TruncatesAndExtendsKeepingTheStart)
{
    TempDir dir("len");
    const std::string file = dir / "data.txt";
    WriteFile(file, "0123456789");
    EXPECT_NE(utils::SetFileLength(file.c_str(), 4), 0);
    EXPECT_EQ(ReadFile(file), "0123");
    EXPECT_NE(utils::SetFileLength(file.c_str(), 6), 0);
    EXPECT_EQ(ReadFile(file), std::string("0123\0\0", 6));
}

TEST(SetFileLength, FailsCleanly)
{
    TempDir dir("len");
    EXPECT_EQ(utils::SetFileLength((dir / "negative").c_str(), -1), 0);
    EXPECT_FALSE(Exists(dir / "negative"));
    EXPECT_EQ(utils::SetFileLength(dir.Path().c_str(), 10), 0);
    EXPECT_EQ(utils::SetFileLength((dir / "no/such/folder/f").c_str(), 10), 0);
}

TEST(SetFileLength, FailsOnAFifoWithoutWaitingForAReader)
{
    TempDir dir("len");
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(velloran::test::RunInChild([&] { return utils::SetFileLength(fifo.c_str(), 10) == 0; }, 10));
}

TEST(SeekFile64, PositionsBeyondFourGigabytes)
{
    TempDir dir("seek");
    const std::string file = dir / "f";
    WriteFile(file, "abc");
    const int fd = open(file.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(utils::SeekFile64(fd, kFiveGigabytes), 1);
    EXPECT_EQ(lseek(fd, 0, SEEK_CUR), kFiveGigabytes);
    EXPECT_EQ(utils::SeekFile64(fd, 1), 1);
    char c = 0;
    EXPECT_EQ(read(fd, &c, 1), 1);
    EXPECT_EQ(c, 'b');
    EXPECT_EQ(utils::SeekFile64(fd, -5), 0);
    close(fd);
    EXPECT_EQ(utils::SeekFile64(fd, 0), 0);
}

}  // namespace
