// Whole-tree copy, delete and update on real folders: what is copied and
// what is only logged, the error policies, failed copies that must leave the
// old target as it was, cancelling, the order of deletions, nested folders.
#include "app/engine/AppError.h"
#include "tests/app/support/EngineFixture.h"
#include "tests/support/RunAs.h"

#include "classlib/general/CGeneral.h"

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace velloran::test {
namespace {

using quorvantell::MB_ICONINFORMATION;
using quorvantell::MB_ICONQUESTION;
using quorvantell::MB_ICONWARNING;

// An engine over the folders "left" and "right" of a fresh folder that the
// user nobody may enter, for test parts that run as nobody.
struct NobodyEngine {
    explicit NobodyEngine(const std::string& tag) : temp(tag)
    {
        chmod(temp.Path().c_str(), 0755);
        host.Attach(sync);
        host.SetFolders(left, right);
    }
    TempDir temp;
    std::string left = temp / "left";
    std::string right = temp / "right";
    RecordingHost host;
    CSync sync{host};
};

// Runs body on a NobodyEngine as nobody (as root, where permissions would
// not hold) or as this user; its result.
bool AsNobody(const std::string& tag, const std::function<bool(NobodyEngine&)>& body)
{
    const auto run = [&] {
        NobodyEngine engine(tag);
        return body(engine);
    };
    return IsRoot() ? RunAsNobody(run) : run();
}

class TreeOpsTest : public EngineFixture {
protected:
    void SetUp() override { ASSERT_TRUE(sync.checkFoldersValid()); }
    // A folder where the target file should go: no copy can replace it.
    void BlockTarget(const std::string& relative, int64_t time = kBaseTime - 60 * kSecond)
    {
        Put(1, relative + "/inside", "keep");
        SetFileTime(PathOf(1, relative), time);
    }
    std::string R(const std::string& relative) const { return sync.rootFolder[1] + relative; }
    // a.txt and b.txt to copy, a.txt blocked; with the error policy given.
    void FirstOfTwoBlocked(int32_t errorAction)
    {
        sync.Options.ErrorAction = errorAction;
        Put(0, "a.txt", "a");
        Put(0, "b.txt", "b");
        BlockTarget("a.txt");
    }
};

TEST_F(TreeOpsTest, CopyReplacesOnlyClearlyOlderTargets)
{
    Put(0, "old3.txt", "new", kBaseTime);
    Put(1, "old3.txt", "old", kBaseTime - 3 * kSecond);
    Put(0, "old2.txt", "new", kBaseTime);
    Put(1, "old2.txt", "old", kBaseTime - 2 * kSecond);
    Put(0, "size2.txt", "new text", kBaseTime);
    Put(1, "size2.txt", "old", kBaseTime - 2 * kSecond);
    Put(0, "empty.txt", "full", kBaseTime);
    Put(1, "empty.txt", "", kBaseTime + 60 * kSecond);
    Put(0, "newer.txt", "mine", kBaseTime);
    Put(1, "newer.txt", "theirs", kBaseTime + 5 * kSecond);
    Put(0, "sub/deep/missing.txt", "made", kBaseTime);
    EXPECT_TRUE(sync.DoCopy(0, 1));

    EXPECT_EQ(ReadFile(PathOf(1, "old3.txt")), "new");
    EXPECT_EQ(GetFileTime(PathOf(1, "old3.txt")), kBaseTime);
    EXPECT_EQ(ReadFile(PathOf(1, "old2.txt")), "old");
    EXPECT_EQ(ReadFile(PathOf(1, "size2.txt")), "old");
    EXPECT_EQ(ReadFile(PathOf(1, "empty.txt")), "full");
    EXPECT_EQ(ReadFile(PathOf(1, "newer.txt")), "theirs");
    EXPECT_EQ(ReadFile(PathOf(1, "sub/deep/missing.txt")), "made");
    EXPECT_EQ(sync.errLog, "Warning: Target " + R("newer.txt") +
                               "is newer than the source file.\r\n"
                               "Warning: The file \"size2.txt\" has the same file change date on each side but "
                               "different sizes!\r\n");
    EXPECT_EQ(host.captions.front(), "Counting files");
    EXPECT_EQ(host.captions.back(), "Copying files from left folder...");
    EXPECT_EQ(host.progressValues.back(), 100);
    EXPECT_EQ(host.activityValues.size(), 3u);  // one per copy attempt
}

TEST_F(TreeOpsTest, CopyRightToLeft)
{
    Put(1, "r.txt", "right");
    EXPECT_TRUE(sync.DoCopy(1, 0));
    EXPECT_EQ(ReadFile(PathOf(0, "r.txt")), "right");
    EXPECT_EQ(host.captions.back(), "Copying files from right folder...");
}

TEST_F(TreeOpsTest, IgnorePolicyLogsAndGoesOn)
{
    FirstOfTwoBlocked(1);
    EXPECT_TRUE(sync.DoCopy(0, 1));
    EXPECT_EQ(sync.errLog, "Error writing file " + R("a.txt") + "\r\n");
    EXPECT_EQ(ReadFile(PathOf(1, "b.txt")), "b");
    EXPECT_EQ(ReadFile(PathOf(1, "a.txt/inside")), "keep");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TreeOpsTest, StopPolicyEndsTheCopy)
{
    FirstOfTwoBlocked(2);
    EXPECT_FALSE(sync.DoCopy(0, 1));
    EXPECT_EQ(sync.errLog, "Error writing file " + R("a.txt") + "\r\n");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "File operation has been aborted");
    EXPECT_EQ(host.messages[0].caption, "Error encountered");
    EXPECT_EQ(host.messages[0].icon, MB_ICONWARNING);
    EXPECT_FALSE(Exists(PathOf(1, "b.txt")));
}

TEST_F(TreeOpsTest, AskPolicyFollowsTheAnswer)
{
    FirstOfTwoBlocked(0);
    Put(0, "c.txt", "c");
    BlockTarget("b.txt");
    host.answers = {true, false};
    EXPECT_FALSE(sync.DoCopy(0, 1));
    ASSERT_EQ(host.questions.size(), 2u);
    EXPECT_EQ(host.questions[0].text, "Error writing file " + R("a.txt") +
                                          "\r\nCheck that the file is not locked or in use.\r\n\r\n"
                                          "Ignore error and continue operation?");
    EXPECT_EQ(host.questions[0].icon, MB_ICONWARNING);
    EXPECT_EQ(host.questions[0].kind, QuestionKind::ErrorPolicy);
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"File operation has been aborted"});
    EXPECT_EQ(sync.errLog, "Error writing file " + R("a.txt") + "\r\nError writing file " + R("b.txt") + "\r\n");
    EXPECT_FALSE(Exists(PathOf(1, "c.txt")));
}

