// The button's shade rule.
#include "controls/XPShade.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quorvantell {

namespace {

int Widened(int channel)
{
    return static_cast<int>(std::lround(channel * 256.0 / 255.0));
}

int Limited(int channel)
{
    return std::clamp(channel, 0, 255);
}

bool IsExtreme(const QColor& colour)
{
    const QRgb rgb = colour.rgb() & 0xFFFFFFu;
    return rgb == 0u || rgb == 0xFFFFFFu;
}

}  // namespace

QColor XPShade::ApplyOnce(const QColor& colour, int offset, Variant variant)
{
    const int green = Widened(colour.green());
    const int blue = Widened(colour.blue());
    int r = Limited(colour.red() + offset);
    int g = Limited(green + offset);
    int b = Limited(variant == Variant::DarkEdge ? blue + offset * blue / 192 : blue + offset);
    if (variant == Variant::Inverted) {
        r = std::abs(255 - r);
        g = std::abs(255 - g);
        b = std::abs(255 - b);
    }
    return QColor(r, g, b);
}

QColor XPShade::Apply(const QColor& colour, int offset, Variant variant, bool avoidExtremes)
{
    const QColor shaded = ApplyOnce(colour, offset, variant);
    if (!avoidExtremes || !IsExtreme(shaded))
        return shaded;
    return ApplyOnce(colour, offset == 0 ? 64 : -offset, variant);
}

}  // namespace quorvantell
