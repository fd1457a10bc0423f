// Tests of CGeneral's text, number, time and colour helpers (the members
// that need no windows).
#include "classlib/general/CGeneral.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <stdexcept>

using namespace quorvantell;

namespace {

const CGeneral general;

std::vector<std::string> Split(const std::string& text, const std::string& separator, int32_t start,
                               bool endAtDoubleSplit, int32_t* count = nullptr)
{
    std::vector<std::string> pieces = {"left over"};
    int32_t n = -1;
    general.SplitString(text, pieces, separator, n, start, endAtDoubleSplit);
    EXPECT_EQ(static_cast<size_t>(n), pieces.size());
    if (count != nullptr)
        *count = n;
    return pieces;
}

// Sets TZ for the life of the object.
class TimeZone {
public:
    explicit TimeZone(const char* tz)
    {
        if (const char* old = std::getenv("TZ"))
            m_saved = old;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~TimeZone()
    {
        if (m_saved)
            setenv("TZ", m_saved->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> m_saved;
};

// 2026-12-07 10:30:00.5 UTC as a raw file time.
constexpr int64_t kRaw = (1796639400LL + 11644473600LL) * 10'000'000LL + 5'000'000;

}  // namespace

TEST(CGeneral, ConvertTime)
{
    EXPECT_EQ(general.ConvertTime(0), "0:00");
    EXPECT_EQ(general.ConvertTime(5), "0:05");
    EXPECT_EQ(general.ConvertTime(59), "0:59");
    EXPECT_EQ(general.ConvertTime(75), "1:15");
    EXPECT_EQ(general.ConvertTime(3599), "59:59");
    EXPECT_EQ(general.ConvertTime(3600), "1:00:00");
    EXPECT_EQ(general.ConvertTime(3725), "1:02:05");
    EXPECT_EQ(general.ConvertTime(86399), "23:59:59");
    EXPECT_EQ(general.ConvertTime(86400), "1d 0:00:00");
    EXPECT_EQ(general.ConvertTime(90061), "1d 1:01:01");
    EXPECT_EQ(general.ConvertTime(-75), "-1:15");
}

TEST(CGeneral, ConvertBytesKeepsThreeSignificantDigits)
{
    EXPECT_EQ(general.ConvertBytes(0), "0 bytes");
    EXPECT_EQ(general.ConvertBytes(532), "532 bytes");
    EXPECT_EQ(general.ConvertBytes(1023), "1023 bytes");
    EXPECT_EQ(general.ConvertBytes(1024), "1.00 KB");
    EXPECT_EQ(general.ConvertBytes(1536), "1.50 KB");
    EXPECT_EQ(general.ConvertBytes(2047), "1.99 KB");  // cut, not rounded
    EXPECT_EQ(general.ConvertBytes(10.5 * 1024), "10.5 KB");
    EXPECT_EQ(general.ConvertBytes(1000 * 1024 - 1), "999 KB");
    EXPECT_EQ(general.ConvertBytes(1000 * 1024), "0.97 MB");
    EXPECT_EQ(general.ConvertBytes(123456789), "117 MB");
    EXPECT_EQ(general.ConvertBytes(5.0 * (1LL << 30)), "5.00 GB");
    EXPECT_EQ(general.ConvertBytes(3.0 * (1LL << 40)), "3.00 TB");
    EXPECT_EQ(general.ConvertBytes(9.0e18), "7.80 EB");
    EXPECT_EQ(general.ConvertBytes(-5), "-5 bytes");
    EXPECT_THROW(general.ConvertBytes(NAN), std::invalid_argument);
    EXPECT_THROW(general.ConvertBytes(1e19), std::overflow_error);
}

TEST(CGeneral, SplitString)
{
    EXPECT_EQ(Split("a;b;c", ";", 1, false), (std::vector<std::string>{"a", "b"}));  // c dropped
    EXPECT_EQ(Split("a;b;c;", ";", 1, false), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Split("a;b;c", ";", 3, false), (std::vector<std::string>{"b"}));
    EXPECT_EQ(Split(";;x;", ";", 1, false), (std::vector<std::string>{"", "", "x"}));
    EXPECT_EQ(Split("a::b::", "::", 1, false), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(Split("no separator", ";", 1, false).empty());  // old contents gone too
    EXPECT_TRUE(Split("a;b", ";", 10, false).empty());
    EXPECT_TRUE(Split("a;b", "", 1, false).empty());
    EXPECT_THROW(Split("a;b", ";", 0, false), std::invalid_argument);

    // A NUL-separated list that ends in two NULs (an open-file dialog result).
    const std::string list("dir\0one.txt\0two.txt\0\0junk\0", 26);
    EXPECT_EQ(Split(list, std::string(1, '\0'), 1, true), (std::vector<std::string>{"dir", "one.txt", "two.txt"}));
    EXPECT_EQ(Split(list, std::string(1, '\0'), 1, false),
              (std::vector<std::string>{"dir", "one.txt", "two.txt", "", "junk"}));

    // More than ten pieces: growth in steps is invisible.
    std::string many;
    for (int i = 0; i < 25; ++i)
        many += std::to_string(i) + ",";
    int32_t count = 0;
    const auto pieces = Split(many, ",", 1, false, &count);
    EXPECT_EQ(count, 25);
    EXPECT_EQ(pieces[24], "24");
}

TEST(CGeneral, StrCountAndStripTrailingNull)
{
    EXPECT_EQ(general.StrCount("aaaa", "aa", 1), 2);  // non-overlapping
    EXPECT_EQ(general.StrCount("aaaa", "aa", 2), 1);
    EXPECT_EQ(general.StrCount("a\\b\\c\\", "\\", 1), 3);
    EXPECT_EQ(general.StrCount("abc", "A", 1), 0);  // exact comparison
    EXPECT_EQ(general.StrCount("abc", "", 1), 0);
    EXPECT_EQ(general.StrCount("abc", "c", 9), 0);
    EXPECT_THROW(general.StrCount("abc", "c", 0), std::invalid_argument);

    EXPECT_EQ(general.StripTrailingNull("whole"), "whole");
    EXPECT_EQ(general.StripTrailingNull(std::string("cut\0here\0", 9)), "cut");
    EXPECT_EQ(general.StripTrailingNull(std::string("\0x", 2)), "");
}

TEST(CGeneral, CheckCaps)
{
    EXPECT_EQ(general.CheckCaps("HELLO WORLD"), "Hello World");
    EXPECT_EQ(general.CheckCaps("Hello WORLD"), "Hello WORLD");
    EXPECT_EQ(general.CheckCaps("hello"), "hello");
    EXPECT_EQ(general.CheckCaps("123 456"), "123 456");  // no letters: not all capitals
    EXPECT_EQ(general.CheckCaps("ÉCOLE  NORMALE\tSUPÉRIEURE"), "École  Normale\tSupérieure");
    EXPECT_EQ(general.CheckCaps("ǄEMAL"), "ǅemal");  // title case of a digraph
    EXPECT_EQ(general.CheckCaps("AB\xFF CD"), "Ab\xFF Cd");  // stray bytes kept
    EXPECT_EQ(general.CheckCaps(""), "");
}

TEST(CGeneral, BigMod)
{
    EXPECT_EQ(general.BigMod(10, 3), 1);
    EXPECT_EQ(general.BigMod(11, 3), 2);  // q = 4, -1 + 3
    EXPECT_EQ(general.BigMod(7, 2), 1);   // q = 3.5 -> 4
    EXPECT_EQ(general.BigMod(5, 2), 1);   // q = 2.5 -> 2
    EXPECT_EQ(general.BigMod(-7, 2), 1);
    EXPECT_EQ(general.BigMod(6, 3), 0);
    for (int64_t a = -20; a <= 20; ++a)
        EXPECT_EQ(general.BigMod(a, 7), ((a % 7) + 7) % 7) << a;
    EXPECT_EQ(general.BigMod(1'000'000'000'000LL, 1'000'003), 1'000'000'000'000LL % 1'000'003);
    EXPECT_THROW(general.BigMod(1'000'000'000'000LL, 1), std::overflow_error);
    EXPECT_THROW(general.BigMod(5, 0), std::domain_error);
}

TEST(CGeneral, ShiftsRoundHalvesToEven)
{
    EXPECT_EQ(general.ShiftLeft(3, 2), 12);
    EXPECT_EQ(general.ShiftLeft(-1, 31), INT32_MIN);
    EXPECT_THROW(general.ShiftLeft(1, 31), std::overflow_error);
    EXPECT_THROW(general.ShiftLeft(1, 5000), std::overflow_error);
    EXPECT_EQ(general.ShiftLeft(0, 5000), 0);
    EXPECT_EQ(general.ShiftRight(3, 1), 2);
    EXPECT_EQ(general.ShiftRight(5, 1), 2);
    EXPECT_EQ(general.ShiftRight(7, 1), 4);
    EXPECT_EQ(general.ShiftRight(-3, 1), -2);
    EXPECT_EQ(general.ShiftRight(1024, 10), 1);
    EXPECT_EQ(general.ShiftRight(1, 40), 0);
    EXPECT_EQ(general.ShiftRight(0, INT32_MIN), 0);
    EXPECT_THROW(general.ShiftRight(1, INT32_MIN), std::overflow_error);  // times 2^(2^31)
    EXPECT_THROW(general.ShiftRight(1, -31), std::overflow_error);
}

TEST(CGeneral, SmallArithmetic)
{
    EXPECT_EQ(general.Ceil(2.0), 2.0);
    EXPECT_EQ(general.Ceil(2.1), 3.0);
    EXPECT_EQ(general.Ceil(-1.5), -1.0);
    EXPECT_EQ(general.Max(1, 2), 2);
    EXPECT_EQ(general.Min(1, 2), 1);
    EXPECT_EQ(general.MinMax(5, 1, 3), 3);
    EXPECT_EQ(general.MinMax(-5, 1, 3), 1);
    EXPECT_EQ(general.MinMax(2, 1, 3), 2);
    EXPECT_EQ(general.to24Hr(12, 0), 0);
    EXPECT_EQ(general.to24Hr(11, 0), 11);
    EXPECT_EQ(general.to24Hr(12, 1), 12);
    EXPECT_EQ(general.to24Hr(1, 1), 13);
}

TEST(CGeneral, CharacterClasses)
{
    EXPECT_TRUE(general.IsAlpha('a'));
    EXPECT_TRUE(general.IsAlpha(0x3A3));  // Σ
    EXPECT_FALSE(general.IsAlpha('1'));
    EXPECT_FALSE(general.IsAlpha(0x4E2D));  // 中 has no case
    EXPECT_FALSE(general.IsAlpha(-1));
    EXPECT_FALSE(general.IsAlpha(0x110000));
    EXPECT_TRUE(general.IsLower('a'));
    EXPECT_FALSE(general.IsLower('A'));
    EXPECT_TRUE(general.IsLower(0xE9));  // é
    EXPECT_TRUE(general.IsUpper('A'));
    EXPECT_FALSE(general.IsUpper('a'));
    EXPECT_TRUE(general.IsUpper(0xC9));   // É
    EXPECT_FALSE(general.IsUpper(0x1C5));  // ǅ is title case: neither
    EXPECT_FALSE(general.IsLower(0x1C5));
    EXPECT_FALSE(general.IsUpper('_'));
}

TEST(CGeneral, ColoursWithoutAnApplication)
{
    int32_t r, g, b;
    general.toRGB(0x00123456, r, g, b);
    EXPECT_EQ(r, 0x56);
    EXPECT_EQ(g, 0x34);
    EXPECT_EQ(b, 0x12);

    EXPECT_EQ(general.GetSysColor(15), 0x00C0C0C0u);
    EXPECT_EQ(general.GetSysColor(0x8000000F), 0x00C0C0C0u);
    EXPECT_EQ(general.GetSysColor(16), 0x00808080u);
    EXPECT_EQ(general.GetSysColor(5), 0x00FFFFFFu);
    EXPECT_EQ(general.GetSysColor(200), 0u);

    EXPECT_EQ(general.TranslateColor(0x00123456), 0x00123456);
    EXPECT_EQ(general.TranslateColor(0x8000000F), 0x00C0C0C0);
    EXPECT_EQ(general.TranslateColor(0x800000FF), -1);  // no such index
    EXPECT_EQ(general.TranslateColor(0x8000010F), -1);  // stray bits
    EXPECT_EQ(general.TranslateColor(0x02123456), 0x00123456);
    EXPECT_EQ(general.TranslateColor(0x01000005), -1);  // palette index, no palette

    EXPECT_EQ(general.ShadeColor(0x00000000), 0x00404040u);  // half the button shadow
    EXPECT_EQ(general.ShadeColor(0x00FFFFFF), 0x00C0C0C0u);  // the button face
    EXPECT_EQ(general.ShadeColor(0x00FF8080), 0x00C06060u);  // light: x * 192 / 255
    EXPECT_EQ(general.ShadeColor(0x00FF0000), 0x00FF4040u);  // dark: + 64, limited to 255
    EXPECT_EQ(general.ShadeColor(0x8000000F), general.ShadeColor(0x00C0C0C0));
}

TEST(CGeneral, ScreenAreaWithoutScreens)
{
    MONITORINFO info;
    info.rcMonitor = {1, 2, 3, 4};
    general.GetScreenArea(nullptr, info);
    EXPECT_EQ(info.cbSize, 40);
    EXPECT_EQ(info.rcWork.Right, 1024);
    EXPECT_EQ(info.rcWork.Bottom, 768);
    EXPECT_EQ(info.rcMonitor.Left, 1);  // only the work area is filled
    EXPECT_EQ(general.MessageBox(nullptr, "text", "caption", MB_OK), 0);
}

TEST(CGeneral, FileTimeToDateGivesLocalWholeSeconds)
{
    {
        TimeZone utc("UTC0");
        EXPECT_EQ(general.FileTimeToDate(kRaw), (DateTime{2026, 12, 7, 10, 30, 0}));
        EXPECT_EQ(general.FileTimeToDate(0), (DateTime{1601, 1, 1, 0, 0, 0}));
        EXPECT_EQ(general.FileTimeToDate(-1), (DateTime{1600, 12, 31, 23, 59, 59}));
    }
    TimeZone east("XYZ-2");  // two hours ahead of UTC
    EXPECT_EQ(general.FileTimeToDate(kRaw), (DateTime{2026, 12, 7, 12, 30, 0}));
}

TEST(CGeneral, DateTextUnderTheCLocale)
{
    std::setlocale(LC_TIME, "C");
    EXPECT_EQ((DateTime{2026, 12, 7, 9, 5, 3}).ToString(), "2026-12-07 09:05:03");
    if (std::setlocale(LC_TIME, "C.UTF-8") != nullptr) {
        EXPECT_EQ((DateTime{2026, 12, 7, 9, 5, 3}).ToString(), "2026-12-07 09:05:03");
    }
    std::setlocale(LC_TIME, "C");
}

TEST(CGeneral, DateTextFollowsTheLocale)
{
    const char* locales[] = {"en_US.UTF-8", "en_US.utf8", "de_DE.UTF-8", "de_DE.utf8"};
    const char* found = nullptr;
    for (const char* name : locales) {
        if (std::setlocale(LC_TIME, name) != nullptr) {
            found = name;
            break;
        }
    }
    if (found == nullptr)
        GTEST_SKIP() << "no locale besides C is installed";
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    t.tm_wday = 1;
    t.tm_yday = 340;
    char expected[128];
    std::strftime(expected, sizeof expected, "%x %X", &t);
    EXPECT_EQ((DateTime{2026, 12, 7, 9, 5, 3}).ToString(), expected);
    std::setlocale(LC_TIME, "C");
}

TEST(CGeneral, PlatformQueries)
{
    EXPECT_FALSE(general.IsNTOS());
    // The native library may lack these exports; nothing may break.
    setenv("BROWSER", "true", 1);
    EXPECT_NO_THROW(general.HelpWeb(eHelpWeb::FAQ));
    EXPECT_NO_THROW(general.NotifyAssocChange());
}

TEST(CGeneral, WaitCountNests)
{
    CGeneral own;
    EXPECT_EQ(own.WaitCount(), 0);
    EXPECT_EQ(own.WaitCountIncrement(), 1);
    EXPECT_EQ(own.WaitCountIncrement(), 2);
    EXPECT_EQ(own.WaitCountDecrement(), 1);
    EXPECT_EQ(own.WaitCountDecrement(), 0);
    EXPECT_EQ(own.WaitCountDecrement(), 0);  // never below zero
}
