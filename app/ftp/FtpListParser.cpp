// FtpListParser: MLSD facts and the Unix and DOS forms of LIST.
#include "app/ftp/FtpListParser.h"

#include "app/ftp/FtpTime.h"
#include "classlib/files/FileTime.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <optional>

namespace velloran {

namespace {

// How far past the listing's moment a date without a year may lie.
constexpr int64_t kYearlessFutureTicks = 183LL * 86'400 * quorvantell::kTicksPerSecond;
// How many years back a date without a year is looked for (29 February).
constexpr int kYearlessSearchYears = 8;

template <typename Handle>
void ForEachLine(std::string_view text, Handle handle)
{
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty())
            handle(line);
    }
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool IsDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

int ToInt(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

// A byte count; false for anything but digits or a count beyond 63 bits.
bool ParseSize(std::string_view text, int64_t& size)
{
    if (!IsDigits(text))
        return false;
    int64_t value = 0;
    for (char c : text) {
        if (value > (std::numeric_limits<int64_t>::max() - (c - '0')) / 10)
            return false;
        value = value * 10 + (c - '0');
    }
    size = value;
    return true;
}

int MonthNumber(std::string_view text)
{
    static constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                                 "jul", "aug", "sep", "oct", "nov", "dec"};
    if (text.size() != 3)
        return 0;
    const auto it = std::find(kMonths.begin(), kMonths.end(), Lower(text));
    return it == kMonths.end() ? 0 : static_cast<int>(it - kMonths.begin()) + 1;
}

// "H:MM", "HH:MM" or "HH:MM:SS"; seconds are 0 when missing.
bool ParseClock(std::string_view text, int& hour, int& minute, int& second)
{
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || !IsDigits(text.substr(0, colon)))
        return false;
    const std::string_view rest = text.substr(colon + 1);
    if (rest.size() != 2 && !(rest.size() == 5 && rest[2] == ':'))
        return false;
    if (!IsDigits(rest.substr(0, 2)) || (rest.size() == 5 && !IsDigits(rest.substr(3))))
        return false;
    hour = ToInt(text.substr(0, colon));
    minute = ToInt(rest.substr(0, 2));
    second = rest.size() == 5 ? ToInt(rest.substr(3)) : 0;
    return true;
}

std::string_view TokenText(std::string_view line, size_t begin, size_t end)
{
    return line.substr(begin, end - begin);
}

}  // namespace

FtpListParser::FtpListParser(int64_t nowRaw) : m_now(nowRaw) {}

std::vector<FtpEntry> FtpListParser::ParseMlsd(std::string_view text) const
{
    std::vector<FtpEntry> entries;
    ForEachLine(text, [&](std::string_view line) {
        FtpEntry entry;
        if (ParseMlsdLine(line, entry))
            entries.push_back(std::move(entry));
    });
    return entries;
}

std::vector<FtpEntry> FtpListParser::ParseList(std::string_view text) const
{
    std::vector<FtpEntry> entries;
    ForEachLine(text, [&](std::string_view line) {
        FtpEntry entry;
        if (ParseUnixLine(line, entry) || ParseDosLine(line, entry))
            entries.push_back(std::move(entry));
    });
    return entries;
}

bool FtpListParser::ParseMlsdLine(std::string_view line, FtpEntry& entry)
{
    // "fact=value;fact=value; name": one blank, then the name to the line's end.
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos || blank + 1 == line.size())
        return false;
    std::string_view facts = line.substr(0, blank);
    bool anyFact = false;
    while (!facts.empty()) {
        const size_t semicolon = facts.find(';');
        const std::string_view fact = facts.substr(0, semicolon);
        facts = semicolon == std::string_view::npos ? std::string_view() : facts.substr(semicolon + 1);
        const size_t equals = fact.find('=');
        if (equals == std::string_view::npos)
            continue;
        anyFact = true;
        const std::string key = Lower(fact.substr(0, equals));
        const std::string_view value = fact.substr(equals + 1);
        if (key == "type") {
            const std::string type = Lower(value);
            if (type == "cdir" || type == "pdir")
                return false;
            entry.isDir = type == "dir";
        } else if (key == "size") {
            ParseSize(value, entry.size);
        } else if (key == "modify") {
            entry.modified = ParseFtpTime(value).value_or(0);
        }
    }
    entry.name = line.substr(blank + 1);
    return anyFact;
}

