// CGeneral: the class library's small helpers; see CGeneral.h.
#include "classlib/general/CGeneral.h"

#include "classlib/files/FileTime.h"
#include "classlib/general/Utf8.h"
#include "utils/UtilsImport.h"

#include <QApplication>
#include <QChar>
#include <QMessageBox>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>

namespace quorvantell {

namespace {

// ---- Characters -------------------------------------------------------------

bool IsCodePoint(int64_t code)
{
    return code >= 0 && code <= 0x10FFFF;
}

// The ordering key of a character. Case-insensitive comparison uses the
// simple case folding of Unicode, the same everywhere and for every user,
// instead of the locale's collation: the order of a file list must not
// change with the desktop language, and folding needs no allocation. Bytes
// that are not UTF-8 are not folded.
char32_t Fold(char32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    return utf8::IsInvalidByte(c) ? c : QChar::toCaseFolded(c);
}

// Upper case: upper-casing keeps it and lower-casing changes it.
bool IsUpperChar(char32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z';
    return !utf8::IsInvalidByte(c) && QChar::toUpper(c) == c && QChar::toLower(c) != c;
}

bool IsWordSeparator(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\0';
}

// Length of the common prefix of two byte ranges, eight bytes at a time.
size_t CommonPrefix(const char* a, const char* b, size_t length)
{
    size_t k = 0;
    for (; k + 8 <= length; k += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + k, 8);
        std::memcpy(&y, b + k, 8);
        if (x != y) {
            const uint64_t diff = x ^ y;
            if constexpr (std::endian::native == std::endian::little)
                return k + static_cast<size_t>(std::countr_zero(diff)) / 8;
            else
                return k + static_cast<size_t>(std::countl_zero(diff)) / 8;
        }
    }
    while (k < length && a[k] == b[k])
        ++k;
    return k;
}

// How far two texts, both at a character boundary, can be skipped because
// their bytes are the same: the common prefix, cut back to the start of the
// character that the first differing byte may belong to. Every byte that is
// not a continuation byte starts a character (see Utf8.h), and a character
// is at most four bytes long.
size_t SameBytesToSkip(const char* a, const char* b, size_t length)
{
    const size_t same = CommonPrefix(a, b, length);
    if (same == 0 || static_cast<unsigned char>(a[same - 1]) < 0x80)
        return same;
    for (size_t back = 1; back <= 3 && back <= same; ++back) {
        if ((static_cast<unsigned char>(a[same - back]) & 0xC0) != 0x80)
            return same - back;
    }
    return same;
}

// Maps every character of the text (bytes that are not UTF-8 stay).
template <typename Map>
std::string MapChars(const std::string& text, Map map)
{
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const char32_t c = utf8::Next(text, pos);
        utf8::Append(out, utf8::IsInvalidByte(c) ? c : map(c));
    }
    return out;
}

// ---- Numbers ----------------------------------------------------------------

// Rounds to the nearest integer with halves to even (the default rounding
// mode) and checks the 32-bit range.
int32_t RoundToInt32(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX))
        throw std::overflow_error("Overflow");
    return static_cast<int32_t>(rounded);
}

// 2^bits beyond +-1100 gives the same result as +-1100 for any 32-bit value.
int32_t ScaleByPowerOfTwo(int32_t i, int32_t bits)
{
    return RoundToInt32(std::ldexp(static_cast<double>(i), std::clamp(bits, -1100, 1100)));
}

// a / b rounded to the nearest integer, halves to even.
__int128 RoundedQuotient(__int128 a, __int128 b)
{
    __int128 q = a / b;
    const __int128 r = a % b;
    const __int128 twiceRest = 2 * (r < 0 ? -r : r);
    const __int128 divisor = b < 0 ? -b : b;
    if (twiceRest > divisor || (twiceRest == divisor && (q & 1) != 0))
        q += (r < 0) != (b < 0) ? -1 : 1;
    return q;
}

size_t StartIndex(int32_t startChar)
{
    if (startChar < 1)
        throw std::invalid_argument("startChar must be 1 or more");
    return static_cast<size_t>(startChar) - 1;
}

// ---- Colours ----------------------------------------------------------------

constexpr uint32_t kSystemColourFlag = 0x80000000u;
constexpr uint32_t kSystemColourCount = 31;  // indexes 0 .. 30

struct SystemColour {
    int role;        // QPalette::ColorRole, or -1 when the palette has no counterpart
    bool disabled;   // taken from the disabled colour group
    uint32_t classic;  // the classic desktop scheme, used without an application
};

