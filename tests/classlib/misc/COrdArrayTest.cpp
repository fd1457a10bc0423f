// COrdArray ordering, search positions, duplicates and removal.
#include "classlib/misc/COrdArray.h"

#include <gtest/gtest.h>

#include <stdexcept>

using quorvantell::COrdArray;

namespace {

std::vector<std::string> Items(const COrdArray& a)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < a.Size(); ++i)
        out.push_back(a.Item(i));
    return out;
}

}  // namespace

TEST(COrdArray, CaseSensitiveOrderPutsCapitalsFirst)
{
    COrdArray a;
    a.Init(true, false);
    a.Add(1, "b");
    a.Add(2, "B");
    a.Add(3, "a");
    EXPECT_EQ(Items(a), (std::vector<std::string>{"a", "B", "b"}));
    EXPECT_EQ(a.Key(1), 2);
}

TEST(COrdArray, DuplicatesAndSearchPositions)
{
    COrdArray a;
    a.Init(false, true);
    int32_t pos = 0;
    EXPECT_FALSE(a.Find("x", pos));
    EXPECT_EQ(pos, 0);
    for (const char* v : {"delta", "alpha", "charlie", "bravo", "echo"})
        EXPECT_TRUE(a.Add(0, v));
    EXPECT_FALSE(a.Add(9, "CHARLIE"));  // equal ignoring case
    EXPECT_EQ(a.Size(), 5);
    EXPECT_TRUE(a.Find("charlie", pos));
    EXPECT_EQ(pos, 2);
    EXPECT_FALSE(a.Find("coffee", pos));
    EXPECT_EQ(pos, 3);
    EXPECT_FALSE(a.Find("zulu", pos));
    EXPECT_EQ(pos, 5);
    EXPECT_FALSE(a.Find("aardvark", pos));
    EXPECT_EQ(pos, 0);

    COrdArray dup;
    dup.Init(false, false);
    dup.Add(1, "same");
    EXPECT_TRUE(dup.Add(2, "same"));
    EXPECT_EQ(dup.Size(), 2);
}

TEST(COrdArray, StaysSortedThroughManyInsertionsAndRemovals)
{
    COrdArray a;
    a.Init(true, true);
    for (int i = 0; i < 120; ++i)
        a.Add(i, "k" + std::to_string((i * 37) % 120));
    EXPECT_EQ(a.Size(), 120);
    for (int i = 0; i < 120; i += 2)
        a.Remove("k" + std::to_string(i));
    a.Remove("absent");
    EXPECT_EQ(a.Size(), 60);
    for (int32_t i = 1; i < a.Size(); ++i)
        EXPECT_LT(a.Item(i - 1), a.Item(i));  // same order as bytes for these names
    a.RemovePos(0);
    EXPECT_EQ(a.Size(), 59);
    a.SetKey(0, 77);
    EXPECT_EQ(a.Key(0), 77);
}

TEST(COrdArray, PositionsOutsideTheArrayRaiseOutOfRange)
{
    COrdArray a;
    a.Init(false, false);
    EXPECT_THROW(a.Item(0), std::out_of_range);
    a.Add(5, "only");
    for (int32_t bad : {-1, 1, INT32_MIN, INT32_MAX}) {
        EXPECT_THROW(a.Item(bad), std::out_of_range) << bad;
        EXPECT_THROW(a.Key(bad), std::out_of_range) << bad;
        EXPECT_THROW(a.SetKey(bad, 9), std::out_of_range) << bad;
        EXPECT_THROW(a.RemovePos(bad), std::out_of_range) << bad;
    }
    EXPECT_EQ(a.Size(), 1);
    EXPECT_EQ(a.Key(0), 5);
}
