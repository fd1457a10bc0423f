// StripBadNameChars and the placement/snapping arithmetic, called through
// the ordinal table like every caller does.
#include "utils/UtilsImport.h"

#include <gtest/gtest.h>

#include <cstring>
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

void ExpectBox(const WindowBox& b, int32_t left, int32_t top, int32_t width, int32_t height)
{
    EXPECT_EQ(b.left, left);
    EXPECT_EQ(b.top, top);
    EXPECT_EQ(b.width, width);
    EXPECT_EQ(b.height, height);
}

const AreaRect kScreen{0, 0, 1920, 1040};

TEST(PlaceBesideRect, PrefersTheRightSideCentredVertically)
{
    WindowBox w = Box(0, 0, 300, 201);
    const WindowBox p = Box(100, 100, 800, 600);
    utils::PlaceBesideRect(&w, &p, &kScreen);
    ExpectBox(w, 900, 100 + (600 - 201) / 2, 300, 201);
}

TEST(PlaceBesideRect, UsesTheLeftSideWhenTheRightIsFull)
{
    WindowBox w = Box(0, 0, 300, 200);
    const WindowBox p = Box(1000, 100, 800, 600);
    utils::PlaceBesideRect(&w, &p, &kScreen);
    ExpectBox(w, 700, 300, 300, 200);
    // The right side needs strictly more room than the window's width.
    w = Box(0, 0, 300, 200);
    const WindowBox exact = Box(820, 100, 800, 600);  // 820 + 800 + 300 == 1920
    utils::PlaceBesideRect(&w, &exact, &kScreen);
    EXPECT_EQ(w.left, 520);
}

TEST(PlaceBesideRect, WithoutRoomOnEitherSideOnlyPullsIntoTheArea)
{
    const WindowBox p = Box(200, 100, 1500, 600);
    WindowBox w = Box(1700, 50, 400, 300);
    utils::PlaceBesideRect(&w, &p, &kScreen);
    ExpectBox(w, 1520, 50, 400, 300);
    w = Box(-30, 900, 400, 300);
    utils::PlaceBesideRect(&w, &p, &kScreen);
    ExpectBox(w, 0, 740, 400, 300);
    w = Box(500, 400, 400, 300);
    utils::PlaceBesideRect(&w, &p, &kScreen);
    ExpectBox(w, 500, 400, 400, 300);
}

TEST(PlaceBesideRect, KeepsTheCentredWindowInsideVertically)
{
    WindowBox w = Box(0, 0, 300, 700);
    const WindowBox p = Box(100, 0, 500, 100);
    utils::PlaceBesideRect(&w, &p, &kScreen);
    ExpectBox(w, 600, 0, 300, 700);  // centring gave -300
    w = Box(0, 0, 300, 700);
    const WindowBox low = Box(100, 1000, 500, 100);
    utils::PlaceBesideRect(&w, &low, &kScreen);
    ExpectBox(w, 600, 340, 300, 700);
}

TEST(PlaceBesideRect, CentringHalvesTowardZero)
{
    WindowBox w = Box(0, 0, 100, 205);
    const WindowBox p = Box(0, 500, 100, 100);
    utils::PlaceBesideRect(&w, &p, &kScreen);
    EXPECT_EQ(w.top, 500 - 52);  // (100 - 205) / 2 == -52, not -53
}

TEST(SnapRectToRect, SnapsOnlyStrictlyWithinTheDistance)
{
    WindowBox w = Box(5, 300, 400, 300);
    utils::SnapRectToRect(&w, &kScreen, 12);
    EXPECT_EQ(w.left, 0);
    w = Box(12, 300, 400, 300);
    utils::SnapRectToRect(&w, &kScreen, 12);
    EXPECT_EQ(w.left, 12);
    w = Box(11, 300, 400, 300);
    utils::SnapRectToRect(&w, &kScreen, 12);
    EXPECT_EQ(w.left, 0);
    w = Box(-11, 300, 400, 300);
    utils::SnapRectToRect(&w, &kScreen, 12);
    EXPECT_EQ(w.left, 0);
    w = Box(0, 300, 400, 300);
    const WindowBox before = w;
    AreaRect offset{3, 3, 1920, 1040};
    utils::SnapRectToRect(&w, &offset, 0);  // a distance of 0 never snaps
    ExpectBox(w, before.left, before.top, before.width, before.height);
}

