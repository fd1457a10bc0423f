// Text form of a local date and time.
#include "classlib/general/DateTime.h"

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace quorvantell {

namespace {

// "C", "C.UTF-8" and "POSIX" format dates the American way ("12/07/26"),
// which nobody should have to read; they get the ISO form instead.
bool IsCLocale(const char* name)
{
    return name == nullptr || std::strcmp(name, "C") == 0 || std::strncmp(name, "C.", 2) == 0 ||
           std::strcmp(name, "POSIX") == 0;
}

}  // namespace

std::string DateTime::ToString() const
{
    using namespace std::chrono;
    const year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                              std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok() || IsCLocale(std::setlocale(LC_TIME, nullptr))) {
        char text[64];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
        return text;
    }
    const sys_days days{date};
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_wday = static_cast<int>(weekday{days}.c_encoding());
    t.tm_yday = static_cast<int>((days - sys_days{date.year() / January / 1}).count());
    t.tm_isdst = -1;
    char text[256];
    const size_t length = std::strftime(text, sizeof text, "%x %X", &t);
    return std::string(text, length);
}

}  // namespace quorvantell
