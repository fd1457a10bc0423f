// Raw file times: 100-nanosecond ticks since 1601-01-01 UTC, converted
// exactly to and from the POSIX timespec.
#pragma once

#include <cstdint>
#include <ctime>

namespace quorvantell {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kTicksPerMillisecond = 10'000;
constexpr int64_t kTicksPerMinute = 60 * kTicksPerSecond;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kEpochDifferenceSeconds = 11'644'473'600;

constexpr int64_t FileTimeFromTimespec(const timespec& ts)
{
    return (static_cast<int64_t>(ts.tv_sec) + kEpochDifferenceSeconds) * kTicksPerSecond + ts.tv_nsec / 100;
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
