// The pair records and the sorted pair list: insertion and merging, the
// binary search's results, bulk loading against one-by-one adds, and
// records that refer into their list.
#include "app/engine/CVellList.h"
#include "app/engine/NameOrder.h"
#include "app/engine/ScanBatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

namespace velloran {
namespace {

CVell Transfer(int32_t side, const std::string& name, int64_t date = 0, int64_t size = 0)
{
    CVell vell;
    vell.SetFile(side, name);
    vell.SetFileDate(side, date);
    vell.SetSize(side, size);
    return vell;
}

std::vector<std::string> Keys(CVellList& list)
{
    std::vector<std::string> keys;
    for (int32_t i = 0; i < list.nVells(); ++i) {
        CVell v = list.vell(i);
        keys.push_back(v.File(0) + "|" + v.File(1));
    }
    return keys;
}

TEST(CVellListTest, RightNamesJoinOnlyIdenticalLeftNames)
{
    CVellList list;
    list.Add(Transfer(0, "b.txt"), 0);
    list.Add(Transfer(0, "a.txt", 5, 7), 0);
    list.Add(Transfer(1, "A.TXT"), 1);
    list.Add(Transfer(1, "c.txt"), 1);
    list.Add(Transfer(1, "b.txt", 9, 11), 1);
    // Case-insensitive order, but A.TXT and a.txt are two files here.
    EXPECT_EQ(Keys(list), (std::vector<std::string>{"|A.TXT", "a.txt|", "b.txt|b.txt", "|c.txt"}));
    CVell b = list.vell(2);
    EXPECT_EQ(b.FileDate(1), 9);
    EXPECT_EQ(b.Size(1), 11);
    EXPECT_EQ(list.vell(1).Size(0), 7);
}

TEST(CVellListTest, RightOnlyNamesSortAmongTheOthers)
{
    CVellList list;
    for (const char* name : {"d", "b", "f"})
        list.Add(Transfer(0, name), 0);
    for (const char* name : {"e", "a", "c", "g"})
        list.Add(Transfer(1, name), 1);
    EXPECT_EQ(Keys(list), (std::vector<std::string>{"|a", "b|", "|c", "d|", "|e", "f|", "|g"}));
}

TEST(CVellListTest, FindOnEmptyAndOneRecordLists)
{
    CVellList list;
    int32_t pos = 99;
    EXPECT_FALSE(list.Find("x", 0, pos));
    EXPECT_EQ(pos, 0);

    list.Add(Transfer(0, "m"), 0);
    EXPECT_TRUE(list.Find("m", 0, pos));
    EXPECT_EQ(pos, 0);
    EXPECT_FALSE(list.Find("m", 1, pos));  // found, but no right-side name
    EXPECT_EQ(pos, 0);
    EXPECT_FALSE(list.Find("a", 0, pos));
    EXPECT_EQ(pos, 0);
    EXPECT_FALSE(list.Find("z", 0, pos));
    EXPECT_EQ(pos, 1);
}

TEST(CVellListTest, FindGivesTheInsertPositionEverywhere)
{
    CVellList list;
    for (int i = 0; i < 9; ++i)
        list.Add(Transfer(0, std::string(1, static_cast<char>('b' + 2 * i))), 0);  // b d f ... r
    for (int i = 0; i < 9; ++i) {
        int32_t pos = -1;
        EXPECT_TRUE(list.Find(std::string(1, static_cast<char>('b' + 2 * i)), 0, pos));
        EXPECT_EQ(pos, i);
        EXPECT_FALSE(list.Find(std::string(1, static_cast<char>('a' + 2 * i)), 0, pos));
        EXPECT_EQ(pos, i);
    }
    int32_t pos = -1;
    EXPECT_FALSE(list.Find("z", 0, pos));
    EXPECT_EQ(pos, 9);
}

TEST(CVellListTest, GrowthKeepsRecordsAndOrder)
{
    CVellList list;
    std::vector<std::string> names;
    for (int i = 0; i < 250; ++i)
        names.push_back("f" + std::to_string((i * 7919) % 250));
    for (const auto& name : names)
        list.Add(Transfer(0, name, 1, static_cast<int64_t>(name.size())), 0);
    ASSERT_EQ(list.nVells(), 250);
    for (int32_t i = 1; i < list.nVells(); ++i)
        EXPECT_LT(NameOrder::Compare(list.vell(i - 1).File(0), list.vell(i).File(0)), 0);
    EXPECT_EQ(list.vell(101).Size(0), static_cast<int64_t>(list.vell(101).File(0).size()));
}

TEST(CVellListTest, SyncCopiesTheMasterSideAndClearsTheVerdict)
{
    CVell own = Transfer(0, "x", 1234, 5);
    own.SetSyncWay(1);
    own.Sync(0);
    EXPECT_EQ(own.File(1), "x");
    EXPECT_EQ(own.FileDate(1), 1234);
    EXPECT_EQ(own.Size(1), 5);
    EXPECT_EQ(own.syncWay(), 0);

    CVellList list;
    list.Add(Transfer(1, "only-right", 77, 8), 1);
    CVell listed = list.vell(0);
    listed.SetSyncWay(4);
    listed.Sync(1);
    EXPECT_EQ(list.vell(0).File(0), "only-right");
    EXPECT_EQ(list.vell(0).FileDate(0), 77);
    EXPECT_EQ(list.vell(0).syncWay(), 0);
}

TEST(CVellListTest, CopyTakesOneSideOnly)
{
    CVell target = Transfer(1, "keep", 3, 4);
    target.SetSyncWay(5);
    target.Copy(Transfer(0, "new", 8, 9), 0);
    EXPECT_EQ(target.File(0), "new");
    EXPECT_EQ(target.File(1), "keep");
    EXPECT_EQ(target.syncWay(), 5);
}

TEST(CVellListTest, ListRecordsAreViewsOfTheList)
{
    CVellList list;
    list.Add(Transfer(0, "b"), 0);
    CVell b = list.vell(0);
    list.Add(Transfer(0, "a"), 0);  // b moves to position 1, the view follows it
    b.SetSize(0, 42);
    EXPECT_EQ(list.vell(1).Size(0), 42);
    EXPECT_EQ(b.owner(), &list);
    EXPECT_EQ(CVell().owner(), nullptr);
    list.ReIndex();
    EXPECT_EQ(list.vell(0).idx(), 0);
    EXPECT_EQ(b.idx(), 1);
    list.Clear();
    EXPECT_EQ(list.nVells(), 0);
    EXPECT_THROW(b.File(0), std::out_of_range);
    EXPECT_THROW(list.vell(0), std::out_of_range);
    EXPECT_THROW(CVell().File(2), std::out_of_range);
}

// Random names, case variants and bytes that are not UTF-8: the bulk load
// must give exactly the list that one Add per name gives.
TEST(CVellListTest, LoadEqualsOneAddPerName)
{
    std::mt19937 random(7);
    const std::vector<std::string> pieces = {"a", "A", "b", "B", "_", "0", "z", "sub/", "\xC3\xA9", "\xC3\x89",
                                             "\xFF", "\xE2\x82", "~", ".", "k", "\xE2\x84\xAA"};
    const auto makeName = [&] {
        std::string name;
        const int length = 1 + static_cast<int>(random() % 5);
        for (int i = 0; i < length; ++i)
            name += pieces[random() % pieces.size()];
        return name;
    };
    std::vector<std::string> leftNames, rightNames;
    for (int i = 0; i < 400; ++i)
        leftNames.push_back(makeName());
    for (int i = 0; i < 400; ++i)
        rightNames.push_back(i % 3 == 0 ? leftNames[random() % leftNames.size()] : makeName());
    for (auto* names : {&leftNames, &rightNames}) {
        std::sort(names->begin(), names->end());
        names->erase(std::unique(names->begin(), names->end()), names->end());
        std::shuffle(names->begin(), names->end(), random);
    }

    CVellList added;
    ScanBatch left, right;
    for (size_t i = 0; i < leftNames.size(); ++i) {
        added.Add(Transfer(0, leftNames[i], static_cast<int64_t>(i), 1), 0);
        left.Add(leftNames[i], static_cast<int64_t>(i), 1);
    }
    for (size_t i = 0; i < rightNames.size(); ++i) {
        added.Add(Transfer(1, rightNames[i], static_cast<int64_t>(i), 2), 1);
        right.Add(rightNames[i], static_cast<int64_t>(i), 2);
    }
    left.Sort();
    right.Sort();
    CVellList loaded;
    loaded.Load(left, right);

    ASSERT_EQ(loaded.nVells(), added.nVells());
    for (int32_t i = 0; i < added.nVells(); ++i) {
        CVell a = added.vell(i), b = loaded.vell(i);
        for (int32_t side = 0; side <= 1; ++side) {
            EXPECT_EQ(a.File(side), b.File(side)) << "position " << i;
            EXPECT_EQ(a.FileDate(side), b.FileDate(side));
            EXPECT_EQ(a.Size(side), b.Size(side));
        }
    }
    // Records made by Load take single adds like any other.
    loaded.Add(Transfer(1, leftNames[0], -1, -1), 1);
    int32_t pos = -1;
    ASSERT_TRUE(loaded.Find(leftNames[0], 1, pos));
    EXPECT_EQ(loaded.vell(pos).FileDate(1), -1);
}

TEST(NameOrderTest, CaseInsensitiveFirstThenBytes)
{
    EXPECT_LT(NameOrder::Compare("a.txt", "B.txt"), 0);
    EXPECT_LT(NameOrder::Compare("B.txt", "c.txt"), 0);
    EXPECT_LT(NameOrder::Compare("A.TXT", "a.txt"), 0);
    EXPECT_GT(NameOrder::Compare("a.txt", "A.TXT"), 0);
    EXPECT_EQ(NameOrder::Compare("a.txt", "a.txt"), 0);
    EXPECT_LT(NameOrder::Compare("a1", "A2"), 0);  // the letters' case decides only a tie
    EXPECT_LT(NameOrder::Compare("ab", "abc"), 0);
    EXPECT_LT(NameOrder::Compare("sub/", "sub/x/"), 0);
    EXPECT_NE(NameOrder::Compare("\xFF", "\xFE"), 0);
}

}  // namespace
}  // namespace velloran
