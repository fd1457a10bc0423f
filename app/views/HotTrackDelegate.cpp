// Hot tracking: the hovered item's font and text colour.
#include "app/views/HotTrackDelegate.h"

#include "classlib/general/CGeneral.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "controls/OleColor.h"

#include <optional>
#include <sstream>

namespace velloran {

namespace {

constexpr uint32_t COLOR_HOTLIGHT = 26;

std::optional<QColor> g_hotColor;

// "red green blue", each 0..255; nothing for any other text.
std::optional<QColor> StoredColor(const std::string& text)
{
    std::istringstream in(text);
    int red = -1, green = -1, blue = -1;
    in >> red >> green >> blue;
    const auto channel = [](int c) { return c >= 0 && c <= 255; };
    if (in.fail() || !(in >> std::ws).eof() || !channel(red) || !channel(green) || !channel(blue))
        return std::nullopt;
    return QColor(red, green, blue);
}

}  // namespace

QColor HotTrackDelegate::HotColor()
{
    if (!g_hotColor) {
        const quorvantell::SharedInstances& shared = quorvantell::ClassLibrary::Shared();
        g_hotColor = StoredColor(shared.Registry->GetKeyStr(quorvantell::eRegBaseKey::HKCU, "Control Panel\\Colors",
                                                            "HotTrackingColor", ""));
        if (!g_hotColor)
            g_hotColor = quorvantell::OleColor::ToQColor(shared.General->GetSysColor(COLOR_HOTLIGHT));
    }
    return *g_hotColor;
}

void HotTrackDelegate::Reload()
{
    g_hotColor.reset();
}

void HotTrackDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!option->state.testFlag(QStyle::State_MouseOver) || option->state.testFlag(QStyle::State_Selected))
        return;
    option->font.setUnderline(true);
    option->palette.setColor(QPalette::Text, HotColor());
}

}  // namespace velloran
