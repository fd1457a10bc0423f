// ListDelegate: draws a report list's rows - the hot-tracked row as every
// list and tree does, and in the first column the row's indentation and the
// place of its state image (a picture of StateImages, or nothing) before
// its icon and text; with check boxes on, the box takes that place.
#pragma once

#include "app/views/HotTrackDelegate.h"
#include "app/views/StateImages.h"

#include <array>

namespace velloran {

class ListDelegate : public HotTrackDelegate {
public:
    using HotTrackDelegate::HotTrackDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // The pixels before the icon: indentation and the state image's place.
    static int Lead(const QStyleOptionViewItem& option, const QModelIndex& index);
    const QPixmap& StatePicture(int image, qreal devicePixelRatio) const;

    mutable std::array<QPixmap, StateImages::kCount> m_pictures;
    mutable qreal m_pictureRatio = 0;
};

}  // namespace velloran
