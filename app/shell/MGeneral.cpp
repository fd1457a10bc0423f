// MGeneral: fitting texts and the other windows' font.
#include "app/shell/MGeneral.h"

#include "app/engine/CSync.h"
#include "classlib/misc/CFont.h"
#include "controls/Twips.h"

#include <QFontMetrics>
#include <QWidget>

#include <cmath>

namespace velloran::MGeneral {

QString FitTextToWidth(int32_t width, const QWidget* widget, const std::string& text, Ellipsis style)
{
    const int pixels = static_cast<int>(std::lround(width * 0.96)) / quorvantell::Twips::WholePerPixelX(widget);
    return widget->fontMetrics().elidedText(QString::fromStdString(text),
                                            style == Ellipsis::Path ? Qt::ElideMiddle : Qt::ElideRight, pixels);
}

std::optional<QFont> OtherFont(const CSync& sync)
{
    if (sync.OthFont.empty())
        return std::nullopt;
    const OptionsRecord& options = sync.Options;
    quorvantell::CFont font;
    font.Name = sync.OthFont;
    font.Size = static_cast<int32_t>(options.OthFontSize / 10'000);
    font.Weight = options.OthFontWeight;
    font.Italic = options.OthFontItalic ? 1 : 0;
    font.Charset = static_cast<uint8_t>(options.OthFontCharset);
    return font.ToStdFont();
}

}  // namespace velloran::MGeneral
