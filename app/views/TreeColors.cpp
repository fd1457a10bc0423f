// Tree colours on the view's palette (Base behind the items, Text for their
// captions); a dynamic property on the view records that the program set one.
#include "app/views/TreeColors.h"

#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"
#include "controls/OleColor.h"

#include <QAbstractItemView>
#include <QApplication>

namespace velloran {

namespace {

constexpr uint32_t COLOR_WINDOW = 5;
constexpr uint32_t COLOR_WINDOWTEXT = 8;
constexpr uint32_t kDefaultColour = 0xFFFFFFFFu;

struct Channel {
    QPalette::ColorRole role;
    const char* property;
    uint32_t systemColour;
};

constexpr Channel kBack{QPalette::Base, "velloranBackColorSet", COLOR_WINDOW};
constexpr Channel kFore{QPalette::Text, "velloranForeColorSet", COLOR_WINDOWTEXT};

uint32_t Read(const QAbstractItemView* tree, const Channel& channel)
{
    if (tree == nullptr || !tree->property(channel.property).toBool())
        return quorvantell::ClassLibrary::Shared().General->GetSysColor(channel.systemColour);
    return quorvantell::OleColor::FromQColor(tree->palette().color(QPalette::Active, channel.role));
}

void Write(QAbstractItemView* tree, const Channel& channel, uint32_t colour)
{
    if (tree == nullptr)
        return;
    const bool reset = colour == kDefaultColour;
    const QBrush brush = reset ? QApplication::palette(tree).brush(channel.role)
                               : QBrush(quorvantell::OleColor::ToQColor(colour));
    QPalette palette = tree->palette();
    palette.setBrush(QPalette::Active, channel.role, brush);
    palette.setBrush(QPalette::Inactive, channel.role, brush);
    if (channel.role == QPalette::Base)  // a greyed tree keeps its background
        palette.setBrush(QPalette::Disabled, channel.role, brush);
    if (channel.role == QPalette::Text) {  // the branch arrows are drawn in the window-text colour
        palette.setBrush(QPalette::Active, QPalette::WindowText, brush);
        palette.setBrush(QPalette::Inactive, QPalette::WindowText, brush);
    }
    tree->setPalette(palette);
    tree->setProperty(channel.property, !reset);
}

}  // namespace

uint32_t TreeColors::BackColor(const QAbstractItemView* tree) { return Read(tree, kBack); }
void TreeColors::SetBackColor(QAbstractItemView* tree, uint32_t colour) { Write(tree, kBack, colour); }
uint32_t TreeColors::ForeColor(const QAbstractItemView* tree) { return Read(tree, kFore); }
void TreeColors::SetForeColor(QAbstractItemView* tree, uint32_t colour) { Write(tree, kFore, colour); }

}  // namespace velloran
