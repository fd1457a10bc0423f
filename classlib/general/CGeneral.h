// CGeneral: small helpers every other class uses - a string comparison with
// its own case rule, splitting and counting, number, time and colour
// arithmetic, window and screen queries. Texts are byte strings (UTF-8 where
// they are text at all). Colours are 0x00BBGGRR; bit 31 marks a system colour.
#pragma once

#include "classlib/ClassLibObject.h"
#include "classlib/general/DateTime.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace quorvantell {

enum class eHelpWeb : int32_t { Main = 0, Community = 2, FAQ = 3, Feedback = 4, Bugs = 5 };

struct RECT {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct MONITORINFO {
    int32_t cbSize = 0;
    RECT rcMonitor;
    RECT rcWork;
    int32_t dwFlags = 0;
};

// Message box types and results with the platform's numbers.
constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_YESNO = 0x4;
constexpr uint32_t MB_ICONERROR = 0x10;
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONWARNING = 0x30;
constexpr uint32_t MB_ICONINFORMATION = 0x40;
constexpr int32_t IDOK = 1;
constexpr int32_t IDYES = 6;
constexpr int32_t IDNO = 7;

class CGeneral : public ClassLibObject {
public:
    // -1, 0 or 1. Case-insensitive: simple case folding of the UTF-8 text
    // (bytes that are not UTF-8 compare by value, after every character).
    // Case-sensitive: upper case sorts just before the same letter in lower
    // case (Apple, apple, Banana); distinct texts never compare equal.
    int32_t CompareStr(std::string_view a, std::string_view b, bool caseSensitive) const;
    // Local time, whole seconds.
    DateTime FileTimeToDate(int64_t FileTimeUTC) const;
    std::string StripTrailingNull(const std::string& srcString) const;

    // Throws std::overflow_error when the quotient leaves the 32-bit range,
    // std::domain_error when b is 0.
    int64_t BigMod(int64_t a, int64_t b) const;
    double Ceil(double expression) const;
    std::string CheckCaps(const std::string& str) const;
    // Throws std::invalid_argument for NaN, std::overflow_error beyond 64 bits.
    std::string ConvertBytes(double bytes) const;
    std::string ConvertTime(int64_t seconds) const;
    void GetScreenArea(QWidget* hWnd, MONITORINFO& screenArea) const;
    uint32_t GetSysColor(uint32_t SysCol) const;
    // On a character code (a Unicode code point).
    bool IsAlpha(int32_t ascii) const;
    bool IsLower(int32_t ascii) const;
    bool IsUpper(int32_t ascii) const;
    bool IsNTOS() const;
    // Do nothing when the native utility library lacks them.
    void HelpWeb(eHelpWeb site) const;
    void NotifyAssocChange() const;
    // Stops repainting of one window at a time; null unlocks. Nonzero on success.
    int32_t LockWindowUpdate(QWidget* hWndLock) const;
    double Max(double n1, double n2) const;
    double Min(double n1, double n2) const;
    double MinMax(double num, double Min, double Max) const;
    // IDOK, IDYES or IDNO; 0 when no widget application runs on this thread.
    int32_t MessageBox(QWidget* hWnd, const std::string& lpText, const std::string& lpCaption, uint32_t wType) const;
    uint32_t ShadeColor(uint32_t Color) const;
    // Both throw std::overflow_error when the result leaves the 32-bit range.
    int32_t ShiftLeft(int32_t i, int32_t bits) const;
    int32_t ShiftRight(int32_t i, int32_t bits) const;
    // dstString receives exactly nStrings pieces. Throws std::invalid_argument
    // when startChar (1-based) is below 1.
    void SplitString(const std::string& srcString, std::vector<std::string>& dstString, const std::string& Split,
                     int32_t& nStrings, int32_t startChar, bool endAtDoubleSplit) const;
    // Throws std::invalid_argument when startChar (1-based) is below 1.
    int32_t StrCount(const std::string& srcString, const std::string& Item, int32_t startChar) const;
    int32_t to24Hr(int32_t Hr, int32_t AM0PM1) const;
    void toRGB(uint32_t Color, int32_t& Red, int32_t& Green, int32_t& Blue) const;
    // A plain RGB colour; -1 when untranslatable.
    int64_t TranslateColor(uint32_t oClr, int32_t hPal = 0) const;

    // The wait-cursor nesting count of this thread (CWaitCursor only).
    int32_t WaitCountIncrement();
    int32_t WaitCountDecrement();
    int32_t WaitCount() const;

private:
    int32_t m_waitCount = 0;
};

}  // namespace quorvantell
