// StateImages: the pictures a report list shows before a row's icon for its
// state image 1..5 - the file is only on this side (a green disc), it is
// missing on this side (a grey ring), the left one is newer (an arrow to the
// right), the right one is newer (an arrow to the left), same time but a
// different size (an orange unequal sign). Drawn rather than loaded, so they
// stay sharp at any screen scale.
#pragma once

#include <QPixmap>

namespace velloran {

class StateImages {
public:
    static constexpr int kCount = 5;

    // 16 by 16 logical pixels; a null picture for a number outside 1..5.
    static QPixmap Picture(int index, qreal devicePixelRatio);
};

}  // namespace velloran
