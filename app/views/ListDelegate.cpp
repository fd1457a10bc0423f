// ListDelegate. The lead of the first column gets the row's background and
// selection first; the rest of the cell is drawn as usual, narrowed by it.
#include "app/views/ListDelegate.h"

#include "app/views/ListModel.h"

#include <QApplication>
#include <QPainter>

namespace velloran {

void ListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int lead = Lead(option, index);
    if (lead == 0) {
        HotTrackDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem panel = option;
    initStyleOption(&panel, index);
    panel.text.clear();
    panel.icon = QIcon();
    panel.features = QStyleOptionViewItem::None;
    panel.state &= ~QStyle::State_HasFocus;
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &panel, painter, widget);

    const int image = index.data(ListModel::kStateImageRole).toInt();
    if (image >= 1 && image <= StateImages::kCount) {
        const int side = option.decorationSize.width();
        const int indent = index.data(ListModel::kIndentRole).toInt() * side;
        const QRect place(option.rect.left() + indent, option.rect.center().y() - side / 2, side, side);
        painter->drawPixmap(place, StatePicture(image, painter->device()->devicePixelRatioF()));
    }
    QStyleOptionViewItem rest = option;
    rest.rect.setLeft(option.rect.left() + lead);
    HotTrackDelegate::paint(painter, rest, index);
}

QSize ListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return HotTrackDelegate::sizeHint(option, index) + QSize(Lead(option, index), 0);
}

int ListDelegate::Lead(const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (index.column() != 0)
        return 0;
    const int side = option.decorationSize.width();
    const bool checkBoxes = index.data(Qt::CheckStateRole).isValid();
    return index.data(ListModel::kIndentRole).toInt() * side + (checkBoxes ? 0 : side);
}

const QPixmap& ListDelegate::StatePicture(int image, qreal devicePixelRatio) const
{
    if (devicePixelRatio != m_pictureRatio) {
        for (int i = 0; i < StateImages::kCount; ++i)
            m_pictures[i] = StateImages::Picture(i + 1, devicePixelRatio);
        m_pictureRatio = devicePixelRatio;
    }
    return m_pictures[image - 1];
}

}  // namespace velloran
