// OptionsRecord: the program's settings record, stored whole as the 152-byte
// binary value "Options": little-endian, 16-bit booleans (-1 true, 0 false),
// colours 0x00BBGGRR, font sizes in fixed point (value x 10,000). A stored
// value of any other length is ignored as a whole.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace velloran {

struct OptionsRecord {
    static constexpr size_t kSize = 152;
    using Bytes = std::array<uint8_t, kSize>;

    std::array<uint32_t, 16> CustomColors{};
    uint32_t BackgroundColor = 0x006A0035;
    uint32_t TextColor = 0x00FFFFFF;
    uint32_t HotColor = 0;
    int64_t ConsoleFontSize = 0;  // points x 10,000
    int64_t OthFontSize = 0;      // points x 10,000
    int32_t ConsoleFontWeight = 0;
    int32_t OthFontWeight = 0;
    int32_t ErrorAction = 0;  // 0 ask, 1 ignore and continue, 2 stop
    int32_t SnapDistance = 12;
    int32_t FTPTolerance = 10;  // seconds
    int32_t RecentCount = 20;
    bool ShowInTray = true;
    bool HideFromTaskbar = false;
    bool ConsoleFontItalic = false;
    bool OthFontItalic = false;
    int16_t ConsoleFontCharset = 0;
    int16_t OthFontCharset = 0;
    bool ShowOneSidedDetails = false;
    int16_t LeftTimeOffset = 0;  // minutes added to left-side times in local mode
    bool UseEasyMove = true;
    bool SnapToEdges = true;
    bool OnTop = false;
    bool FilterDotFiles = false;
    int16_t Reserved = -1;  // kept as read, used by nothing
    bool IgnoreNewerOnServer = true;
    bool AssociateScripts = true;
    int16_t ProcessPriority = 2;  // 1 idle, 2 normal, 3 high
    int16_t ThreadPriority = 3;   // 1..5 lowest .. highest
    bool SaveOnExit = true;

    Bytes ToBytes() const;
    // The record held in bytes; false (and the record unchanged) unless
    // there are exactly kSize of them.
    bool FromBytes(const uint8_t* bytes, size_t length);

    bool operator==(const OptionsRecord&) const = default;
};

}  // namespace velloran
