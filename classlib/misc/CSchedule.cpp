// CSchedule: times are kept as seconds since the epoch; DateTime values are
// local times, converted with the C library (daylight saving decided by it).
#include "classlib/misc/CSchedule.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace quorvantell {

namespace {

constexpr std::time_t kWindowSeconds = 60;

std::time_t FromLocal(const DateTime& t)
{
    std::tm parts{};
    parts.tm_year = t.year - 1900;
    parts.tm_mon = t.month - 1;
    parts.tm_mday = t.day;
    parts.tm_hour = t.hour;
    parts.tm_min = t.minute;
    parts.tm_sec = t.second;
    parts.tm_isdst = -1;
    return std::mktime(&parts);
}

DateTime ToLocal(std::time_t seconds)
{
    std::tm parts{};
    localtime_r(&seconds, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

}  // namespace

void CSchedule::Init(int32_t siz)
{
    m_entries.assign(static_cast<size_t>(std::max(siz, 0)), Entry{});
}

CSchedule::Entry& CSchedule::At(int32_t Index)
{
    return const_cast<Entry&>(static_cast<const CSchedule*>(this)->At(Index));
}

const CSchedule::Entry& CSchedule::At(int32_t Index) const
{
    if (Index < 0 || static_cast<size_t>(Index) >= m_entries.size())
        throw std::out_of_range("Schedule entry " + std::to_string(Index) + " does not exist");
    return m_entries[static_cast<size_t>(Index)];
}

DateTime CSchedule::Item(int32_t Index) const
{
    return ToLocal(At(Index).start);
}

void CSchedule::SetItem(int32_t Index, const DateTime& start)
{
    Entry& entry = At(Index);
    entry.start = FromLocal(start);
    entry.end = entry.start + kWindowSeconds;
    entry.enabled = true;
}

bool CSchedule::Enabled(int32_t Index) const
{
    return At(Index).enabled;
}

void CSchedule::SetEnabled(int32_t Index, bool enabled)
{
    At(Index).enabled = enabled;
}

int64_t CSchedule::SecondsLeft(int32_t Index) const
{
    return static_cast<int64_t>(At(Index).start - std::time(nullptr));
}

void CSchedule::Check()
{
    CheckAt(std::time(nullptr));
}

void CSchedule::CheckAt(std::time_t now)
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        Entry& entry = m_entries[i];
        if (!entry.enabled)
            continue;
        if (now < entry.start || now >= entry.end) {
            entry.armed = true;
        } else if (entry.armed) {
            entry.armed = false;
            if (TimeUp)
                TimeUp(static_cast<int32_t>(i));
        }
    }
}

}  // namespace quorvantell
