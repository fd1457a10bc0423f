// StripBadNameChars and the placement/snapping arithmetic, called through
// the ordinal table like every caller does.
#include "utils/UtilsImport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>

namespace {

using namespace quorvantell;

std::string Strip(std::string text, int32_t length, int32_t* result = nullptr)
{
    text.push_back('\0');
    const int32_t r = utils::StripBadNameChars(text.data(), length);
    if (result != nullptr)
        *result = r;
    return text.c_str();
}

TEST(StripBadNameChars, RemovesTheNineCharactersAndReturnsTwiceTheLength)
{
    int32_t result = 0;
    EXPECT_EQ(Strip("a:b?c", 5, &result), "abc");
    EXPECT_EQ(result, 10);
    EXPECT_EQ(Strip("\\/:*?\"<>|", 9), "");
    EXPECT_EQ(Strip("report (1) - final.txt", 22), "report (1) - final.txt");
    EXPECT_EQ(Strip("", 0, &result), "");
    EXPECT_EQ(result, 0);
}

TEST(StripBadNameChars, KeepsMultibyteCharacters)
{
    // U+213A is E2 84 BA in UTF-8, U+FF1A (fullwidth colon) EF BC 9A.
    const std::string text = "x\xE2\x84\xBA:\xEF\xBC\x9A?\xC3\xA9";
    EXPECT_EQ(Strip(text, static_cast<int32_t>(text.size())), "x\xE2\x84\xBA\xEF\xBC\x9A\xC3\xA9");
}

TEST(StripBadNameChars, MovesTheTerminatorAndLeavesBytesBeyondIt)
{
    char buffer[] = "a|b\0XYZ";
    utils::StripBadNameChars(buffer, 3);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(std::memcmp(buffer, "ab\0\0XYZ", 7), 0);
}

WindowBox Box(int32_t left, int32_t top, int32_t width, int32_t height)
{
    return {left, top, width, height};
}

const AreaRect kScreen{0, 0, 1920, 1040};
const WindowBox kReference = Box(100, 100, 400, 300);  // right edge 500, bottom 400

WindowBox Placed(WindowBox w, const WindowBox& reference)
{
    utils::PlaceBesideRect(&w, &reference, &kScreen);
    return w;
}

WindowBox SnappedToScreen(WindowBox w, int32_t distance = 12, const AreaRect& area = kScreen)
{
    utils::SnapRectToRect(&w, &area, distance);
    return w;
}

WindowBox Docked(WindowBox w, int32_t distance = 12)
{
    utils::SnapRectToEdges(&w, &kReference, distance);
    return w;
}

}  // namespace

