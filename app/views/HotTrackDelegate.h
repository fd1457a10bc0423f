// Hot tracking for a tree or list: the item under the mouse is drawn
// underlined in the hot-tracking colour.
#pragma once

#include <QStyledItemDelegate>

namespace velloran {

class HotTrackDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The colour the options dialog stores as "HotTrackingColor" under
    // "Control Panel\Colors" ("red green blue"); the system's hot-tracking
    // colour while there is none. Read once, again after Reload.
    static QColor HotColor();
    static void Reload();

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace velloran
