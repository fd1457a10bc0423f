// Filling the details lists from real folders: rows, keys, state images,
// placeholders and their colours, the status texts, cancelling.
#include "app/engine/IDetailsWindow.h"
#include "tests/app/support/EngineFixture.h"

#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"

#include <map>

namespace velloran::test {
namespace {

struct Row {
    std::string key, name, size, modified, tag, icon;
    int32_t stateImage = 0;
    bool shaded = false;
};

// A details list that keeps its rows in order.
class RecordingList : public IDetailsList {
public:
    void Clear() override { rows.clear(); }
    void PreAllocate(int32_t) override {}
    void AddItem(const std::string& key, const std::string& name, const std::string& size,
                 const std::string& modified) override
    {
        rows.push_back(Row{key, name, size, modified, "", ""});
    }
    void SetSortValues(const std::string&, int64_t, int64_t) override {}
    void SetTag(const std::string& key, const std::string& tag) override { Find(key).tag = tag; }
    void SetFileIcon(const std::string& key, const std::string& path) override { Find(key).icon = "file:" + path; }
    void SetFileIconByExt(const std::string& key, const std::string& name) override { Find(key).icon = "ext:" + name; }
    std::string Icon(const std::string& key) const override
    {
        for (const Row& row : rows)
            if (row.key == key)
                return row.icon;
        return {};
    }
    void SetIcon(const std::string& key, const std::string& icon) override { Find(key).icon = icon; }
    void SetStateImage(const std::string& key, int32_t image) override { Find(key).stateImage = image; }
    void SetState(const std::string& key, uint32_t, uint32_t) override { Find(key).shaded = true; }
    int32_t Count() const override { return static_cast<int32_t>(rows.size()); }
    void SelectFirst() override { selectedFirst = !rows.empty(); }

    Row& Find(const std::string& key)
    {
        for (Row& row : rows)
            if (row.key == key)
                return row;
        ADD_FAILURE() << "no row " << key;
        return rows.emplace_back();
    }

    std::vector<Row> rows;
    bool selectedFirst = false;
};

class RecordingDetails : public IDetailsWindow {
public:
    explicit RecordingDetails(RecordingHost& host) : m_host(host) {}
    IDetailsList& List(int32_t index) override { return lists[index]; }
    IStatusLabel& StatusLabel() override { return m_host.StatusLabel(); }
    IProgressControl& ProgressBar() override { return m_host.ProgressBar(); }
    void SetFolderCaption(int32_t side, const std::string& text) override { captions[side] = text; }
    void EnableSync(bool enabled) override { syncEnabled = enabled; }
    void SetCloseCaption(const std::string& caption) override { closeCaption = caption; }
    void RestoreIfMinimised() override {}
    void ShowCover(bool) override {}
    void Unload() override { unloaded = true; }

