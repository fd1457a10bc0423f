// FtpListParser: a directory listing's text turned into entries. MLSD lines
// (RFC 3659 facts) carry exact UTC times and 64-bit sizes. LIST lines come in
// the Unix "ls -l" form or the DOS form; their times are read as UTC, a time
// without seconds counts from second 0 of its minute, and a Unix date without
// a year gets the latest year that puts it no more than 183 days after the
// listing's moment (ls drops the year only for times of the last six months,
// so this tolerates clocks and zones that are off by up to half a year).
// Entries keep the server's bytes and order; MLSD's "." and ".." entries
// (types cdir and pdir) are dropped, every other name is left for the caller
// to judge.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloran {

struct FtpEntry {
    std::string name;
    bool isDir = false;
    int64_t modified = 0;  // raw file time; 0 when the server gave none
    int64_t size = 0;
};

class FtpListParser {
public:
    // nowRaw: the moment of the listing, the reference for dates without a year.
    explicit FtpListParser(int64_t nowRaw);

    std::vector<FtpEntry> ParseMlsd(std::string_view text) const;
    // Lines that are neither Unix nor DOS entries ("total 12") are left out.
    std::vector<FtpEntry> ParseList(std::string_view text) const;

private:
    struct Token {
        size_t begin;
        size_t end;
    };

    static bool ParseMlsdLine(std::string_view line, FtpEntry& entry);
    bool ParseUnixLine(std::string_view line, FtpEntry& entry) const;
    static bool ParseDosLine(std::string_view line, FtpEntry& entry);
    // The date of a Unix line from its tokens at `at` ("Mmm dd HH:MM",
    // "Mmm dd YYYY" or "YYYY-MM-DD HH:MM"); `last` becomes the index of the
    // date's last token.
    bool ParseUnixDate(std::string_view line, const std::vector<Token>& tokens, size_t at, size_t& last,
                       int64_t& raw) const;
    std::optional<int64_t> PlaceYearless(int month, int day, int hour, int minute, int second) const;

    int64_t m_now;
};

}  // namespace velloran
