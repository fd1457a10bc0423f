// FtpTime: exact conversions between UTC calendar fields and raw file times.
#include "app/ftp/FtpTime.h"

#include "classlib/files/FileTime.h"

#include <cstdio>

namespace velloran {

using quorvantell::kEpochDifferenceSeconds;
using quorvantell::kTicksPerSecond;

namespace {

constexpr int64_t kSecondsPerDay = 86'400;

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468;
}

struct CivilDate {
    int64_t year;
    int month;
    int day;
};

CivilDate CivilFromDays(int64_t days)
{
    days += 719'468;
    const int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const int64_t dayOfEra = days - era * 146'097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

bool ReadDigits(std::string_view text, size_t pos, size_t count, int& value)
{
    value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// The UTC date of a raw time and the whole seconds since that day's midnight
// (rounded down, also before 1970).
CivilDate UtcDate(int64_t raw, int64_t& secondOfDay)
{
    const int64_t seconds = raw / kTicksPerSecond - (raw % kTicksPerSecond < 0 ? 1 : 0) - kEpochDifferenceSeconds;
    const int64_t days = seconds / kSecondsPerDay - (seconds % kSecondsPerDay < 0 ? 1 : 0);
    secondOfDay = seconds - days * kSecondsPerDay;
    return CivilFromDays(days);
}

}  // namespace

std::optional<int64_t> RawFromUtc(int year, int month, int day, int hour, int minute, int second)
{
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    const int64_t unixSeconds = DaysFromCivil(year, month, day) * kSecondsPerDay + hour * 3600 + minute * 60 + second;
    return (unixSeconds + kEpochDifferenceSeconds) * kTicksPerSecond;
}

std::optional<int64_t> ParseFtpTime(std::string_view text)
{
    int year, month, day, hour, minute, second;
    if (!ReadDigits(text, 0, 4, year) || !ReadDigits(text, 4, 2, month) || !ReadDigits(text, 6, 2, day) ||
        !ReadDigits(text, 8, 2, hour) || !ReadDigits(text, 10, 2, minute) || !ReadDigits(text, 12, 2, second))
        return std::nullopt;
    auto raw = RawFromUtc(year, month, day, hour, minute, second);
    if (!raw)
        return std::nullopt;
    std::string_view fraction = text.substr(14);
    if (fraction.empty())
        return raw;
    if (fraction.front() != '.' || fraction.size() < 2)
        return std::nullopt;
    int64_t ticks = 0;
    int64_t scale = kTicksPerSecond;
    for (char c : fraction.substr(1)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        scale /= 10;  // digits beyond the tick's precision add nothing
        ticks += (c - '0') * scale;
    }
    return *raw + ticks;
}

std::string FormatFtpTime(int64_t raw)
{
    int64_t secondOfDay = 0;
    const CivilDate date = UtcDate(raw, secondOfDay);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld%02d%02d%02d%02d%02d", static_cast<long long>(date.year), date.month,
                  date.day, static_cast<int>(secondOfDay / 3600), static_cast<int>(secondOfDay / 60 % 60),
                  static_cast<int>(secondOfDay % 60));
    return text;
}

int UtcYear(int64_t raw)
{
    int64_t secondOfDay = 0;
    return static_cast<int>(UtcDate(raw, secondOfDay).year);
}

}  // namespace velloran