// A copy that cannot finish leaves the old target exactly as it was and no
// temporary file behind. Root may write anywhere, so the copy runs as nobody.
TEST_F(TreeOpsTest, FailedCopyKeepsTheOldTarget)
{
    const auto body = [] {
        TempDir temp("copyfail");
        chmod(temp.Path().c_str(), 0755);
        const std::string left = temp / "left", right = temp / "right";
        WriteFile(left + "/locked/file.txt", "new contents");
        SetFileTime(left + "/locked/file.txt", kBaseTime);
        WriteFile(right + "/locked/file.txt", "old contents");
        SetFileTime(right + "/locked/file.txt", kBaseTime - kMinute);
        chmod((right + "/locked").c_str(), 0555);
        RecordingHost host;
        CSync sync(host);
        host.Attach(sync);
        host.SetFolders(left, right);
        sync.Options.ErrorAction = 1;
        const bool ok = sync.checkFoldersValid() && sync.DoCopy(0, 1) &&
                        sync.errLog == "Error writing file " + right + "/locked/file.txt\r\n" &&
                        ReadFile(right + "/locked/file.txt") == "old contents" &&
                        GetFileTime(right + "/locked/file.txt") == kBaseTime - kMinute &&
                        ListTree(right) == std::vector<std::string>{"locked/", "locked/file.txt"};
        chmod((right + "/locked").c_str(), 0755);
        return ok;
    };
    EXPECT_TRUE(IsRoot() ? RunAsNobody(body) : body());
}

