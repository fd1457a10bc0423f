// CountFolderTree on real trees: what counts, what does not, deep trees.
#include "tests/support/TempDir.h"
#include "tests/support/RunAs.h"
#include "utils/UtilsImport.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <string>

namespace {

using namespace quorvantell;
using velloran::test::MakeDirs;
using velloran::test::TempDir;
using velloran::test::WriteFile;

struct Counts {
    int32_t result = 0;
    int32_t folders = -7;
    int32_t files = -7;
};

Counts Count(const std::string& folder)
{
    Counts c;
    c.result = utils::CountFolderTree(folder.c_str(), &c.folders, &c.files);
    return c;
}

TEST(CountFolderTree, EmptyFolderHasNothing)
{
    TempDir dir("count");
    const Counts c = Count(dir.Path() + "/");
    EXPECT_NE(c.result, 0);
    EXPECT_NE(c.result, -1);
    EXPECT_EQ(c.folders, 0);
    EXPECT_EQ(c.files, 0);
}

TEST(CountFolderTree, CountsFoldersAndFilesAtEveryLevel)
{
    TempDir dir("count");
    WriteFile(dir / "a.txt", "1");
    WriteFile(dir / ".hidden", "1");
    WriteFile(dir / "sub/b.txt", "1");
    WriteFile(dir / "sub/deeper/c.txt", "1");
    WriteFile(dir / "sub/deeper/d.txt", "1");
    MakeDirs(dir / "empty");
    MakeDirs(dir / "sub/..x");
    const Counts c = Count(dir.Path() + "/");
    EXPECT_EQ(c.result, 1);
    EXPECT_EQ(c.folders, 4);  // sub, sub/deeper, empty, sub/..x
    EXPECT_EQ(c.files, 5);
    // The trailing "/" is customary, not needed.
    const Counts bare = Count(dir.Path());
    EXPECT_EQ(bare.folders, 4);
    EXPECT_EQ(bare.files, 5);
}

TEST(CountFolderTree, LinksAndSpecialFilesAsTheScansSeeThem)
{
    TempDir dir("count");
    WriteFile(dir / "real.txt", "1");
    WriteFile(dir / "folder/inside.txt", "1");
    WriteFile(dir / "report.txt.velloran-tmp", "named like a copy's temporary file, but the user's");
    WriteFile(dir / "velloran-tmp", "an ordinary name");
    MakeDirs(dir / "dir.velloran-tmp");
    symlink("real.txt", (dir / "link-to-file").c_str());
    symlink("folder", (dir / "link-to-folder").c_str());
    symlink("nowhere", (dir / "broken-link").c_str());
    symlink("link-to-file", (dir / "link-to-link-to-file").c_str());
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);

    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string sockPath = dir / "sock";
    ASSERT_LT(sockPath.size(), sizeof addr.sun_path);
    std::strcpy(addr.sun_path, sockPath.c_str());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

    const Counts c = Count(dir.Path() + "/");
    close(sock);
    EXPECT_EQ(c.result, 1);
    EXPECT_EQ(c.folders, 2);  // folder, dir.velloran-tmp
    // real.txt, folder/inside.txt, report.txt.velloran-tmp, velloran-tmp, link-to-file, link-to-link-to-file
    EXPECT_EQ(c.files, 6);
}

TEST(CountFolderTree, UnsearchableStartGivesMinusOne)
{
    TempDir dir("count");
    WriteFile(dir / "file.txt", "1");
    symlink("file.txt", (dir / "link").c_str());
    for (const std::string& path : {dir / "missing/", dir / "file.txt/", dir / "file.txt", dir / "link/"}) {
        const Counts c = Count(path);
        EXPECT_EQ(c.result, -1) << path;
        EXPECT_EQ(c.folders, 0) << path;
        EXPECT_EQ(c.files, 0) << path;
    }
    int32_t folders = 1, files = 1;
    EXPECT_EQ(utils::CountFolderTree(nullptr, &folders, &files), -1);
    EXPECT_EQ(folders, 0);
}

TEST(CountFolderTree, StartingAtALinkToAFolderWalksThatFolder)
{
    TempDir dir("count");
    WriteFile(dir / "real/a/b.txt", "1");
    symlink("real", (dir / "alias").c_str());
    const Counts c = Count(dir / "alias/");
    EXPECT_EQ(c.result, 1);
    EXPECT_EQ(c.folders, 1);
    EXPECT_EQ(c.files, 1);
}

// A chain of single-letter folders deeper than any path buffer of 260
// characters and deeper than the descriptors the walk keeps open; every
// level has a file, and every second level a side folder with a file, so
// the walk has to come back to folders whose descriptor it gave up.
TEST(CountFolderTree, WalksDeepTreesCompletely)
{
    TempDir dir("count");
    constexpr int kDepth = 1200;
    int fd = open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    int expectedFolders = 0, expectedFiles = 0;
    for (int level = 0; level < kDepth; ++level) {
        ASSERT_EQ(mkdirat(fd, "d", 0755), 0);
        close(openat(fd, "f", O_CREAT | O_WRONLY, 0644));
        ++expectedFolders;
        ++expectedFiles;
        if (level % 2 == 0) {
            ASSERT_EQ(mkdirat(fd, "s", 0755), 0);
            close(openat(fd, "s/f", O_CREAT | O_WRONLY, 0644));
            ++expectedFolders;
            ++expectedFiles;
        }
        const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = next;
        ASSERT_GE(fd, 0);
    }
    close(fd);
    const Counts c = Count(dir.Path() + "/");
    EXPECT_EQ(c.result, 1);
    EXPECT_EQ(c.folders, expectedFolders);
    EXPECT_EQ(c.files, expectedFiles);
}

// Folders nobody may not open are counted but not walked; a start folder
// nobody may not open gives -1.
TEST(CountFolderTree, FoldersThatCannotBeReadAreCountedNotWalked)
{
    if (!velloran::test::IsRoot())
        GTEST_SKIP() << "needs root to run a part as nobody";
    TempDir dir("count");
    chmod(dir.Path().c_str(), 0755);
    WriteFile(dir / "ok/a.txt", "1");
    WriteFile(dir / "file.txt", "1");
    WriteFile(dir / "locked/x.txt", "1");
    WriteFile(dir / "locked/inner/y.txt", "1");
    WriteFile(dir / "listonly/y.txt", "1");
    WriteFile(dir / "listonly/sub/z.txt", "1");
    chmod((dir / "ok").c_str(), 0755);
    chmod((dir / "locked").c_str(), 0700);
    chmod((dir / "listonly").c_str(), 0744);
    const bool held = velloran::test::RunAsNobody([&] {
        const Counts c = Count(dir.Path() + "/");
        const Counts locked = Count(dir / "locked/");
        // ok, locked, listonly, listonly/sub; file.txt, ok/a.txt, listonly/y.txt
        const bool ok = c.result == 1 && c.folders == 4 && c.files == 3 && locked.result == -1 &&
                        locked.folders == 0 && locked.files == 0;
        if (!ok)
            std::cerr << "as nobody: " << c.result << " " << c.folders << " " << c.files << ", locked "
                      << locked.result << std::endl;
        return ok;
    });
    EXPECT_TRUE(held);
}

}  // namespace
