// MGeneral: fitting texts, the settings' colours and fonts.
#include "app/shell/MGeneral.h"

#include "app/engine/CSync.h"
#include "classlib/misc/CFont.h"
#include "controls/OleColor.h"
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

void SetFieldColors(QWidget* field, uint32_t background, uint32_t text)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, quorvantell::OleColor::ToQColor(background));
    palette.setColor(QPalette::Text, quorvantell::OleColor::ToQColor(text));
    field->setPalette(palette);
}

namespace {

std::optional<QFont> SettingsFont(const std::string& name, int64_t size, int32_t weight, bool italic,
                                  int16_t charset)
{
    if (name.empty())
        return std::nullopt;
    quorvantell::CFont font;
    font.Name = name;
    font.Size = static_cast<int32_t>(size / 10'000);
    font.Weight = weight;
    font.Italic = italic ? 1 : 0;
    font.Charset = static_cast<uint8_t>(charset);
    return font.ToStdFont();
}

}  // namespace

std::optional<QFont> OtherFont(const CSync& sync)
{
    const OptionsRecord& o = sync.Options;
    return SettingsFont(sync.OthFont, o.OthFontSize, o.OthFontWeight, o.OthFontItalic, o.OthFontCharset);
}

std::optional<QFont> ConsoleFont(const CSync& sync)
{
    const OptionsRecord& o = sync.Options;
    return SettingsFont(sync.ConsoleFont, o.ConsoleFontSize, o.ConsoleFontWeight, o.ConsoleFontItalic,
                        o.ConsoleFontCharset);
}

}  // namespace velloran::MGeneral
