// Listing texts as servers send them: MLSD facts, Unix and DOS LIST lines,
// and the rule that places LIST dates without a year or seconds.
#include "app/ftp/FtpListParser.h"
#include "app/ftp/FtpTime.h"

#include <gtest/gtest.h>

namespace velloran {
namespace {

int64_t Utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return *RawFromUtc(y, mo, d, h, mi, s);
}

// The listing's moment in these tests: 2026-03-10 12:00:00 UTC.
const FtpListParser kParser(Utc(2026, 3, 10, 12));

TEST(FtpListParser, MlsdFactsGiveExactTimesSizesAndHiddenNames)
{
    const auto entries = kParser.ParseMlsd(
        "type=cdir;modify=20260101000000; .\r\n"
        "type=pdir;modify=20260101000000; ..\r\n"
        "modify=20040102030405.250;perm=r;size=5000000000;type=file;unique=1; big.bin\r\n"
        "Type=DIR;Modify=20250607080910; docs\r\n"
        "type=file;size=0;modify=20260309235959; .hidden\r\n"
        "type=file;size=7;modify=20260309235959;  two  blanks \r\n"
        "type=OS.unix=slink:/etc;size=4; link\r\n"
        "no facts here\r\n"
        "type=file;size=1;\r\n"
        "type=file;size=1; \r\n");
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].name, "big.bin");
    EXPECT_FALSE(entries[0].isDir);
    EXPECT_EQ(entries[0].size, 5'000'000'000LL);
    EXPECT_EQ(entries[0].modified, Utc(2004, 1, 2, 3, 4, 5) + 2'500'000);
    EXPECT_EQ(entries[1].name, "docs");
    EXPECT_TRUE(entries[1].isDir);
    EXPECT_EQ(entries[1].modified, Utc(2025, 6, 7, 8, 9, 10));
    EXPECT_EQ(entries[2].name, ".hidden");
    EXPECT_EQ(entries[3].name, " two  blanks ");  // one blank separates, the rest is the name
    EXPECT_EQ(entries[4].name, "link");
    EXPECT_FALSE(entries[4].isDir);
}

TEST(FtpListParser, MlsdKeepsRawBytesAndOrder)
{
    const std::string text = std::string("type=file;size=1; z\xff\xfe.bin\n") +
                             "type=file;size=2; a\r.txt\n" + std::string("type=file;size=3; nul\0in", 24) + "\n";
    const auto entries = kParser.ParseMlsd(text);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "z\xff\xfe.bin");
    EXPECT_EQ(entries[1].name, "a\r.txt");
    EXPECT_EQ(entries[2].name, std::string("nul\0in", 6));
}

TEST(FtpListParser, UnixLinesWithAndWithoutYear)
{
    const auto entries = kParser.ParseList(
        "total 24\r\n"
        "drwxr-xr-x    2 ftp      ftp          4096 Mar 01 09:15 docs\r\n"
        "-rw-r--r--    1 ftp      ftp    5000000000 Jan 02  2004 big.bin\r\n"
        "-rw-r--r--    1 owner        17 Feb 28 23:59 no group.txt\r\n"
        "lrwxrwxrwx    1 0        0              11 Jul 04  2021 current -> release/1.2\r\n"
        "-rw-r--r--    1 0        0               3 2025-12-31 18:30 iso.txt\r\n"
        "-rw-r--r--    1 0        0               3 Mar 10 11:59:30 seconds.txt\r\n"
        "-rw-r--r--    1 0        0               3 Mar 10 11:59  spaced name\r\n"
        "crw-rw-rw-    1 0        0          1,   3 Jan 01  2020 null\r\n"
        "-rw-r--r--    1 0        0               3 Foo 10 11:59 nodate\r\n");
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[0].name, "docs");
    EXPECT_TRUE(entries[0].isDir);
    EXPECT_EQ(entries[0].modified, Utc(2026, 3, 1, 9, 15));
    EXPECT_EQ(entries[1].name, "big.bin");
    EXPECT_EQ(entries[1].size, 5'000'000'000LL);
    EXPECT_EQ(entries[1].modified, Utc(2004, 1, 2));
    EXPECT_EQ(entries[2].name, "no group.txt");
    EXPECT_EQ(entries[2].size, 17);
    EXPECT_EQ(entries[2].modified, Utc(2026, 2, 28, 23, 59));
    EXPECT_EQ(entries[3].name, "current");
    EXPECT_FALSE(entries[3].isDir);
    EXPECT_EQ(entries[4].name, "iso.txt");
    EXPECT_EQ(entries[4].modified, Utc(2025, 12, 31, 18, 30));
    EXPECT_EQ(entries[5].modified, Utc(2026, 3, 10, 11, 59, 30));
    EXPECT_EQ(entries[6].name, " spaced name");
}

