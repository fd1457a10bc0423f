// XPShade: the shade rule the self-drawn button derives its edge, bevel and
// caption-effect colours with: an offset added to each channel of a colour.
#pragma once

#include <QColor>

namespace quorvantell {

class XPShade {
public:
    enum class Variant {
        Plain,      // every channel + offset
        DarkEdge,   // blue + offset x blue / 192, so blue faces keep their tint
        Inverted,   // every channel then becomes |255 - channel|
    };

    // Green and blue are first read as byte x 256 / 255, rounded; channels
    // are limited to 0..255. With avoidExtremes a pure black or white result
    // is shaded again with the offset negated (64 when it was 0).
    static QColor Apply(const QColor& colour, int offset, Variant variant = Variant::Plain, bool avoidExtremes = false);

private:
    static QColor ApplyOnce(const QColor& colour, int offset, Variant variant);
};

}  // namespace quorvantell
