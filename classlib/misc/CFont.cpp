// CFont <-> QFont.
#include "classlib/misc/CFont.h"

#include <QFont>

#include <algorithm>
#include <cmath>

namespace quorvantell {

namespace {

constexpr uint8_t kDefaultCharset = 1;

// Pixel-sized fonts have no point size of their own; 72 points per inch at
// the usual 96 pixels per inch.
double PointSize(const QFont& font)
{
    return font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
}

}  // namespace

void CFont::FromStdFont(const QFont& s)
{
    Charset = kDefaultCharset;
    Italic = s.italic() ? 1 : 0;
    Name = s.family().toStdString();
    Size = static_cast<int32_t>(std::nearbyint(PointSize(s)));  // the default rounding mode: halves to even
    Strikethrough = s.strikeOut() ? 1 : 0;
    Underline = s.underline() ? 1 : 0;
    Weight = static_cast<int32_t>(s.weight());
}

QFont CFont::ToStdFont() const
{
    QFont font;
    font.setFamily(QString::fromStdString(Name));
    if (Size > 0)
        font.setPointSize(Size);
    font.setItalic(Italic != 0);
    font.setStrikeOut(Strikethrough != 0);
    font.setUnderline(Underline != 0);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(Weight > 0 ? Weight : 400, 1, 1000)));
    return font;
}

}  // namespace quorvantell
