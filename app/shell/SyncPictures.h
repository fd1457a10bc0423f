// SyncPictures: the pictures of the main window's five sync buttons, drawn
// rather than loaded, so they stay sharp at any screen scale: an arrow in
// the direction of the copy, a plus where files are added, a red cross where
// they are deleted, plus-minus for the update.
#pragma once

#include <QPixmap>

namespace velloran {

class SyncPictures {
public:
    // The picture of sync button `index` (0..4), 16 by 16 logical pixels at
    // the given device pixel ratio.
    static QPixmap Picture(int index, qreal devicePixelRatio);
};

}  // namespace velloran