namespace quorvantell {

bool operator==(const WindowBox& a, const WindowBox& b)
{
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

void PrintTo(const WindowBox& b, std::ostream* out)
{
    *out << "{" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << "}";
}

}  // namespace quorvantell

namespace {

TEST(PlaceBesideRect, PrefersTheRightSideCentredVertically)
{
    EXPECT_EQ(Placed(Box(0, 0, 300, 201), Box(100, 100, 800, 600)), Box(900, 100 + (600 - 201) / 2, 300, 201));
}

TEST(PlaceBesideRect, UsesTheLeftSideWhenTheRightIsFull)
{
    EXPECT_EQ(Placed(Box(0, 0, 300, 200), Box(1000, 100, 800, 600)), Box(700, 300, 300, 200));
    // The right side needs strictly more room than the window's width:
    // 820 + 800 + 300 == 1920.
    EXPECT_EQ(Placed(Box(0, 0, 300, 200), Box(820, 100, 800, 600)), Box(520, 300, 300, 200));
}

TEST(PlaceBesideRect, WithoutRoomOnEitherSideOnlyPullsIntoTheArea)
{
    const WindowBox wide = Box(200, 100, 1500, 600);
    EXPECT_EQ(Placed(Box(1700, 50, 400, 300), wide), Box(1520, 50, 400, 300));
    EXPECT_EQ(Placed(Box(-30, 900, 400, 300), wide), Box(0, 740, 400, 300));
    EXPECT_EQ(Placed(Box(500, 400, 400, 300), wide), Box(500, 400, 400, 300));
}

TEST(PlaceBesideRect, KeepsTheCentredWindowInsideVertically)
{
    EXPECT_EQ(Placed(Box(0, 0, 300, 700), Box(100, 0, 500, 100)), Box(600, 0, 300, 700));  // centring gave -300
    EXPECT_EQ(Placed(Box(0, 0, 300, 700), Box(100, 1000, 500, 100)), Box(600, 340, 300, 700));
}

TEST(PlaceBesideRect, CentringHalvesTowardZero)
{
    // (100 - 205) / 2 is -52, not -53.
    EXPECT_EQ(Placed(Box(0, 0, 100, 205), Box(0, 500, 100, 100)).top, 500 - 52);
}

TEST(SnapRectToRect, SnapsOnlyStrictlyWithinTheDistance)
{
    EXPECT_EQ(SnappedToScreen(Box(5, 300, 400, 300)), Box(0, 300, 400, 300));
    EXPECT_EQ(SnappedToScreen(Box(12, 300, 400, 300)), Box(12, 300, 400, 300));
    EXPECT_EQ(SnappedToScreen(Box(11, 300, 400, 300)), Box(0, 300, 400, 300));
    EXPECT_EQ(SnappedToScreen(Box(-11, 300, 400, 300)), Box(0, 300, 400, 300));
    // A distance of 0 never snaps, not even a window 0 away.
    EXPECT_EQ(SnappedToScreen(Box(3, 3, 400, 300), 0, AreaRect{3, 3, 1920, 1040}), Box(3, 3, 400, 300));
}

TEST(SnapRectToRect, SnapsToTheFarEdgesWhenTheNearOnesAreOutOfReach)
{
    // 10 from the right, 5 from the bottom; then exactly 12 from both.
    EXPECT_EQ(SnappedToScreen(Box(1510, 735, 400, 300)), Box(1520, 740, 400, 300));
    EXPECT_EQ(SnappedToScreen(Box(1508, 728, 400, 300)), Box(1508, 728, 400, 300));
    EXPECT_EQ(SnappedToScreen(Box(4, 6, 400, 300)), Box(0, 0, 400, 300));
}

TEST(SnapRectToEdges, DocksBelowOrAboveAndAlignsLeftOrRightEdges)
{
    EXPECT_EQ(Docked(Box(108, 405, 200, 150)), Box(100, 400, 200, 150));
    EXPECT_EQ(Docked(Box(292, -55, 200, 150)), Box(300, -50, 200, 150));  // above, right edges 8 apart
}

TEST(SnapRectToEdges, DocksBesideAndAlignsTopsOrBottoms)
{
    EXPECT_EQ(Docked(Box(507, 110, 200, 150)), Box(500, 100, 200, 150));
    EXPECT_EQ(Docked(Box(-95, 255, 200, 150)), Box(-100, 250, 200, 150));  // left, bottoms 5 apart
}

TEST(SnapRectToEdges, DistanceIsStrict)
{
    EXPECT_EQ(Docked(Box(300, 412, 200, 150)), Box(300, 412, 200, 150));
    EXPECT_EQ(Docked(Box(300, 411, 200, 150)), Box(300, 400, 200, 150));
    EXPECT_EQ(Docked(Box(300, 401, 200, 150), 0), Box(300, 401, 200, 150));
}

TEST(SnapRectToEdges, IgnoresAWindowFartherAwayAlongTheOtherAxis)
{
    // The top edge is 5 from the reference's bottom, but the window lies 13
    // to the right; then the left edge is 5 from its right, but 13 below.
    EXPECT_EQ(Docked(Box(513, 405, 200, 150)), Box(513, 405, 200, 150));
    EXPECT_EQ(Docked(Box(505, 413, 200, 150)), Box(505, 413, 200, 150));
    // Exactly the distance away along the other axis still counts.
    EXPECT_EQ(Docked(Box(512, 405, 200, 150)), Box(512, 400, 200, 150));
}

TEST(SnapRectToEdges, NearACornerDocksBothWays)
{
    EXPECT_EQ(Docked(Box(505, 405, 200, 150)), Box(500, 400, 200, 150));
    // Along the docked side the edges line up: right edges 5 apart.
    EXPECT_EQ(Docked(Box(295, 403, 200, 150)), Box(300, 400, 200, 150));
}

}  // namespace