constexpr int kNoRole = -1;

// Indexed by the system colour number.
constexpr SystemColour kSystemColours[kSystemColourCount] = {
    {QPalette::Button, false, 0x00C0C0C0},           // 0 scroll bar
    {kNoRole, false, 0x00808000},                    // 1 desktop
    {QPalette::Highlight, false, 0x00800000},        // 2 active caption
    {kNoRole, false, 0x00808080},                    // 3 inactive caption
    {QPalette::Window, false, 0x00C0C0C0},           // 4 menu
    {QPalette::Base, false, 0x00FFFFFF},             // 5 window
    {QPalette::Shadow, false, 0x00000000},           // 6 window frame
    {QPalette::WindowText, false, 0x00000000},       // 7 menu text
    {QPalette::Text, false, 0x00000000},             // 8 window text
    {QPalette::HighlightedText, false, 0x00FFFFFF},  // 9 caption text
    {QPalette::Window, false, 0x00C0C0C0},           // 10 active border
    {QPalette::Window, false, 0x00C0C0C0},           // 11 inactive border
    {QPalette::Dark, false, 0x00808080},             // 12 application workspace
    {QPalette::Highlight, false, 0x00800000},        // 13 highlight
    {QPalette::HighlightedText, false, 0x00FFFFFF},  // 14 highlighted text
    {QPalette::Button, false, 0x00C0C0C0},           // 15 button face
    {QPalette::Dark, false, 0x00808080},             // 16 button shadow
    {QPalette::Text, true, 0x00808080},              // 17 gray text
    {QPalette::ButtonText, false, 0x00000000},       // 18 button text
    {kNoRole, false, 0x00C0C0C0},                    // 19 inactive caption text
    {QPalette::Light, false, 0x00FFFFFF},            // 20 button highlight
    {QPalette::Shadow, false, 0x00000000},           // 21 3-D dark shadow
    {QPalette::Midlight, false, 0x00DFDFDF},         // 22 3-D light
    {QPalette::ToolTipText, false, 0x00000000},      // 23 info text
    {QPalette::ToolTipBase, false, 0x00E1FFFF},      // 24 info background
    {kNoRole, false, 0x00000000},                    // 25 (unused)
    {QPalette::Link, false, 0x00800000},             // 26 hot light
    {kNoRole, false, 0x00D08410},                    // 27 active caption gradient
    {kNoRole, false, 0x00C0C0C0},                    // 28 inactive caption gradient
    {QPalette::Highlight, false, 0x00800000},        // 29 menu highlight
    {QPalette::Window, false, 0x00C0C0C0},           // 30 menu bar
};

uint32_t ToColorRef(const QColor& colour)
{
    return static_cast<uint32_t>(colour.red()) | static_cast<uint32_t>(colour.green()) << 8 |
           static_cast<uint32_t>(colour.blue()) << 16;
}

bool HasGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

