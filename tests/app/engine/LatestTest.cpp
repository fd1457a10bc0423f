// The latest-timestamp survey: its report text and the 2-second band.
#include "tests/app/support/EngineFixture.h"

#include "classlib/general/CGeneral.h"

namespace velloran::test {
namespace {

class LatestTest : public EngineFixture {
protected:
    void SetUp() override { ASSERT_TRUE(sync.checkFoldersValid()); }
    std::string Report()
    {
        EXPECT_TRUE(sync.GetLatest());
        EXPECT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages.back().icon, quorvantell::MB_ICONINFORMATION);
        return host.messages.empty() ? std::string() : host.messages.back().text;
    }
    static std::string Date(int64_t raw) { return quorvantell::CGeneral().FileTimeToDate(raw).ToString(); }
};

TEST_F(LatestTest, BothSidesEmpty)
{
    EXPECT_EQ(Report(), "There are no files on the left\r\n\r\nThere are no files on the right\r\n\r\n"
                        "Both sides are the same");
    EXPECT_EQ(host.progressValues.back(), 0);
    EXPECT_EQ(host.captions.back(), "");
}

TEST_F(LatestTest, OnlyTheLeftHasFiles)
{
    Put(0, "d/new.txt", "x", kBaseTime);
    Put(0, "old.txt", "x", kBaseTime - kMinute);
    EXPECT_EQ(Report(), "The newest file on the left is \r\nd/new.txt\r\nmodified " + Date(kBaseTime) +
                            "\r\n\r\nThere are no files on the right\r\n\r\nThe newest side is the left");
}

TEST_F(LatestTest, CloseTimesCountAsTheSame)
{
    Put(0, "a", "x", kBaseTime);
    Put(1, "b", "x", kBaseTime + 1500 * kMs);
    EXPECT_TRUE(Report().ends_with("Both sides are the same"));
}

TEST_F(LatestTest, OffsetAndFilterApply)
{
    sync.Options.LeftTimeOffset = -60;
    sync.Options.FilterDotFiles = true;
    Put(0, "work.txt", "x", kBaseTime + 30 * kMinute);  // 10:30 competes as 09:30
    Put(0, ".git/index", "x", kBaseTime + 120 * kMinute);
    Put(1, "other.txt", "x", kBaseTime);
    const std::string report = Report();
    EXPECT_NE(report.find("work.txt\r\nmodified " + Date(kBaseTime - 30 * kMinute)), std::string::npos);
    EXPECT_TRUE(report.ends_with("The newest side is the right"));
}

TEST_F(LatestTest, CancelShowsCancelledByUser)
{
    for (int i = 0; i < 40; ++i)
        Put(0, "f" + std::to_string(i), "x");
    host.CancelAtTurn(1);
    host.answers = {true};
    EXPECT_FALSE(sync.GetLatest());
    EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Cancelled by user."});
    EXPECT_EQ(host.captions.back(), "");
}

}  // namespace
}  // namespace velloran::test