    RecordingList lists[2];
    std::string captions[2];
    bool syncEnabled = false;
    std::string closeCaption;
    bool unloaded = false;

private:
    RecordingHost& m_host;
};

class PopulateListTest : public EngineFixture {
protected:
    void SetUp() override { ASSERT_TRUE(sync.checkFoldersValid()); }
    std::string Status() const { return host.captions.empty() ? "" : host.captions.back(); }
    RecordingDetails details{host};
};

TEST_F(PopulateListTest, IdenticalTrees)
{
    for (int side = 0; side <= 1; ++side) {
        Put(side, "a.txt", "a");
        Put(side, "sub/b.txt", "b");
    }
    sync.PopulateList(details, true);
    EXPECT_EQ(Status(), "No differences found.");
    EXPECT_FALSE(details.syncEnabled);
    EXPECT_TRUE(details.lists[0].rows.empty());
    EXPECT_EQ(details.closeCaption, "&Close");
    EXPECT_FALSE(sync.detailsRunning);

    sync.PopulateList(details, false);
    EXPECT_EQ(Status(), "Done.");
    EXPECT_TRUE(details.syncEnabled);
    for (const RecordingList& list : details.lists) {
        ASSERT_EQ(list.rows.size(), 3u);  // sub/, then the files
        EXPECT_EQ(list.rows[0].key, "D0");
        EXPECT_EQ(list.rows[0].tag, "D");
        EXPECT_EQ(list.rows[1].name, "a.txt");
        EXPECT_EQ(list.rows[1].size, "1 bytes");
        EXPECT_FALSE(list.rows[1].modified.empty());
        for (const Row& row : list.rows)
            EXPECT_EQ(row.stateImage, 0);
        EXPECT_TRUE(list.selectedFirst);
    }
    EXPECT_EQ(details.captions[0], sync.rootFolder[0]);
    EXPECT_EQ(details.captions[1], sync.rootFolder[1]);
}

// Each kind of difference: the rows, their state images on both sides and
// the dimmed placeholder with the present side's name and icon.
TEST_F(PopulateListTest, DifferencesAndPlaceholders)
{
    Put(0, "left-only.txt", "l");
    Put(0, "newer-right.txt", "n", kBaseTime);
    Put(1, "newer-right.txt", "n", kBaseTime + kMinute);
    Folder(1, "right-folder");
    sync.Options.ShowOneSidedDetails = false;
    sync.PopulateList(details, true);
    const std::vector<Row>& left = details.lists[0].rows;
    const std::vector<Row>& right = details.lists[1].rows;
    ASSERT_EQ(left.size(), 3u);
    ASSERT_EQ(right.size(), 3u);
    // The folder only on the right, with its placeholder on the left.
    EXPECT_EQ(right[0].name, "right-folder/");
    EXPECT_EQ(right[0].stateImage, 1);
    EXPECT_EQ(left[0].stateImage, 2);
    EXPECT_TRUE(left[0].shaded);
    EXPECT_EQ(left[0].icon, right[0].icon);
    // The left-only file shows no size or date with ShowOneSidedDetails off.
    EXPECT_EQ(left[1].name, "left-only.txt");
    EXPECT_EQ(left[1].size, "");
    EXPECT_EQ(left[1].stateImage, 1);
    EXPECT_EQ(right[1].name, "left-only.txt");
    EXPECT_EQ(right[1].stateImage, 2);
    EXPECT_TRUE(right[1].shaded);
    // Newer on the right: image 4 on both rows, each with its own size.
    EXPECT_EQ(left[2].stateImage, 4);
    EXPECT_EQ(right[2].stateImage, 4);
    EXPECT_EQ(left[2].key, right[2].key);
    EXPECT_NE(left[2].modified, right[2].modified);
    EXPECT_EQ(Status(), "Done.");
}

TEST_F(PopulateListTest, DotFileNoteOnTheStatusLine)
{
    Put(0, ".hidden", "h");
    Put(0, "shown.txt", "s");
    sync.Options.FilterDotFiles = true;
    sync.PopulateList(details, true);
    EXPECT_EQ(Status(), "Done.  Files beginning with '.' are not shown but will be sync'ed");
    EXPECT_EQ(details.lists[0].rows.size(), 1u);
}

// Cancelling during the scan ends with "Cancelled by user." and closes the
// window; cancelling while the rows are added keeps what was listed.
TEST_F(PopulateListTest, Cancelling)
{
    for (int i = 0; i < 100; ++i)
        Put(0, "f" + std::to_string(100 + i), "x");
    // A full run first: its last turns are those of the filling (one after
    // the status text, then one every 15 pairs).
    RecordingDetails full(host);
    sync.PopulateList(full, false);
    const int turns = host.turns;
    RecordingDetails filling(host);
    host.CancelAtTurn(2 * turns - 3);
    host.answers = {true};
    sync.PopulateList(filling, false);
    EXPECT_FALSE(filling.unloaded);
    EXPECT_LT(filling.lists[0].rows.size(), 100u);
    EXPECT_EQ(Status(), "Cancelled by user.");
    EXPECT_EQ(filling.closeCaption, "&Close");

    RecordingDetails scanning(host);
    host.CancelAtTurn(host.turns + 1);
    host.answers = {true};
    sync.PopulateList(scanning, false);
    EXPECT_TRUE(scanning.unloaded);
    EXPECT_FALSE(sync.detailsRunning);
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Cancelled by user."});
}

}  // namespace
}  // namespace velloran::test
