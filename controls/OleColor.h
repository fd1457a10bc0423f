// OleColor: the program's stored colours (0x00BBGGRR, bit 31 marking a system
// colour index) turned into QColor through the shared CGeneral, and back.
#pragma once

#include <QColor>

#include <cstdint>

namespace quorvantell {

class OleColor {
public:
    static constexpr uint32_t kSystemFlag = 0x80000000u;
    // System colour indexes the controls use.
    static constexpr uint32_t kButtonFace = kSystemFlag | 15u;
    static constexpr uint32_t kButtonShadow = kSystemFlag | 16u;
    static constexpr uint32_t kButtonText = kSystemFlag | 18u;

    // The colour as shown; black when the value cannot be translated.
    static QColor ToQColor(uint32_t oleColour);
    // A plain 0x00BBGGRR value.
    static uint32_t FromQColor(const QColor& colour);
    static uint32_t FromRgb(int red, int green, int blue);
};

}  // namespace quorvantell
