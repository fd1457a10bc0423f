// The folder check, the local scan of both trees and the comparison, on
// real folders: the time band, the offset, the dot-file filter, exact-name
// pairing, names that are not UTF-8, links, and cancelling a scan.
#include "app/engine/AppError.h"
#include "tests/app/support/EngineFixture.h"

#include "classlib/general/CGeneral.h"

#include <sys/stat.h>
#include <unistd.h>

namespace velloran::test {
namespace {

using quorvantell::MB_ICONERROR;
using quorvantell::MB_ICONQUESTION;
using quorvantell::MB_ICONWARNING;

class ScanCompareTest : public EngineFixture {};

TEST_F(ScanCompareTest, TwoSecondBandIsInclusive)
{
    Put(0, "edge.txt", "12345", kBaseTime);
    Put(1, "edge.txt", "12345", kBaseTime + 2000 * kMs);
    Put(0, "over.txt", "12345", kBaseTime);
    Put(1, "over.txt", "12345", kBaseTime + 2001 * kMs);
    Put(0, "newer.txt", "12345", kBaseTime + 2001 * kMs);
    Put(1, "newer.txt", "12345", kBaseTime);
    Put(0, "back.txt", "12345", kBaseTime + 2000 * kMs);
    Put(1, "back.txt", "12345", kBaseTime);
    Put(0, "size.txt", "12345", kBaseTime);
    Put(1, "size.txt", "1234", kBaseTime + 1500 * kMs);
    ScanAndCompare();
    EXPECT_EQ(WayOf("edge.txt"), 0);
    EXPECT_EQ(WayOf("over.txt"), 3);
    EXPECT_EQ(WayOf("newer.txt"), 2);
    EXPECT_EQ(WayOf("back.txt"), 0);
    EXPECT_EQ(WayOf("size.txt"), 5);
    for (int32_t i = 0; i < sync.m_arrFile.nVells(); ++i)
        EXPECT_EQ(sync.m_arrFile.vell(i).idx(), i);
}

TEST_F(ScanCompareTest, LeftTimeOffsetShiftsLeftTimes)
{
    sync.Options.LeftTimeOffset = 60;
    Put(0, "a.txt", "x", kBaseTime - 60 * kMinute);  // 09:00
    Put(1, "a.txt", "x", kBaseTime);                 // 10:00
    ScanAndCompare();
    EXPECT_EQ(WayOf("a.txt"), 0);
    EXPECT_EQ(sync.m_arrFile.vell(0).FileDate(0), kBaseTime);
    EXPECT_EQ(sync.m_arrFile.vell(0).FileDate(1), kBaseTime);
}

TEST_F(ScanCompareTest, DotFilterAppliesToPreviewsOnly)
{
    sync.Options.FilterDotFiles = true;
    Put(0, ".git/config", "x");
    Put(0, "sub/.hidden/x", "x");
    Put(0, "sub/visible.txt", "x");
    Put(0, ".profile", "x");
    ScanAndCompare(true);
    EXPECT_EQ(WayOf(".git/config"), -1);
    EXPECT_EQ(WayOf("sub/.hidden/x"), -1);
    EXPECT_EQ(WayOf(".profile"), -1);
    EXPECT_EQ(FolderWayOf(".git/"), -1);
    EXPECT_EQ(FolderWayOf("sub/.hidden/"), -1);
    EXPECT_EQ(WayOf("sub/visible.txt"), 1);
    EXPECT_EQ(FolderWayOf("sub/"), 1);

    ScanAndCompare(false);  // what a sync sees
    EXPECT_EQ(WayOf(".git/config"), 1);
    EXPECT_EQ(WayOf("sub/.hidden/x"), 1);
    EXPECT_EQ(FolderWayOf("sub/.hidden/"), 1);

    sync.Options.FilterDotFiles = false;  // the setting off: nothing is filtered
    ScanAndCompare(true);
    EXPECT_EQ(WayOf(".profile"), 1);
}

TEST_F(ScanCompareTest, EmptyRightGivesOnlyLeftEverywhere)
{
    Put(0, "a.txt", "a");
    Put(0, "d/e/f.txt", "f");
    ScanAndCompare();
    EXPECT_EQ(WayOf("a.txt"), 1);
    EXPECT_EQ(WayOf("d/e/f.txt"), 1);
    EXPECT_EQ(FolderWayOf("d/"), 1);
    EXPECT_EQ(FolderWayOf("d/e/"), 1);
    EXPECT_EQ(sync.m_arrFile.nVells(), 2);
}

TEST_F(ScanCompareTest, OnlyIdenticalNamesPair)
{
    Put(0, "Readme.md", "x");
    Put(1, "README.md", "x");
    Put(0, "same.md", "x");
    Put(1, "same.md", "x");
    Folder(1, "Docs");
    Folder(0, "docs");
    ScanAndCompare();
    EXPECT_EQ(WayOf("Readme.md"), 1);
    EXPECT_EQ(WayOf("README.md"), 4);
    EXPECT_EQ(WayOf("same.md"), 0);
    EXPECT_EQ(FolderWayOf("docs/"), 1);
    EXPECT_EQ(FolderWayOf("Docs/"), 4);
    EXPECT_EQ(sync.m_arrFile.vell(0).File(1), "README.md");  // case-insensitive order, capitals first on a tie
    EXPECT_EQ(sync.m_arrFile.vell(1).File(0), "Readme.md");
}

TEST_F(ScanCompareTest, NamesThatAreNotUtf8PairByTheirBytes)
{
    const std::string latin1 = "caf\xE9.txt";
    Put(0, latin1, "abc");
    Put(1, latin1, "abcd");
    Put(1, "caf\xC3\xA9.txt", "abc");
    ScanAndCompare();
    EXPECT_EQ(WayOf(latin1), 5);
    EXPECT_EQ(WayOf("caf\xC3\xA9.txt"), 4);
}

TEST_F(ScanCompareTest, LinksToFoldersAreNotFollowedAndLinksToFilesCount)
{
    Put(0, "real/file.txt", "x");
    ASSERT_EQ(symlink(m_left.c_str(), PathOf(0, "real/loop").c_str()), 0);  // a loop back to the root
    ASSERT_EQ(symlink("file.txt", PathOf(0, "real/alias.txt").c_str()), 0);
    ASSERT_EQ(symlink("missing", PathOf(0, "real/broken").c_str()), 0);
    ASSERT_EQ(mkfifo(PathOf(0, "real/pipe").c_str(), 0600), 0);
    ScanAndCompare();
    EXPECT_EQ(WayOf("real/file.txt"), 1);
    EXPECT_EQ(WayOf("real/alias.txt"), 1);
    EXPECT_EQ(WayOf("real/broken"), -1);
    EXPECT_EQ(WayOf("real/pipe"), -1);
    EXPECT_EQ(FolderWayOf("real/loop/"), -1);
    EXPECT_EQ(sync.m_arrFile.nVells(), 2);
}

TEST_F(ScanCompareTest, ScanReportsItsStepsInOrder)
{
    for (int i = 0; i < 30; ++i)
        Put(i % 2, "f" + std::to_string(i), "x");
    ScanAndCompare();
    EXPECT_EQ(host.captions, (std::vector<std::string>{"Searching for files from left folder...",
                                                       "Searching for files from right folder...",
                                                       "Analysing file info..."}));
    ASSERT_FALSE(host.progressValues.empty());
    EXPECT_EQ(host.progressValues.front(), 0);
    EXPECT_EQ(host.progressValues.back(), 100);
    // 30 items: one step at item 20 with the value 99 * 20 / 30 = 66.
    EXPECT_NE(std::find(host.progressValues.begin(), host.progressValues.end(), 66), host.progressValues.end());
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(ScanCompareTest, CancelAnsweredNoLetsTheScanFinish)
{
    for (int i = 0; i < 100; ++i)
        Put(0, "f" + std::to_string(i) + ".txt", "x");
    host.CancelAtTurn(2);  // the turn after the left side's caption
    host.answers = {false};
    ScanAndCompare();
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text, "Are you sure you wish to cancel this operation?");
    EXPECT_EQ(host.questions[0].icon, MB_ICONQUESTION);
    EXPECT_EQ(host.questions[0].kind, QuestionKind::CancelOperation);
    EXPECT_FALSE(sync.Cancel);
    EXPECT_EQ(sync.m_arrFile.nVells(), 100);
}

TEST_F(ScanCompareTest, CancelAnsweredYesEndsTheScan)
{
    for (int i = 0; i < 50; ++i)
        Put(1, "f" + std::to_string(i) + ".txt", "x");
    host.CancelAtTurn(1);
    host.answers = {true};
    ASSERT_TRUE(sync.checkFoldersValid());
    sync.progressBar = &host.ProgressBar();
    try {
        sync.ScanLocal(host.StatusLabel(), true);
        FAIL() << "the scan went on";
    } catch (const AppError& error) {
        EXPECT_EQ(error.Number, AppError::kCancelRequest);
    }
    EXPECT_EQ(sync.m_arrFile.nVells(), 0);
    EXPECT_FALSE(sync.Cancel);
}

TEST_F(ScanCompareTest, FolderCheck)
{
    host.SetFolders(m_left, m_left + "/");
    EXPECT_FALSE(sync.checkFoldersValid());
    ASSERT_EQ(symlink(m_left.c_str(), (m_temp / "alias").c_str()), 0);
    host.SetFolders(m_left, m_temp / "alias");
    EXPECT_FALSE(sync.checkFoldersValid());
    host.SetFolders(m_left, m_temp / "missing");
    EXPECT_FALSE(sync.checkFoldersValid());
    host.SetFolders(m_left, m_right);
    EXPECT_TRUE(sync.checkFoldersValid());
    EXPECT_EQ(sync.rootFolder[0], m_left + "/");
    EXPECT_EQ(sync.rootFolder[1], m_right + "/");

    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0].text, "Both selected folders are the same!");
    EXPECT_EQ(host.messages[0].icon, MB_ICONWARNING);
    EXPECT_EQ(host.messages[1].text, "Both selected folders are the same!");
    EXPECT_EQ(host.messages[2].text, "The folder " + (m_temp / "missing") + " does not exist or is a virtual folder");
    EXPECT_EQ(host.messages[2].icon, MB_ICONERROR);
    EXPECT_EQ(host.messages[2].caption, "Velloran");

    // In FTP mode the hidden right tree is neither checked nor compared.
    sync.modeFTP = true;
    host.SetFolders(m_left, m_left);
    EXPECT_TRUE(sync.checkFoldersValid());
}

}  // namespace
}  // namespace velloran::test
