// CSeparation and CStrSeparation: fixed rings of the most recently added
// values, the oldest overwritten.
#include "classlib/misc/CSeparation.h"
#include "classlib/misc/CStrSeparation.h"

#include <gtest/gtest.h>

using quorvantell::CSeparation;
using quorvantell::CStrSeparation;

TEST(CStrSeparation, RingOfTwoForgetsTheOldest)
{
    CStrSeparation ring;
    ring.SetSize(2);
    ring.Add("a");
    ring.Add("b");
    ring.Add("c");
    EXPECT_FALSE(ring.Find("a"));
    EXPECT_TRUE(ring.Find("b"));
    EXPECT_TRUE(ring.Find("c"));
    ring.Add("d");  // the write position wrapped: b goes
    EXPECT_FALSE(ring.Find("b"));
    EXPECT_TRUE(ring.Find("c"));
    EXPECT_TRUE(ring.Find("d"));
}

TEST(CStrSeparation, ComparesExactlyAndNeverFindsUnusedSlots)
{
    CStrSeparation ring;
    ring.SetSize(3);
    EXPECT_FALSE(ring.Find(""));  // empty slots hold "" but are unused
    ring.Add("Name");
    EXPECT_FALSE(ring.Find("name"));
    EXPECT_TRUE(ring.Find("Name"));
    ring.Add("");
    EXPECT_TRUE(ring.Find(""));
}

TEST(CStrSeparation, ClearAndResizeEmptyTheRing)
{
    CStrSeparation ring;
    ring.SetSize(2);
    ring.Add("a");
    ring.Clear();
    EXPECT_FALSE(ring.Find("a"));
    EXPECT_EQ(ring.Size(), 2);
    ring.Add("b");
    ring.SetSize(4);
    EXPECT_EQ(ring.Size(), 4);
    EXPECT_FALSE(ring.Find("b"));
}

TEST(CStrSeparation, WithoutSlotsNothingIsKept)
{
    CStrSeparation ring;
    EXPECT_EQ(ring.Size(), 0);
    ring.Add("a");
    EXPECT_FALSE(ring.Find("a"));
    ring.SetSize(1);
    ring.Add("a");
    ring.SetSize(0);
    EXPECT_EQ(ring.Size(), 0);
    EXPECT_FALSE(ring.Find("a"));
}

TEST(CSeparation, RingOfIntegers)
{
    CSeparation ring;
    ring.SetSize(3);
    EXPECT_FALSE(ring.Find(0));
    for (int32_t value : {1, 2, 3, 4})
        ring.Add(value);
    EXPECT_FALSE(ring.Find(1));
    EXPECT_TRUE(ring.Find(2));
    EXPECT_TRUE(ring.Find(4));
    ring.Clear();
    EXPECT_FALSE(ring.Find(4));
    ring.Add(0);
    EXPECT_TRUE(ring.Find(0));
}