// Cancel pressed during a large file: the question comes at once, with no
// error line for the file. Yes keeps the old target; No copies it afresh.
TEST_F(TreeOpsTest, CancelDuringALargeFile)
{
    for (const bool yes : {true, false}) {
        Put(0, "big.bin", std::string(25 * 1024 * 1024, 'n'), kBaseTime);
        Put(1, "big.bin", "old", kBaseTime - kMinute);
        Put(0, "next.txt", "next", kBaseTime);
        std::remove(PathOf(1, "next.txt").c_str());
        host.questions.clear();
        // Turn 1 follows the "Copying files" caption, turn 2 the copy's first block.
        host.turns = 0;
        host.CancelAtTurn(2);
        host.answers = {yes};
        if (yes)
            EXPECT_THROW(sync.DoCopy(0, 1), AppError);
        else
            EXPECT_TRUE(sync.DoCopy(0, 1));
        EXPECT_EQ(ReadFile(PathOf(1, "big.bin")).size(), yes ? 3u : 25u * 1024 * 1024);
        EXPECT_EQ(Exists(PathOf(1, "next.txt")), !yes);
        EXPECT_EQ(sync.errLog, "");
        ASSERT_EQ(host.questions.size(), 1u);
        EXPECT_EQ(host.questions[0].kind, QuestionKind::CancelOperation);
    }
}

TEST_F(TreeOpsTest, CancelAnsweredNoContinuesWhereItWas)
{
    for (int i = 0; i < 60; ++i)
        Put(0, "f" + std::to_string(100 + i), "x");
    host.CancelAtTurn(10);
    host.answers = {false};
    EXPECT_TRUE(sync.DoCopy(0, 1));
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(ListTree(m_right).size(), 60u);
    EXPECT_TRUE(sync.errLog.empty());
}

TEST_F(TreeOpsTest, CancelAnsweredYesReportsAndRaises)
{
    for (int i = 0; i < 60; ++i)
        Put(0, "f" + std::to_string(100 + i), "x");
    host.CancelAtTurn(10);
    host.answers = {true};
    try {
        sync.DoCopy(0, 1);
        FAIL() << "no cancel request";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number, AppError::kCancelRequest);
    }
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Cancelled by user.");
    EXPECT_EQ(host.messages[0].icon, MB_ICONINFORMATION);
    EXPECT_LT(ListTree(m_right).size(), 60u);
}

TEST_F(TreeOpsTest, DeleteRemovesWhatTheMasterLacksDeepestFoldersFirst)
{
    Put(0, "keep.txt", "k");
    Put(0, "shared/keep.txt", "k");
    Put(1, "keep.txt", "k");
    Put(1, "shared/keep.txt", "k");
    Put(1, "shared/gone.txt", "g");
    Put(1, "extra/x.txt", "x");
    Put(1, "extra/deeper/y.txt", "y");
    Folder(1, "empty");
    EXPECT_TRUE(sync.DoDelete(0, 1));
    EXPECT_EQ(ListTree(m_right), (std::vector<std::string>{"keep.txt", "shared/", "shared/keep.txt"}));
    EXPECT_TRUE(sync.errLog.empty());
    EXPECT_EQ(host.captions, (std::vector<std::string>{"Counting files", "Deleting files from right folder...",
                                                       "Deleting subfolders from right folder..."}));
}