RECT ToRect(const QRect& r)
{
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

// ---- Windows ----------------------------------------------------------------

// The one window whose repainting is stopped (as the platform allows one).
QPointer<QWidget> g_lockedWindow;

QMessageBox::Icon IconFor(uint32_t wType)
{
    switch (wType & 0xF0) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

}  // namespace

// ---- Texts ------------------------------------------------------------------

int32_t CGeneral::CompareStr(std::string_view a, std::string_view b, bool caseSensitive) const
{
    size_t i = 0, j = 0;
    for (;;) {
        const size_t step = SameBytesToSkip(a.data() + i, b.data() + j, std::min(a.size() - i, b.size() - j));
        i += step;
        j += step;
        if (i >= a.size() || j >= b.size())
            break;
        char32_t ca, cb;
        const auto byteA = static_cast<unsigned char>(a[i]);
        const auto byteB = static_cast<unsigned char>(b[j]);
        if ((byteA | byteB) < 0x80) {
            ca = byteA;
            cb = byteB;
            ++i;
            ++j;
        } else {
            ca = utf8::Next(a, i);
            cb = utf8::Next(b, j);
        }
        if (ca == cb)
            continue;
        const char32_t foldA = Fold(ca), foldB = Fold(cb);
        if (foldA != foldB)
            return foldA < foldB ? -1 : 1;
        if (!caseSensitive)
            continue;
        // Same letter in another case: the capital first. Two forms that
        // are both capitals or both not (σ and ς) go by code point, so that
        // distinct texts never compare equal.
        const bool upperA = IsUpperChar(ca), upperB = IsUpperChar(cb);
        if (upperA != upperB)
            return upperA ? -1 : 1;
        return ca < cb ? -1 : 1;
    }
    const bool restA = i < a.size(), restB = j < b.size();
    return restA == restB ? 0 : (restA ? 1 : -1);
}

DateTime CGeneral::FileTimeToDate(int64_t FileTimeUTC) const
{
    int64_t seconds = FileTimeUTC / kTicksPerSecond;
    if (FileTimeUTC % kTicksPerSecond < 0)
        --seconds;  // whole seconds toward the past, also before 1601
    const std::time_t unixTime = static_cast<std::time_t>(seconds - kEpochDifferenceSeconds);
    std::tm local{};
    if (localtime_r(&unixTime, &local) == nullptr)
        return DateTime{};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::string CGeneral::StripTrailingNull(const std::string& srcString) const
{
    return srcString.substr(0, srcString.find('\0'));
}

std::string CGeneral::CheckCaps(const std::string& str) const
{
    bool allCapitals = true, hasLetter = false;
    for (size_t pos = 0; pos < str.size() && allCapitals;) {
        const char32_t c = utf8::Next(str, pos);
        if (utf8::IsInvalidByte(c))
            continue;
        allCapitals = QChar::toUpper(c) == c;
        hasLetter = hasLetter || QChar::toLower(c) != c;
    }
    if (!allCapitals || !hasLetter)
        return str;
    bool wordStart = true;
    return MapChars(str, [&wordStart](char32_t c) {
        const char32_t mapped = wordStart ? QChar::toTitleCase(c) : QChar::toLower(c);
        wordStart = IsWordSeparator(c);
        return mapped;
    });
}

void CGeneral::SplitString(const std::string& srcString, std::vector<std::string>& dstString,
                           const std::string& Split, int32_t& nStrings, int32_t startChar, bool endAtDoubleSplit) const
{
    size_t start = StartIndex(startChar);
    nStrings = 0;
    dstString.clear();
    if (Split.empty())  // an empty separator would be found forever
        return;
    for (size_t found = srcString.find(Split, start); found != std::string::npos;
         found = srcString.find(Split, start)) {
        if (endAtDoubleSplit && found == start)
            break;
        dstString.push_back(srcString.substr(start, found - start));
        ++nStrings;
        start = found + Split.size();
    }
}

int32_t CGeneral::StrCount(const std::string& srcString, const std::string& Item, int32_t startChar) const
{
    size_t start = StartIndex(startChar);
    if (Item.empty())
        return 0;
    int32_t count = 0;
    for (size_t found = srcString.find(Item, start); found != std::string::npos;
         found = srcString.find(Item, found + Item.size()))
        ++count;
    return count;
}

bool CGeneral::IsAlpha(int32_t ascii) const
{
    return IsCodePoint(ascii) && QChar::toLower(static_cast<char32_t>(ascii)) != QChar::toUpper(static_cast<char32_t>(ascii));
}

bool CGeneral::IsLower(int32_t ascii) const
{
    const auto c = static_cast<char32_t>(ascii);
    return IsCodePoint(ascii) && QChar::toLower(c) == c && QChar::toUpper(c) != c;
}

bool CGeneral::IsUpper(int32_t ascii) const
{
    return IsCodePoint(ascii) && IsUpperChar(static_cast<char32_t>(ascii));
}

// ---- Numbers and formatting ---------------------------------------------------

int64_t CGeneral::BigMod(int64_t a, int64_t b) const
{
    if (b == 0)
        throw std::domain_error("Division by zero");
    const __int128 q = RoundedQuotient(a, b);
    if (q < INT32_MIN || q > INT32_MAX)
        throw std::overflow_error("Overflow");
    __int128 result = a - static_cast<__int128>(b) * q;
    if (result < 0)
        result += b;
    if (result < INT64_MIN || result > INT64_MAX)
        throw std::overflow_error("Overflow");
    return static_cast<int64_t>(result);
}

// A true ceiling: "integer part plus 1" would give 0 for -1.5.
double CGeneral::Ceil(double expression) const
{
    return std::ceil(expression);
}

// Three significant digits in 1024-based units, as the desktop shell shows
// sizes: 532 bytes, 1.50 KB, 10.5 KB, 117 MB. Digits beyond the third are
// cut off, not rounded (1.999 KB stays "1.99 KB"), as the shell's formatter
// does; from 1000 of a unit on the next unit is used (1000 KB is "0.97 MB").
std::string CGeneral::ConvertBytes(double bytes) const
{
    if (std::isnan(bytes))
        throw std::invalid_argument("ConvertBytes: not a number");
    const double whole = std::nearbyint(bytes);
    if (!(whole >= -0x1p63 && whole < 0x1p63))
        throw std::overflow_error("Overflow");
    const auto count = static_cast<int64_t>(whole);
    if (count < 1024)
        return std::to_string(count) + " bytes";

    static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    const auto value = static_cast<unsigned __int128>(count);
    unsigned __int128 unit = 1024;
    size_t k = 0;
    while (k + 1 < std::size(kUnits) && value >= 1000 * unit) {
        unit <<= 10;
        ++k;
    }
    const auto integer = static_cast<uint64_t>(value / unit);
    const int decimals = integer < 10 ? 2 : integer < 100 ? 1 : 0;
    const uint64_t scale = decimals == 2 ? 100 : decimals == 1 ? 10 : 1;
    const auto scaled = static_cast<uint64_t>(value * scale / unit);
    char text[40];
    if (decimals == 0)
        std::snprintf(text, sizeof text, "%llu %s", static_cast<unsigned long long>(scaled), kUnits[k]);
    else
        std::snprintf(text, sizeof text, "%llu.%0*llu %s", static_cast<unsigned long long>(scaled / scale), decimals,
                      static_cast<unsigned long long>(scaled % scale), kUnits[k]);
    return text;
}

// Elapsed time: m:SS, h:MM:SS or Nd h:MM:SS.
std::string CGeneral::ConvertTime(int64_t seconds) const
{
    const uint64_t total = seconds < 0 ? 0 - static_cast<uint64_t>(seconds) : static_cast<uint64_t>(seconds);
    const unsigned long long minutes = total / 60, secs = total % 60;
    char text[64];
    if (total >= 86400)
        std::snprintf(text, sizeof text, "%llud %llu:%02llu:%02llu", minutes / 1440, (minutes / 60) % 24, minutes % 60,
                      secs);
    else if (total >= 3600)
        std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", minutes / 60, minutes % 60, secs);
    else
        std::snprintf(text, sizeof text, "%llu:%02llu", minutes, secs);
    return (seconds < 0 ? "-" : "") + std::string(text);
}

double CGeneral::Max(double n1, double n2) const
{
    return n1 > n2 ? n1 : n2;
}

double CGeneral::Min(double n1, double n2) const
{
    return n1 < n2 ? n1 : n2;
}

double CGeneral::MinMax(double num, double Min, double Max) const
{
    return num < Min ? Min : (num > Max ? Max : num);
}

int32_t CGeneral::ShiftLeft(int32_t i, int32_t bits) const
{
    return ScaleByPowerOfTwo(i, bits);
}

int32_t CGeneral::ShiftRight(int32_t i, int32_t bits) const
{
    return ScaleByPowerOfTwo(i, bits == INT32_MIN ? INT32_MAX : -bits);
}

int32_t CGeneral::to24Hr(int32_t Hr, int32_t AM0PM1) const
{
    if (AM0PM1 == 0)
        return Hr == 12 ? 0 : Hr;
    return Hr == 12 ? 12 : Hr + 12;
}

// ---- Colours ----------------------------------------------------------------

void CGeneral::toRGB(uint32_t Color, int32_t& Red, int32_t& Green, int32_t& Blue) const
{
    Red = static_cast<int32_t>(Color & 0xFF);
    Green = static_cast<int32_t>((Color >> 8) & 0xFF);
    Blue = static_cast<int32_t>((Color >> 16) & 0xFF);
}

// From the application's palette; without a GUI application the classic
// scheme, so that the result never depends on what happens to be running.
uint32_t CGeneral::GetSysColor(uint32_t SysCol) const
{
    const uint32_t index = SysCol & 0xFF;
    if (index >= kSystemColourCount)
        return 0;
    const SystemColour& entry = kSystemColours[index];
    if (entry.role == kNoRole || !HasGuiApplication())
        return entry.classic;
    const QPalette palette = QGuiApplication::palette();
    return ToColorRef(palette.color(entry.disabled ? QPalette::Disabled : QPalette::Active,
                                     static_cast<QPalette::ColorRole>(entry.role)));
}

int64_t CGeneral::TranslateColor(uint32_t oClr, int32_t /*hPal*/) const
{
    switch (oClr >> 24) {
    case 0x00:  // plain RGB
        return oClr;
    case 0x02:  // palette-relative RGB: the RGB part
        return oClr & 0x00FFFFFF;
    case 0x80:  // system colour: a valid index in the low byte, nothing else
        if ((oClr & 0x00FFFF00) != 0 || (oClr & 0xFF) >= kSystemColourCount)
            return -1;
        return GetSysColor(oClr);
    default:  // palette indexes (no palettes here) and anything else
        return -1;
    }
}

// Dark colours are lightened towards the button shadow, light ones darkened
// by the button face. A system colour is resolved first so that its index is
// not mistaken for a dark red.
uint32_t CGeneral::ShadeColor(uint32_t Color) const
{
    if ((Color & kSystemColourFlag) != 0) {
        if (const int64_t plain = TranslateColor(Color); plain >= 0)
            Color = static_cast<uint32_t>(plain);
    }
    int32_t red, green, blue;
    toRGB(Color, red, green, blue);
    const bool dark = (red + green + blue) / 3 <= 128;
    int32_t refRed, refGreen, refBlue;
    toRGB(GetSysColor(dark ? 16 : 15), refRed, refGreen, refBlue);
    const auto shade = [dark](int32_t channel, int32_t reference) {
        const double value = dark ? channel + reference / 2.0 : channel * reference / 255.0;
        return static_cast<uint32_t>(std::min(255.0, std::nearbyint(value)));
    };
    return shade(red, refRed) | shade(green, refGreen) << 8 | shade(blue, refBlue) << 16;
}

// ---- Screens and windows ------------------------------------------------------

void CGeneral::GetScreenArea(QWidget* hWnd, MONITORINFO& screenArea) const
{
    screenArea.cbSize = 40;
    QScreen* screen = nullptr;
    if (HasGuiApplication())
        screen = hWnd != nullptr ? hWnd->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        screenArea.rcWork = {0, 0, 1024, 768};
        return;
    }
    screenArea.rcMonitor = ToRect(screen->geometry());
    screenArea.rcWork = ToRect(screen->availableGeometry());
    screenArea.dwFlags = screen == QGuiApplication::primaryScreen() ? 1 : 0;  // MONITORINFOF_PRIMARY
}

// Locking while another window is locked fails; unlocking always succeeds.
int32_t CGeneral::LockWindowUpdate(QWidget* hWndLock) const
{
    if (hWndLock == nullptr) {
        if (g_lockedWindow)
            g_lockedWindow->setUpdatesEnabled(true);
        g_lockedWindow = nullptr;
        return 1;
    }
    if (g_lockedWindow)
        return 0;
    hWndLock->setUpdatesEnabled(false);
    g_lockedWindow = hWndLock;
    return 1;
}

int32_t CGeneral::MessageBox(QWidget* hWnd, const std::string& lpText, const std::string& lpCaption,
                             uint32_t wType) const
{
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr || QThread::currentThread() != app->thread())
        return 0;
    // Texts are built with CR LF; the screen wants plain line feeds.
    const QString text = QString::fromUtf8(lpText.data(), static_cast<qsizetype>(lpText.size())).replace("\r\n", "\n");
    const auto buttons = (wType & 0xF) == MB_YESNO ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    QMessageBox box(IconFor(wType), QString::fromUtf8(lpCaption.data(), static_cast<qsizetype>(lpCaption.size())),
                    text, buttons, hWnd);
    const int answer = box.exec();
    return answer == QMessageBox::Yes ? IDYES : answer == QMessageBox::No ? IDNO : IDOK;
}

// ---- Platform -----------------------------------------------------------------

// The question is whether the NT family of kernels runs; it never does here.
// Callers take it to choose NT-only services, which have their own
// counterparts on this platform.
bool CGeneral::IsNTOS() const
{
    return false;
}

void CGeneral::HelpWeb(eHelpWeb site) const
{
    try {
        utils::OpenWebPage(static_cast<int32_t>(site));
    } catch (const UtilsMissing&) {
        // Without the native library there is no page to open.
    }
}

void CGeneral::NotifyAssocChange() const
{
    try {
        utils::NotifyAssocChanged();
    } catch (const UtilsMissing&) {
        // Without the native library nobody is told; nothing else breaks.
    }
}

// ---- Wait-cursor count ----------------------------------------------------------

int32_t CGeneral::WaitCountIncrement()
{
    return ++m_waitCount;
}

int32_t CGeneral::WaitCountDecrement()
{
    if (m_waitCount > 0)
        --m_waitCount;
    return m_waitCount;
}

int32_t CGeneral::WaitCount() const
{
    return m_waitCount;
}

}  // namespace quorvantell
