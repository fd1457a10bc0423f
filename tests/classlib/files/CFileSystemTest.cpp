// CFile's file-system members on real folders.
#include "classlib/files/CFile.h"
#include "classlib/files/FileTime.h"
#include "classlib/files/RecentDocuments.h"
#include "tests/support/RunAs.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

using quorvantell::CFile;
using namespace velloran::test;

TEST(CFileSystem, ExistenceTests)
{
    TempDir dir;
    CFile f;
    WriteFile(dir / "file.txt", "x");
    MakeDirs(dir / "empty");
    EXPECT_TRUE(f.DirExists(dir.Path()));
    EXPECT_FALSE(f.DirExists(dir / "file.txt"));
    EXPECT_FALSE(f.DirExists(dir / "missing"));
    EXPECT_FALSE(f.DirExists(""));
    EXPECT_TRUE(f.FileExists(dir / "file.txt"));
    EXPECT_TRUE(f.FileExists(dir / "empty"));
    EXPECT_FALSE(f.FileExists(dir / "missing"));
    EXPECT_TRUE(f.DirEmpty(dir / "empty"));
    EXPECT_FALSE(f.DirEmpty(dir.Path()));
    EXPECT_FALSE(f.DirEmpty(dir / "file.txt"));
}

TEST(CFileSystem, CreateFullPathBuildsEveryLevel)
{
    TempDir dir;
    CFile f;
    EXPECT_TRUE(f.CreateFullPath(dir / "a/b/c"));
    EXPECT_TRUE(f.DirExists(dir / "a/b/c"));
    EXPECT_TRUE(f.CreateFullPath(dir / "a/b/c/"));  // already there
    // A level that is a file cannot hold folders: nothing is created.
    WriteFile(dir / "file", "x");
    EXPECT_FALSE(f.CreateFullPath(dir / "file/x/y"));
    EXPECT_FALSE(Exists(dir / "file/x"));
    EXPECT_FALSE(f.CreateFullPath("relative/path"));
    EXPECT_TRUE(f.CreatePath(dir / "single"));
    EXPECT_FALSE(f.CreatePath(dir / "single"));
    EXPECT_TRUE(f.DeletePath(dir / "single"));
    EXPECT_FALSE(f.DeletePath(dir / "a"));  // not empty
}

