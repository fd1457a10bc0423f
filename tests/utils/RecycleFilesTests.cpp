// RecycleFiles into the freedesktop trash under the test's own
// XDG_DATA_HOME, and into the trash at the top of another file system.
#include "tests/support/TempDir.h"
#include "tests/utils/OtherFileSystem.h"
#include "utils/UtilsImport.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace quorvantell;
using velloran::test::Exists;
using velloran::test::MakeDirs;
using velloran::test::ReadFile;
using velloran::test::RemoveTree;
using velloran::test::TempDir;
using velloran::test::WriteFile;

std::string List(const std::vector<std::string>& paths)
{
    std::string list;
    for (const auto& p : paths)
        list += p + '\0';
    return list + '\0';
}

int32_t Recycle(const std::vector<std::string>& paths)
{
    const std::string list = List(paths);
    return utils::RecycleFiles(list.data());
}

class RecycleFilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_trash = std::string(std::getenv("XDG_DATA_HOME")) + "/Trash";
        RemoveTree(m_trash);
    }
    void TearDown() override { RemoveTree(m_trash); }

    std::string Trashed(const std::string& name) const { return m_trash + "/files/" + name; }
    std::string Info(const std::string& name) const { return ReadFile(m_trash + "/info/" + name + ".trashinfo"); }

    std::string m_trash;
};

// True for a local time written as YYYY-MM-DDThh:mm:ss.
bool IsTimeStamp(const std::string& text)
{
    const std::string shape = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != shape.size())
        return false;
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(text[i])) : text[i] != shape[i])
            return false;
    }
    return true;
}

void ExpectInfo(const std::string& info, const std::string& encodedPath)
{
    const std::string head = "[Trash Info]\nPath=" + encodedPath + "\nDeletionDate=";
    ASSERT_EQ(info.substr(0, head.size()), head) << info;
    ASSERT_EQ(info.back(), '\n') << info;
    EXPECT_TRUE(IsTimeStamp(info.substr(head.size(), info.size() - head.size() - 1))) << info;
}

TEST_F(RecycleFilesTest, MovesFilesAndFoldersWithTheirOrigin)
{
    TempDir dir("recycle");
    WriteFile(dir / "note.txt", "note");
    WriteFile(dir / "folder/inside.txt", "in");
    chmod((dir / "note.txt").c_str(), 0444);
    EXPECT_EQ(Recycle({dir / "note.txt", dir / "folder/"}), 0);
    EXPECT_FALSE(Exists(dir / "note.txt"));
    EXPECT_FALSE(Exists(dir / "folder"));
    EXPECT_EQ(ReadFile(Trashed("note.txt")), "note");
    EXPECT_EQ(ReadFile(Trashed("folder/inside.txt")), "in");
    ExpectInfo(Info("note.txt"), dir / "note.txt");
    ExpectInfo(Info("folder"), dir / "folder");
}

TEST_F(RecycleFilesTest, EncodesThePathAsAUrl)
{
    TempDir dir("recycle");
    const std::string name = "caf\xC3\xA9 & 50%#.txt";
    WriteFile(dir / name, "x");
    EXPECT_EQ(Recycle({dir / name}), 0);
    ExpectInfo(Info(name), dir.Path() + "/caf%C3%A9%20%26%2050%25%23.txt");
}