TEST(SnapRectToRect, SnapsToTheFarEdgesWhenTheNearOnesAreOutOfReach)
{
    WindowBox w = Box(1510, 735, 400, 300);  // 10 from the right, 5 from the bottom
    utils::SnapRectToRect(&w, &kScreen, 12);
    ExpectBox(w, 1520, 740, 400, 300);
    w = Box(1508, 728, 400, 300);  // exactly 12 from both
    utils::SnapRectToRect(&w, &kScreen, 12);
    ExpectBox(w, 1508, 728, 400, 300);
    w = Box(4, 6, 400, 300);
    utils::SnapRectToRect(&w, &kScreen, 12);
    ExpectBox(w, 0, 0, 400, 300);
}

TEST(SnapRectToEdges, DocksBelowAndAlignsTheLeftEdges)
{
    const WindowBox r = Box(100, 100, 400, 300);
    WindowBox w = Box(108, 405, 200, 150);
    utils::SnapRectToEdges(&w, &r, 12);
    ExpectBox(w, 100, 400, 200, 150);
    w = Box(292, 95 - 150, 200, 150);  // above, right edges 8 apart
    utils::SnapRectToEdges(&w, &r, 12);
    ExpectBox(w, 300, -50, 200, 150);
}

TEST(SnapRectToEdges, DocksBesideAndAlignsTopsOrBottoms)
{
    const WindowBox r = Box(100, 100, 400, 300);
    WindowBox w = Box(507, 110, 200, 150);
    utils::SnapRectToEdges(&w, &r, 12);
    ExpectBox(w, 500, 100, 200, 150);
    w = Box(-95, 255, 200, 150);  // left of r, bottoms 5 apart
    utils::SnapRectToEdges(&w, &r, 12);
    ExpectBox(w, -100, 250, 200, 150);
}

TEST(SnapRectToEdges, DistanceIsStrict)
{
    const WindowBox r = Box(100, 100, 400, 300);
    WindowBox w = Box(300, 412, 200, 150);  // 12 below
    utils::SnapRectToEdges(&w, &r, 12);
    ExpectBox(w, 300, 412, 200, 150);
    w = Box(300, 411, 200, 150);
    utils::SnapRectToEdges(&w, &r, 12);
    ExpectBox(w, 300, 400, 200, 150);
    w = Box(300, 401, 200, 150);
    utils::SnapRectToEdges(&w, &r, 0);
    ExpectBox(w, 300, 401, 200, 150);
}

TEST(SnapRectToEdges, IgnoresAWindowFartherAwayAlongTheOtherAxis)
{
    const WindowBox r = Box(100, 100, 400, 300);
    // The top edge is 5 from r's bottom, but the window lies 13 to the right.
    WindowBox w = Box(513, 405, 200, 150);
    utils::SnapRectToEdges(&w, &r, 12);
    ExpectBox(w, 513, 405, 200, 150);
    // Its left edge is 5 from r's right, but it lies 13 below r.
    w = Box(505, 413, 200, 150);
    utils::SnapRectToEdges(&w, &r, 12);
    ExpectBox(w, 505, 413, 200, 150);
    // Exactly the distance away along the other axis still counts.
    w = Box(512, 405, 200, 150);
    utils::SnapRectToEdges(&w, &r, 12);
    EXPECT_EQ(w.top, 400);
}

TEST(SnapRectToEdges, NearACornerDocksBothWays)
{
    const WindowBox r = Box(100, 100, 400, 300);
    WindowBox w = Box(505, 405, 200, 150);
    utils::SnapRectToEdges(&w, &r, 12);
    ExpectBox(w, 500, 400, 200, 150);
    // Along the docked side the edges line up: right edges 5 apart.
    w = Box(295, 403, 200, 150);
    utils::SnapRectToEdges(&w, &r, 12);
    ExpectBox(w, 300, 400, 200, 150);
}

}  // namespace