TEST(CFileSystem, SizesAndTimes)
{
    TempDir dir;
    CFile f;
    const std::string path = dir / "sized.bin";
    EXPECT_TRUE(f.SetFileSize(path, 5'000'000'000LL));  // sparse, created when missing
    int64_t size = -1;
    EXPECT_TRUE(f.GetFileSize(path, size));
    EXPECT_EQ(size, 5'000'000'000LL);
    EXPECT_FALSE(f.GetFileSize(dir / "missing", size));
    EXPECT_EQ(size, 0);

    const int64_t when = 133'000'000'001'234'567LL;  // odd ticks: exact to 100 ns
    f.SetTime(path, when);
    EXPECT_EQ(GetFileTime(path), when);
    f.SetTime(dir / "never", when);
    EXPECT_FALSE(Exists(dir / "never"));
}

TEST(CFileSystem, HandlesReadWriteAndSeek)
{
    TempDir dir;
    CFile f;
    const std::string path = dir / "h.bin";
    int32_t h = -1;
    ASSERT_TRUE(f.CreateFile(path, h, CFile::ForWrite));
    std::vector<uint8_t> data{'h', 'e', 'l', 'l', 'o'};
    int32_t written = 0;
    EXPECT_TRUE(f.WriteFile(h, data, 5, written));
    EXPECT_EQ(written, 5);
    EXPECT_FALSE(f.WriteFile(h, data, 6, written));  // more than the buffer holds
    f.CloseHandle(h);

    h = -1;
    ASSERT_TRUE(f.CreateFile(path, h, CFile::ForRead));
    EXPECT_TRUE(f.SetFilePointer(h, 3));
    std::vector<uint8_t> buf;
    int32_t read = 0;
    EXPECT_TRUE(f.ReadFile(h, buf, 10, read));
    EXPECT_EQ(read, 2);
    EXPECT_EQ(buf[0], 'l');
    EXPECT_EQ(buf[1], 'o');
    f.CloseHandle(h);

    int32_t untouched = 1234;
    EXPECT_TRUE(f.CreateFile(path, untouched, 9));  // unknown mode keeps the handle
    EXPECT_EQ(untouched, 1234);
    int32_t missing = 0;
    EXPECT_FALSE(f.CreateFile(dir / "none", missing, CFile::ForRead));
}

TEST(CFileSystem, DeleteMoveAndTemporaryFiles)
{
    TempDir dir;
    CFile f;
    WriteFile(dir / "ro.txt", "read-only");
    chmod((dir / "ro.txt").c_str(), 0444);
    EXPECT_TRUE(f.Delete(dir / "ro.txt"));
    EXPECT_FALSE(Exists(dir / "ro.txt"));
    EXPECT_FALSE(f.Delete(dir / "ro.txt"));

    WriteFile(dir / "from", "new");
    WriteFile(dir / "to", "old");
    chmod((dir / "to").c_str(), 0444);
    EXPECT_TRUE(f.Move(dir / "from", dir / "to"));
    EXPECT_EQ(ReadFile(dir / "to"), "new");
    EXPECT_TRUE(f.Move(dir / "to", dir / "to"));

    const std::string temp = f.GetTempFile(dir.Path());
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.rfind(dir.Path() + "/", 0), 0u);
    EXPECT_EQ(ReadFile(temp), "");
    EXPECT_NE(f.GetTempFile(dir.Path()), temp);
    EXPECT_EQ(f.GetTempFile(dir / "missing"), "");
    EXPECT_EQ(f.GetTempPath().back(), '/');
}

TEST(CFileSystem, AddToRecentWritesTheDesktopListOnce)
{
    TempDir dir;
    CFile f;
    WriteFile(dir / "doc one.txt", "x");
    f.AddToRecent(dir / "doc one.txt");
    f.AddToRecent(dir / "doc one.txt");
    const std::string list = ReadFile(quorvantell::RecentDocumentsPath());
    const std::string href = "file://" + dir.Path() + "/doc%20one.txt";
    const auto first = list.find(href);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(list.find(href, first + 1), std::string::npos);
    EXPECT_NE(list.find("</xbel>"), std::string::npos);
}

TEST(CFileSystem, AddToRecentLeavesAListItCannotReadAlone)
{
    if (!IsRoot())
        GTEST_SKIP() << "switching to the user nobody needs root";
    const passwd* nobody = getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    TempDir dir;
    chmod(dir.Path().c_str(), 0755);
    MakeDirs(dir / "data");
    ASSERT_EQ(chown((dir / "data").c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    const std::string list = dir / "data/recently-used.xbel";
    const std::string theirs = "<xbel version=\"1.0\"><bookmark href=\"file:///theirs\"/></xbel>\n";
    WriteFile(list, theirs);  // left by a program run with sudo: root's, private
    chmod(list.c_str(), 0600);
    WriteFile(dir / "doc.txt", "x");
    chmod((dir / "doc.txt").c_str(), 0644);

    RunAsNobody([&] {
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
        CFile().AddToRecent(dir / "doc.txt");
        return true;
    });
    EXPECT_EQ(ReadFile(list), theirs);
    EXPECT_EQ(ListTree(dir / "data"), (std::vector<std::string>{"recently-used.xbel"}));
}

namespace {

// What a started program saw, once it has written it: one line naming its
// parent, then each argument in brackets. Empty when it never ran.
std::string WhatRan(const std::string& record)
{
    for (int i = 0; i < 1500 && !Exists(record); ++i)
        usleep(20'000);
    return Exists(record) ? ReadFile(record) : std::string();
}

}  // namespace

// Programs run themselves, detached (never this process's child), with
// quoted parameters whole; one that cannot be executed reports false.
TEST(CFileSystem, RunDocumentStartsProgramsDetached)
{
    struct Case {
        const char* interpreter;
        const char* parameters;
        bool started;
        const char* arguments;
    };
    const Case cases[] = {
        {"/bin/sh", "one \"two  three\" \"\" four", true, "[one]\n[two  three]\n[]\n[four]\n"},
        {"/bin/sh", "", true, ""},
        {"/no/such/shell", "one", false, nullptr},
    };
    const std::string us = "parent " + std::to_string(getpid()) + "\n";
    for (const Case& c : cases) {
        TempDir dir;
        WriteFile(dir / "tool.sh", std::string("#!") + c.interpreter +
                                       "\nout=\"$(dirname \"$0\")/ran\"\n"
                                       "{ echo \"parent $PPID\"; for a in \"$@\"; do echo \"[$a]\"; done; }"
                                       " > \"$out.tmp\"\n"
                                       "mv \"$out.tmp\" \"$out\"\n");
        chmod((dir / "tool.sh").c_str(), 0755);
        char previous[4096];
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(chdir(dir.Path().c_str()), 0);
        // A bare name means the file here, never a namesake found in PATH.
        const bool started = CFile().RunDocument("tool.sh", CFile::SW_SHOWNORMAL, c.parameters);
        ASSERT_EQ(chdir(previous), 0);
        EXPECT_EQ(started, c.started) << c.parameters;
        if (!c.started)
            continue;
        const std::string ran = WhatRan(dir / "ran");
        ASSERT_FALSE(ran.empty()) << c.parameters;
        EXPECT_FALSE(ran.starts_with(us)) << "started as a child of the caller";
        EXPECT_EQ(ran.substr(ran.find('\n') + 1), c.arguments);
    }
}