bool FtpListParser::ParseUnixLine(std::string_view line, FtpEntry& entry) const
{
    // "drwxr-xr-x 2 owner group 4096 May 21 14:30 name"; links and group may be
    // missing, so the date is found first and the size is the token before it.
    const char kind = line.front();
    if (kind != '-' && kind != 'd' && kind != 'l')
        return false;
    std::vector<Token> tokens;
    for (size_t pos = 0; pos < line.size();) {
        const size_t begin = line.find_first_not_of(" \t", pos);
        if (begin == std::string_view::npos)
            break;
        const size_t end = std::min(line.find_first_of(" \t", begin), line.size());
        tokens.push_back({begin, end});
        pos = end;
    }
    if (tokens.empty() || tokens[0].end < 10)
        return false;
    for (size_t at = 2; at + 1 < tokens.size(); ++at) {
        size_t last = 0;
        int64_t raw = 0;
        int64_t size = 0;
        if (!ParseSize(TokenText(line, tokens[at - 1].begin, tokens[at - 1].end), size) ||
            !ParseUnixDate(line, tokens, at, last, raw))
            continue;
        // ls puts one blank between the date and the name; more belong to the name.
        if (tokens[last].end + 1 >= line.size())
            return false;
        std::string_view name = line.substr(tokens[last].end + 1);
        if (kind == 'l')
            name = name.substr(0, name.find(" -> "));
        entry.name = name;
        entry.isDir = kind == 'd';
        entry.modified = raw;
        entry.size = size;
        return true;
    }
    return false;
}

bool FtpListParser::ParseUnixDate(std::string_view line, const std::vector<Token>& tokens, size_t at, size_t& last,
                                  int64_t& raw) const
{
    const auto text = [&](size_t i) { return TokenText(line, tokens[i].begin, tokens[i].end); };
    int hour = 0, minute = 0, second = 0;
    const std::string_view first = text(at);
    if (first.size() == 10 && first[4] == '-' && first[7] == '-' && IsDigits(first.substr(0, 4)) &&
        IsDigits(first.substr(5, 2)) && IsDigits(first.substr(8, 2)) && ParseClock(text(at + 1), hour, minute, second)) {
        const auto iso = RawFromUtc(ToInt(first.substr(0, 4)), ToInt(first.substr(5, 2)), ToInt(first.substr(8, 2)),
                                    hour, minute, second);
        last = at + 1;
        raw = iso.value_or(0);
        return iso.has_value();
    }
    const int month = MonthNumber(first);
    if (month == 0 || at + 2 >= tokens.size() || !IsDigits(text(at + 1)) || text(at + 1).size() > 2)
        return false;
    const int day = ToInt(text(at + 1));
    const std::string_view third = text(at + 2);
    std::optional<int64_t> date;
    if (ParseClock(third, hour, minute, second))
        date = PlaceYearless(month, day, hour, minute, second);
    else if (third.size() == 4 && IsDigits(third))
        date = RawFromUtc(ToInt(third), month, day, 0, 0, 0);
    last = at + 2;
    raw = date.value_or(0);
    return date.has_value();
}

std::optional<int64_t> FtpListParser::PlaceYearless(int month, int day, int hour, int minute, int second) const
{
    const int thisYear = UtcYear(m_now);
    for (int year = thisYear + 1; year >= thisYear - kYearlessSearchYears; --year) {
        const auto raw = RawFromUtc(year, month, day, hour, minute, second);
        if (raw && *raw <= m_now + kYearlessFutureTicks)
            return raw;
    }
    return std::nullopt;
}

bool FtpListParser::ParseDosLine(std::string_view line, FtpEntry& entry)
{
    // "05-21-04  02:30PM       <DIR>          docs" or "... 1234 file.txt".
    std::vector<std::string_view> fields;
    size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t begin = line.find_first_not_of(" \t", pos);
        if (begin == std::string_view::npos)
            return false;
        pos = std::min(line.find_first_of(" \t", begin), line.size());
        fields.push_back(line.substr(begin, pos - begin));
    }
    const size_t nameStart = line.find_first_not_of(" \t", pos);
    if (nameStart == std::string_view::npos)
        return false;

    const std::string_view date = fields[0];
    if ((date.size() != 8 && date.size() != 10) || date[2] != '-' || date[5] != '-' ||
        !IsDigits(date.substr(0, 2)) || !IsDigits(date.substr(3, 2)) || !IsDigits(date.substr(6)))
        return false;
    int year = ToInt(date.substr(6));
    if (date.size() == 8)
        year += year < 70 ? 2000 : 1900;

    std::string_view clock = fields[1];
    const std::string suffix = clock.size() > 2 ? Lower(clock.substr(clock.size() - 2)) : std::string();
    const bool twelveHour = suffix == "am" || suffix == "pm";
    if (twelveHour)
        clock.remove_suffix(2);
    int hour = 0, minute = 0, second = 0;
    if (!ParseClock(clock, hour, minute, second) || (twelveHour && (hour < 1 || hour > 12)))
        return false;
    if (twelveHour)
        hour = hour % 12 + (suffix == "pm" ? 12 : 0);

    const auto raw = RawFromUtc(year, ToInt(date.substr(0, 2)), ToInt(date.substr(3, 2)), hour, minute, second);
    if (!raw)
        return false;
    entry.isDir = fields[2] == "<DIR>";
    if (!entry.isDir && !ParseSize(fields[2], entry.size))
        return false;
    entry.name = line.substr(nameStart);
    entry.modified = *raw;
    return true;
}

}  // namespace velloran