TEST(FtpListParser, YearlessDatesLandWithinHalfAYearOfTheListing)
{
    // At 2026-03-10 12:00: up to 183 days ahead counts as this year (clock or
    // zone differences), anything later belongs to the year before.
    const auto entries = kParser.ParseList(
        "-rw-r--r-- 1 0 0 1 Mar 10 12:00 now\n"
        "-rw-r--r-- 1 0 0 1 Mar 11 09:00 tomorrow\n"
        "-rw-r--r-- 1 0 0 1 Sep 08 23:59 edge\n"
        "-rw-r--r-- 1 0 0 1 Sep 10 00:00 past-edge\n"
        "-rw-r--r-- 1 0 0 1 Dec 31 23:59 new-year-eve\n"
        "-rw-r--r-- 1 0 0 1 Feb 29 10:00 leap\n"
        "-rw-r--r-- 1 0 0 1 Feb 30 10:00 impossible\n");
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0].modified, Utc(2026, 3, 10, 12));
    EXPECT_EQ(entries[1].modified, Utc(2026, 3, 11, 9));
    EXPECT_EQ(entries[2].modified, Utc(2026, 9, 8, 23, 59));
    EXPECT_EQ(entries[3].modified, Utc(2025, 9, 10));
    EXPECT_EQ(entries[4].modified, Utc(2025, 12, 31, 23, 59));
    EXPECT_EQ(entries[5].modified, Utc(2024, 2, 29, 10));  // the latest leap year before

    // Early January: a December date is last December's, a near-future one is kept.
    const FtpListParser january(Utc(2027, 1, 1, 0, 30));
    const auto turn = january.ParseList(
        "-rw-r--r-- 1 0 0 1 Dec 31 23:59 last-night\n"
        "-rw-r--r-- 1 0 0 1 Jan 02 08:00 ahead\n");
    ASSERT_EQ(turn.size(), 2u);
    EXPECT_EQ(turn[0].modified, Utc(2026, 12, 31, 23, 59));
    EXPECT_EQ(turn[1].modified, Utc(2027, 1, 2, 8));
}

TEST(FtpListParser, DosLines)
{
    const auto entries = kParser.ParseList(
        "05-21-04  02:30PM       <DIR>          docs\r\n"
        "01-02-04  12:04AM                 1234 midnight.txt\r\n"
        "12-31-1999  12:59PM         5000000000 big file.bin\r\n"
        "07-04-70  11:00               1 twentyfour.txt\r\n"
        "13-01-04  02:30PM                 1 bad-month.txt\r\n"
        "01-01-04  13:30PM                 1 bad-hour.txt\r\n");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_TRUE(entries[0].isDir);
    EXPECT_EQ(entries[0].name, "docs");
    EXPECT_EQ(entries[0].modified, Utc(2004, 5, 21, 14, 30));
    EXPECT_EQ(entries[1].modified, Utc(2004, 1, 2, 0, 4));
    EXPECT_EQ(entries[1].size, 1234);
    EXPECT_EQ(entries[2].name, "big file.bin");
    EXPECT_EQ(entries[2].size, 5'000'000'000LL);
    EXPECT_EQ(entries[2].modified, Utc(1999, 12, 31, 12, 59));
    EXPECT_EQ(entries[3].modified, Utc(1970, 7, 4, 11));
}

TEST(FtpListParser, OversizedNumbersAreNoEntries)
{
    const auto entries = kParser.ParseList(
        "-rw-r--r-- 1 0 0 99999999999999999999 Jan 02  2004 huge\n"
        "01-02-04  12:04AM  99999999999999999999 huge.dos\n");
    EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace velloran
