// CFindFile on real trees: breadth-first order, specifications, growth,
// byte names, and what the scans must never follow or open.
#include "classlib/files/CFile.h"
#include "classlib/files/CFindFile.h"
#include "tests/support/OneAtATime.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

using quorvantell::CFindFile;
using namespace velloran::test;

TEST(CFindFile, WholeTreeIsBreadthFirst)
{
    TempDir dir;
    WriteFile(dir / "b.txt", "b");
    WriteFile(dir / "a", "a");
    WriteFile(dir / "z/deep/d.txt", "d");
    WriteFile(dir / "y/c.doc", "c");
    WriteFile(dir / "y/e.txt", "e");
    CFindFile find;
    int32_t dirs = 0, files = 0;
    find.FindFiles(dir.Path() + "/", "*.*;", dirs, files);
    EXPECT_EQ(dirs, 3);
    EXPECT_EQ(files, 5);
    EXPECT_EQ(find.DirBuf(0), "");
    EXPECT_EQ(find.DirBuf(1), "y/");
    EXPECT_EQ(find.DirBuf(2), "z/");
    EXPECT_EQ(find.DirBuf(3), "z/deep/");
    const std::vector<std::string> expected{"a", "b.txt", "y/c.doc", "y/e.txt", "z/deep/d.txt"};
    for (int32_t i = 0; i < files; ++i)
        EXPECT_EQ(find.FileBuf(i), expected[static_cast<size_t>(i)]);

    find.FindFiles(dir.Path() + "/", "*.txt", dirs, files);
    EXPECT_EQ(dirs, 3);  // folders are listed whatever the file pattern
    EXPECT_EQ(files, 3);
    EXPECT_EQ(find.FileBuf(0), "b.txt");
    EXPECT_EQ(find.FileBuf(2), "z/deep/d.txt");
}

TEST(CFindFile, OneAtATimeMatchesTheWholeTreeAndResetsTheSpecification)
{
    TempDir dir;
    WriteFile(dir / "b.txt", "bb");
    WriteFile(dir / "noext", "n");
    WriteFile(dir / "sub/c.txt", "ccc");
    SetFileTime(dir / "sub/c.txt", 133'000'000'000'000'007LL);
    CFindFile find;
    OneAtATimeListing txt = ListOneAtATime(find, dir.Path() + "/", "*.txt", true);
    EXPECT_EQ(txt.files, (std::vector<std::string>{"b.txt", "sub/c.txt"}));
    EXPECT_EQ(txt.dirs, 1);
    EXPECT_EQ(txt.sizes[1], 3);
    EXPECT_EQ(txt.times[1], 133'000'000'000'000'007LL);

    OneAtATimeListing all = ListOneAtATime(find, dir.Path() + "/", "*.*;", true);
    EXPECT_EQ(all.files, (std::vector<std::string>{"b.txt", "noext", "sub/c.txt"}));

    OneAtATimeListing top = ListOneAtATime(find, dir.Path() + "/", "*.*;", false);
    EXPECT_EQ(top.files, (std::vector<std::string>{"b.txt", "noext"}));
    EXPECT_EQ(top.dirs, 0);
}

TEST(CFindFile, EmptyRootEndsAtOnce)
{
    TempDir dir;
    CFindFile find;
    OneAtATimeListing none = ListOneAtATime(find, dir.Path() + "/", "*.*;", false);
    EXPECT_TRUE(none.files.empty());
    EXPECT_EQ(none.dirs, 0);
    OneAtATimeListing missing = ListOneAtATime(find, dir / "missing/", "*.*;", true);
    EXPECT_TRUE(missing.files.empty());
    EXPECT_EQ(missing.dirs, 0);
}

TEST(CFindFile, ClearEndsASearchUnderWay)
{
    TempDir dir;
    WriteFile(dir / "sub/a.txt", "a");
    WriteFile(dir / "sub/b.txt", "b");
    CFindFile find;
    find.FindFilesInit(dir.Path() + "/", "*.*;", true);
    std::string name;
    int64_t time = 0, size = 0;
    int32_t dirs = -1;
    ASSERT_TRUE(find.GetNextFile(name, time, size, dirs));
    EXPECT_EQ(name, "sub/a.txt");
    find.Clear();
    EXPECT_FALSE(find.GetNextFile(name, time, size, dirs));
    EXPECT_EQ(name, "sub/a.txt");
    EXPECT_EQ(dirs, 0);
    EXPECT_EQ(find.DirBuf(1), "");
}

TEST(CFindFile, GrowsPastManySubfolders)
{
    TempDir dir;
    for (int i = 0; i < 251; ++i) {
        char name[16];
        snprintf(name, sizeof name, "d%03d", i);
        WriteFile(dir / (std::string(name) + "/f.txt"), "x");
    }
    CFindFile find;
    int32_t dirs = 0, files = 0;
    find.FindFiles(dir.Path() + "/", "*.*;", dirs, files);
    EXPECT_EQ(dirs, 251);
    EXPECT_EQ(files, 251);
    EXPECT_EQ(find.DirBuf(1), "d000/");
    EXPECT_EQ(find.DirBuf(251), "d250/");
    EXPECT_EQ(find.FileBuf(250), "d250/f.txt");

    OneAtATimeListing one = ListOneAtATime(find, dir.Path() + "/", "*.*;", true);
    EXPECT_EQ(one.dirs, 251);
    EXPECT_EQ(one.files.size(), 251u);
}

TEST(CFindFile, NamesAreBytes)
{
    TempDir dir;
    const std::string latin1 = "caf\xE9.txt";    // not valid UTF-8
    const std::string broken = "\xFF\xFE/\x80x";  // folder and file with stray bytes
    WriteFile(dir / latin1, "abc");
    WriteFile(dir / broken, "de");
    CFindFile find;
    OneAtATimeListing all = ListOneAtATime(find, dir.Path() + "/", "*.*;", true);
    EXPECT_EQ(all.files, (std::vector<std::string>{latin1, broken}));
    EXPECT_EQ(all.sizes, (std::vector<int64_t>{3, 2}));
}

TEST(CFindFile, LinksAndSpecialFiles)
{
    TempDir dir;
    TempDir outside;
    WriteFile(outside / "secret.txt", "outside the chosen tree");
    WriteFile(dir / "real.txt", "12345");
    ASSERT_EQ(symlink((dir / "real.txt").c_str(), (dir / "link-to-file").c_str()), 0);
    ASSERT_EQ(symlink(outside.Path().c_str(), (dir / "link-to-folder").c_str()), 0);
    ASSERT_EQ(symlink(dir.Path().c_str(), (dir / "loop").c_str()), 0);
    ASSERT_EQ(symlink((dir / "gone").c_str(), (dir / "broken").c_str()), 0);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    WriteFile(dir / ".x.velloran-tmp", "a file of the user's");

    CFindFile find;
    OneAtATimeListing all = ListOneAtATime(find, dir.Path() + "/", "*.*;", true);
    EXPECT_EQ(all.files, (std::vector<std::string>{".x.velloran-tmp", "link-to-file", "real.txt"}));
    EXPECT_EQ(all.sizes, (std::vector<int64_t>{20, 5, 5}));
    EXPECT_EQ(all.dirs, 0);

    int32_t dirs = -1, files = -1;
    quorvantell::CFile().CountFiles(dir.Path() + "/", dirs, files);
    EXPECT_EQ(dirs, 0);
    EXPECT_EQ(files, 3);
}
