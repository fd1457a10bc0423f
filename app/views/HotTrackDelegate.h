// Hot tracking for a tree: the item under the mouse is drawn underlined in
// the system's hot-tracking colour.
#pragma once

#include <QStyledItemDelegate>

namespace velloran {

class HotTrackDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace velloran
