// Hot tracking: the hovered item's font and text colour.
#include "app/views/HotTrackDelegate.h"

#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"
#include "controls/OleColor.h"

namespace velloran {

namespace {

constexpr uint32_t COLOR_HOTLIGHT = 26;

}  // namespace

void HotTrackDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!option->state.testFlag(QStyle::State_MouseOver) || option->state.testFlag(QStyle::State_Selected))
        return;
    option->font.setUnderline(true);
    const QColor hot = quorvantell::OleColor::ToQColor(
        quorvantell::ClassLibrary::Shared().General->GetSysColor(COLOR_HOTLIGHT));
    option->palette.setColor(QPalette::Text, hot);
}

}  // namespace velloran
