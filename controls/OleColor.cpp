// Stored colour values <-> QColor.
#include "controls/OleColor.h"

#include "classlib/general/CGeneral.h"
#include "controls/ControlLibrary.h"

namespace quorvantell {

QColor OleColor::ToQColor(uint32_t oleColour)
{
    const int64_t rgb = ControlLibrary::General().TranslateColor(oleColour);
    if (rgb < 0)
        return QColor(Qt::black);
    const auto value = static_cast<uint32_t>(rgb);
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

uint32_t OleColor::FromQColor(const QColor& colour)
{
    return FromRgb(colour.red(), colour.green(), colour.blue());
}

uint32_t OleColor::FromRgb(int red, int green, int blue)
{
    return static_cast<uint32_t>(red & 0xFF) | (static_cast<uint32_t>(green & 0xFF) << 8) |
           (static_cast<uint32_t>(blue & 0xFF) << 16);
}

}  // namespace quorvantell
