// CSchedule: an entry fires once when its minute begins, and only when an
// earlier check saw it outside that minute; disabled entries never fire.
#include "classlib/misc/CSchedule.h"

#include <gtest/gtest.h>

#include <ctime>
#include <stdexcept>
#include <vector>

using quorvantell::CSchedule;
using quorvantell::DateTime;

namespace {

DateTime Local(std::time_t t)
{
    std::tm parts{};
    localtime_r(&t, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

struct ScheduleTest : testing::Test {
    CSchedule schedule;
    std::vector<int32_t> fired;
    const std::time_t now = std::time(nullptr);

    void SetUp() override
    {
        schedule.TimeUp = [this](int32_t index) { fired.push_back(index); };
    }

    // Checks every `step` seconds from `from` to `to` (inclusive).
    void CheckAcross(std::time_t from, std::time_t to, int step)
    {
        for (std::time_t t = from; t <= to; t += step)
            schedule.CheckAt(t);
    }
};

}  // namespace

TEST_F(ScheduleTest, EntryTwoMinutesAheadFiresExactlyOnceAcrossItsMinute)
{
    schedule.Init(3);
    schedule.SetItem(1, Local(now + 120));
    EXPECT_TRUE(schedule.Enabled(1));
    CheckAcross(now, now + 240, 5);
    EXPECT_EQ(fired, std::vector<int32_t>{1});
}

TEST_F(ScheduleTest, FiresAtTheFirstCheckInsideTheMinute)
{
    schedule.Init(1);
    schedule.SetItem(0, Local(now + 120));
    schedule.CheckAt(now + 119);
    EXPECT_TRUE(fired.empty());
    schedule.CheckAt(now + 120);
    EXPECT_EQ(fired, std::vector<int32_t>{0});
    schedule.CheckAt(now + 179);  // still inside: no second time
    schedule.CheckAt(now + 180);  // the minute is over
    EXPECT_EQ(fired.size(), 1u);
}

TEST_F(ScheduleTest, StartInsideTheCurrentMinuteNeverFires)
{
    schedule.Init(1);
    schedule.SetItem(0, Local(now - 10));
    CheckAcross(now, now + 49, 7);
    EXPECT_TRUE(fired.empty());
}

TEST_F(ScheduleTest, DisabledEntriesStayQuietAndNewEntriesAreDisabled)
{
    schedule.Init(2);
    EXPECT_FALSE(schedule.Enabled(0));
    EXPECT_FALSE(schedule.Enabled(1));
    schedule.SetItem(0, Local(now + 60));
    schedule.SetItem(1, Local(now + 60));
    schedule.SetEnabled(0, false);
    CheckAcross(now, now + 130, 10);
    EXPECT_EQ(fired, std::vector<int32_t>{1});
}

TEST_F(ScheduleTest, StartReadsBackAndCountsDown)
{
    schedule.Init(1);
    const DateTime start = Local(now + 3600);
    schedule.SetItem(0, start);
    EXPECT_EQ(schedule.Item(0), start);
    const int64_t left = schedule.SecondsLeft(0);
    EXPECT_LE(left, 3600);
    EXPECT_GT(left, 3500);
    schedule.SetItem(0, Local(now - 100));
    EXPECT_LT(schedule.SecondsLeft(0), 0);
}

TEST_F(ScheduleTest, IndexesOutsideTheListAreRefused)
{
    schedule.Init(2);
    EXPECT_THROW(schedule.Item(2), std::out_of_range);
    EXPECT_THROW(schedule.SetItem(-1, Local(now)), std::out_of_range);
    EXPECT_THROW(schedule.SetEnabled(5, true), std::out_of_range);
    schedule.Init(0);
    EXPECT_THROW(schedule.SecondsLeft(0), std::out_of_range);
    schedule.CheckAt(now);  // an empty schedule is fine to check
}