// A FIFO is never deleted, so its folders stay; the failures are reported
// deepest folder first. A link goes itself, never what it points to.
TEST_F(TreeOpsTest, FoldersThatCannotBeRemovedAreReported)
{
    sync.Options.ErrorAction = 1;
    Folder(1, "a/b");
    ASSERT_EQ(mkfifo(PathOf(1, "a/b/pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink(m_left.c_str(), PathOf(1, "a/link").c_str()), 0);
    EXPECT_TRUE(sync.DoDelete(0, 1));
    EXPECT_EQ(sync.errLog, "Warning: The special file " + R("a/b/pipe") +
                               " (a FIFO, socket or device) is not in the master folder and was left in place.\r\n"
                               "Error deleting folder " + R("a/b/") + "\r\nError deleting folder " + R("a/") + "\r\n");
    EXPECT_TRUE(Exists(m_left));
    EXPECT_FALSE(Exists(PathOf(1, "a/link")));
}

TEST_F(TreeOpsTest, FileThatCannotBeDeletedIsReported)
{
    const auto body = [] {
        TempDir temp("delfail");
        chmod(temp.Path().c_str(), 0755);
        const std::string left = temp / "left", right = temp / "right";
        MakeDirs(left);
        WriteFile(right + "/ro/stuck.txt", "s");
        chmod((right + "/ro").c_str(), 0555);
        RecordingHost host;
        CSync sync(host);
        host.Attach(sync);
        host.SetFolders(left, right);
        sync.Options.ErrorAction = 2;
        const bool ok = sync.checkFoldersValid() && !sync.DoDelete(0, 1) &&
                        sync.errLog == "Error deleting file " + right + "/ro/stuck.txt\r\n" &&
                        host.MessageTexts() == std::vector<std::string>{"File operation has been aborted"} &&
                        Exists(right + "/ro/stuck.txt");
        chmod((right + "/ro").c_str(), 0755);
        return ok;
    };
    EXPECT_TRUE(IsRoot() ? RunAsNobody(body) : body());
}

// A master folder that cannot be searched says nothing about what it holds:
// its target files are kept and reported, not deleted as missing.
TEST_F(TreeOpsTest, AnUnreadableMasterFolderDeletesNothingBelowIt)
{
    EXPECT_TRUE(AsNobody("delunread", [](NobodyEngine& engine) {
        const std::string &left = engine.left, &right = engine.right;
        for (const std::string& side : {left, right}) {
            WriteFile(side + "/locked/x.txt", "x");
            MakeDirs(side + "/locked/empty");
        }
        WriteFile(right + "/stray.txt", "s");
        chmod((left + "/locked").c_str(), 0600);
        engine.sync.Options.ErrorAction = 1;
        const bool ok = engine.sync.checkFoldersValid() && engine.sync.DoDelete(0, 1) &&
                        engine.sync.errLog == "Error deleting file " + right + "/locked/x.txt\r\n"
                                              "Error deleting folder " + right + "/locked/empty/\r\n" &&
                        Exists(right + "/locked/x.txt") && Exists(right + "/locked/empty") &&
                        !Exists(right + "/stray.txt");
        chmod((left + "/locked").c_str(), 0755);
        return ok;
    }));
}

// A folder the walk cannot read is no empty folder: the copy from it and the
// delete in it are reported, not passed as complete.
TEST_F(TreeOpsTest, FoldersThatCannotBeReadAreReported)
{
    EXPECT_TRUE(AsNobody("unreadable", [](NobodyEngine& engine) {
        const std::string &left = engine.left, &right = engine.right;
        CSync& sync = engine.sync;
        WriteFile(left + "/a.txt", "a");
        WriteFile(left + "/locked/x.txt", "x");
        MakeDirs(left + "/shut");
        WriteFile(right + "/shut/stray.txt", "s");
        chmod((left + "/locked").c_str(), 0300);
        chmod((right + "/shut").c_str(), 0300);
        sync.Options.ErrorAction = 1;
        bool ok = sync.checkFoldersValid() && sync.DoCopy(0, 1) &&
                  sync.errLog == "Error reading folder " + left + "/locked/\r\n" && Exists(right + "/a.txt");
        sync.errLog.clear();
        ok = ok && sync.DoDelete(0, 1) && sync.errLog == "Error reading folder " + right + "/shut/\r\n";
        chmod((left + "/locked").c_str(), 0755);
        chmod((right + "/shut").c_str(), 0755);
        return ok && Exists(right + "/shut/stray.txt");
    }));
}

TEST_F(TreeOpsTest, UpdateOfIdenticalTreesChangesNothing)
{
    for (int side = 0; side <= 1; ++side) {
        Put(side, "a.txt", "a", kBaseTime);
        Put(side, "d/b.txt", "bb", kBaseTime - kMinute);
    }
    EXPECT_TRUE(sync.DoUpdate(0, 1));
    EXPECT_TRUE(sync.errLog.empty());
    EXPECT_TRUE(host.activityValues.empty());  // nothing was copied
    EXPECT_EQ(GetFileTime(PathOf(1, "d/b.txt")), kBaseTime - kMinute);
}

TEST_F(TreeOpsTest, UpdateDeletesThenCopies)
{
    Put(0, "new.txt", "n");
    Put(1, "stale.txt", "s");
    EXPECT_TRUE(sync.DoUpdate(0, 1));
    EXPECT_EQ(ListTree(m_right), std::vector<std::string>{"new.txt"});
}

// After the user chose to stop at a failed delete, the update copies nothing.
TEST_F(TreeOpsTest, UpdateStoppedInTheDeleteDoesNotCopy)
{
    sync.Options.ErrorAction = 2;
    Put(0, "new.txt", "n");
    Folder(1, "stuck");
    ASSERT_EQ(mkfifo(PathOf(1, "stuck/pipe").c_str(), 0600), 0);
    EXPECT_FALSE(sync.DoUpdate(0, 1));
    EXPECT_FALSE(Exists(PathOf(1, "new.txt")));
    EXPECT_EQ(sync.errLog, "Warning: The special file " + R("stuck/pipe") +
                               " (a FIFO, socket or device) is not in the master folder and was left in place.\r\n"
                               "Error deleting folder " + R("stuck/") + "\r\n");
}

TEST_F(TreeOpsTest, LinksToFoldersAreNotCopied)
{
    Put(0, "real/a.txt", "a");
    ASSERT_EQ(symlink(m_temp.Path().c_str(), PathOf(0, "outside").c_str()), 0);
    ASSERT_EQ(symlink("real/a.txt", PathOf(0, "alias.txt").c_str()), 0);
    EXPECT_TRUE(sync.DoCopy(0, 1));
    EXPECT_EQ(ListTree(m_right), (std::vector<std::string>{"alias.txt", "real/", "real/a.txt"}));
    struct stat st{};
    ASSERT_EQ(lstat(PathOf(1, "alias.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
}

// A link in the target where the source has a folder would carry the copies
// out of the target tree; it is a folder that cannot be made, its files fail
// without a try, and nothing is written or made where the link points.
TEST_F(TreeOpsTest, LinksToFoldersInTheTargetAreNotCopiedThrough)
{
    sync.Options.ErrorAction = 1;
    Put(0, "sub/a.txt", "a");
    Put(0, "sub/deeper/b.txt", "b");
    Put(0, "plain.txt", "p");
    const std::string outside = m_temp / "outside";
    MakeDirs(outside);
    ASSERT_EQ(symlink(outside.c_str(), PathOf(1, "sub").c_str()), 0);
    EXPECT_TRUE(sync.DoCopy(0, 1));
    EXPECT_TRUE(ListTree(outside).empty());
    EXPECT_EQ(sync.errLog, "Error creating folder " + R("sub/") + "\r\nError writing file " + R("sub/a.txt") +
                               "\r\nError creating folder " + R("sub/deeper/") + "\r\nError writing file " +
                               R("sub/deeper/b.txt") + "\r\n");
    EXPECT_EQ(ReadFile(PathOf(1, "plain.txt")), "p");
    struct stat st{};
    ASSERT_EQ(lstat(PathOf(1, "sub").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

}  // namespace
}  // namespace velloran::test
