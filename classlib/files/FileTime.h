// Raw file times: 100-nanosecond ticks since 1601-01-01 UTC, converted
// exactly to and from the POSIX timespec. A time outside what 64 bits of
// ticks can hold (beyond the year 30,828, or long before 1601) is clamped to
// the nearest end, and so are sums and differences of times, so a file
// stamped far in the future compares as the newest instead of overflowing.
#pragma once

#include <cstdint>
#include <ctime>
#include <limits>

namespace quorvantell {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kTicksPerMillisecond = 10'000;
constexpr int64_t kTicksPerMinute = 60 * kTicksPerSecond;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kEpochDifferenceSeconds = 11'644'473'600;

constexpr int64_t kLatestTicks = std::numeric_limits<int64_t>::max();
constexpr int64_t kEarliestTicks = std::numeric_limits<int64_t>::min();

// a + b, clamped to the range of ticks.
constexpr int64_t AddTicks(int64_t a, int64_t b)
{
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? kLatestTicks : kEarliestTicks;
    return sum;
}

// a - b, clamped to the range of ticks.
constexpr int64_t TickDifference(int64_t a, int64_t b)
{
    int64_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference))
        return b < 0 ? kLatestTicks : kEarliestTicks;
    return difference;
}

constexpr int64_t FileTimeFromTimespec(const timespec& ts)
{
    int64_t ticks = 0;
    if (__builtin_mul_overflow(static_cast<int64_t>(ts.tv_sec) + kEpochDifferenceSeconds, kTicksPerSecond, &ticks))
        return ts.tv_sec > 0 ? kLatestTicks : kEarliestTicks;
    return AddTicks(ticks, ts.tv_nsec / 100);
}

constexpr timespec TimespecFromFileTime(int64_t ticks)
{
    int64_t seconds = ticks / kTicksPerSecond;
    int64_t rest = ticks % kTicksPerSecond;
    if (rest < 0) {
        rest += kTicksPerSecond;
        --seconds;
    }
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(seconds - kEpochDifferenceSeconds);
    ts.tv_nsec = static_cast<long>(rest * 100);
    return ts;
}

}  // namespace quorvantell
