// FtpTime: FTP's time texts and raw file times (100-ns ticks since
// 1601-01-01 UTC). FTP times carry no zone; they are read and written as UTC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velloran {

// The raw time of a UTC calendar date and time; nothing when a field is out
// of range (month 13, 30 February, hour 24 ...).
std::optional<int64_t> RawFromUtc(int year, int month, int day, int hour, int minute, int second);
// "YYYYMMDDHHMMSS" with an optional fraction ".s" to ".sssssss", as MLSD's
// modify fact and an MDTM reply give it.
std::optional<int64_t> ParseFtpTime(std::string_view text);
// The fourteen digits "YYYYMMDDHHMMSS" of a raw time; fractions are dropped.
std::string FormatFtpTime(int64_t raw);
// The calendar year (UTC) of a raw time.
int UtcYear(int64_t raw);

}  // namespace velloran