TEST_F(RecycleFilesTest, RelativePathsAndLinks)
{
    TempDir dir("recycle");
    WriteFile(dir / "target.txt", "kept");
    symlink("target.txt", (dir / "link").c_str());
    char* saved = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    const int32_t result = Recycle({"link"});
    ASSERT_EQ(chdir(saved), 0);
    std::free(saved);
    EXPECT_EQ(result, 0);
    // The link itself went, not what it points to.
    EXPECT_FALSE(Exists(dir / "link"));
    EXPECT_EQ(ReadFile(dir / "target.txt"), "kept");
    struct stat st{};
    ASSERT_EQ(lstat(Trashed("link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ExpectInfo(Info("link"), dir / "link");
}

TEST_F(RecycleFilesTest, CollidingNamesGetUniqueOnes)
{
    TempDir a("recycle"), b("recycle"), c("recycle");
    WriteFile(a / "report.txt", "a");
    WriteFile(b / "report.txt", "b");
    WriteFile(c / "report.txt", "c");
    EXPECT_EQ(Recycle({a / "report.txt"}), 0);
    EXPECT_EQ(Recycle({b / "report.txt", c / "report.txt"}), 0);
    EXPECT_EQ(ReadFile(Trashed("report.txt")), "a");
    EXPECT_EQ(ReadFile(Trashed("report.2.txt")), "b");
    EXPECT_EQ(ReadFile(Trashed("report.3.txt")), "c");
    ExpectInfo(Info("report.2.txt"), b / "report.txt");
    // A stray entry in files/ without its info file is never overwritten.
    WriteFile(Trashed("stray"), "old");
    WriteFile(a / "stray", "new");
    EXPECT_EQ(Recycle({a / "stray"}), 0);
    EXPECT_EQ(ReadFile(Trashed("stray")), "old");
    EXPECT_EQ(ReadFile(Trashed("stray.2")), "new");
    EXPECT_FALSE(Exists(m_trash + "/info/stray.trashinfo"));
}

TEST_F(RecycleFilesTest, FailuresLeaveFilesInPlace)
{
    TempDir dir("recycle");
    WriteFile(dir / "good.txt", "g");
    EXPECT_NE(Recycle({dir / "missing.txt", dir / "good.txt"}), 0);
    EXPECT_EQ(ReadFile(Trashed("good.txt")), "g");  // the rest is still done
    EXPECT_FALSE(Exists(m_trash + "/info/missing.txt.trashinfo"));

    for (const std::string& bad : {std::string("/"), dir.Path() + "/.", dir / "no/such/x"})
        EXPECT_NE(Recycle({bad}), 0) << bad;
    EXPECT_NE(utils::RecycleFiles(nullptr), 0);
    EXPECT_EQ(utils::RecycleFiles(std::string(2, '\0').data()), 0);

    // A trash that cannot be made: the file stays.
    RemoveTree(m_trash);
    WriteFile(m_trash, "not a folder");
    WriteFile(dir / "stays.txt", "s");
    EXPECT_NE(Recycle({dir / "stays.txt"}), 0);
    EXPECT_EQ(ReadFile(dir / "stays.txt"), "s");
    unlink(m_trash.c_str());
}

// The trash at the top of /dev/shm. Entries this test makes there are
// removed again; the trash folder itself only when the test created it.
// Test processes running side by side take turns through a lock on the top
// folder, as they share that trash.
class TopDirTrashTest : public RecycleFilesTest {
protected:
    void SetUp() override
    {
        RecycleFilesTest::SetUp();
        m_other = velloran::test::TempDirOnOtherFileSystem(m_trash, "recycle");
        if (!m_other)
            GTEST_SKIP() << "no second writable file system";
        m_top = m_other->Path().substr(0, m_other->Path().rfind('/'));
        m_lock = open(m_top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(m_lock, 0);
        ASSERT_EQ(flock(m_lock, LOCK_EX), 0);
        m_topTrash = m_top + "/.Trash-" + std::to_string(getuid());
        struct stat st{};
        if (lstat((m_top + "/.Trash").c_str(), &st) == 0)
            GTEST_SKIP() << m_top << "/.Trash exists; not touching it";
        m_madeTopTrash = lstat(m_topTrash.c_str(), &st) != 0;
    }
    void TearDown() override
    {
        for (const auto& name : m_names) {
            RemoveTree(m_topTrash + "/files/" + name);
            unlink((m_topTrash + "/info/" + name + ".trashinfo").c_str());
        }
        if (m_madeTopTrash)
            RemoveTree(m_topTrash);
        if (m_lock >= 0)
            close(m_lock);
        RecycleFilesTest::TearDown();
    }

    std::unique_ptr<TempDir> m_other;
    std::string m_top, m_topTrash;
    bool m_madeTopTrash = false;
    std::vector<std::string> m_names;
    int m_lock = -1;
};

TEST_F(TopDirTrashTest, UsesTheTrashOfTheFilesOwnFileSystem)
{
    const std::string leaf = m_other->Path().substr(m_top.size() + 1);
    const std::string name = leaf + "-gone.txt";
    m_names.push_back(name);
    WriteFile(*m_other / name, "far");
    EXPECT_EQ(Recycle({*m_other / name}), 0);
    EXPECT_FALSE(Exists(*m_other / name));
    EXPECT_EQ(ReadFile(m_topTrash + "/files/" + name), "far");
    // Entries of a top-directory trash are relative to that directory.
    ExpectInfo(ReadFile(m_topTrash + "/info/" + name + ".trashinfo"), leaf + "/" + name);
    EXPECT_FALSE(Exists(Trashed(name)));
    struct stat st{};
    ASSERT_EQ(lstat(m_topTrash.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(TopDirTrashTest, FailsWithoutCopyingWhenThatTrashIsUnusable)
{
    if (!m_madeTopTrash)
        GTEST_SKIP() << m_topTrash << " exists already";
    WriteFile(m_topTrash, "blocks the trash folder");
    WriteFile(*m_other / "stays.txt", "s");
    EXPECT_NE(Recycle({*m_other / "stays.txt"}), 0);
    EXPECT_EQ(ReadFile(*m_other / "stays.txt"), "s");
    EXPECT_FALSE(Exists(Trashed("stays.txt")));
    unlink(m_topTrash.c_str());
    m_madeTopTrash = false;
}

}  // namespace
