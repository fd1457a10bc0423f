// SyncPictures: the pictures of the main window's five sync buttons and of
// the sync dialog's seven direction codes, drawn rather than loaded, so they
// stay sharp at any screen scale: an arrow in the direction of the copy, a
// plus where files are added, a red cross where they are deleted, plus-minus
// for the update, a barred circle for skipping a file.
#pragma once

#include <QPixmap>

#include <string>

namespace velloran {

class SyncPictures {
public:
    // The picture of sync button `index` (0..4), 16 by 16 logical pixels at
    // the given device pixel ratio.
    static QPixmap Picture(int index, qreal devicePixelRatio);
    // The picture of a direction code (">", "<", ">+", "+<", "-<", ">-",
    // "S"), the same size; a null picture for any other text.
    static QPixmap Direction(const std::string& code, qreal devicePixelRatio);
};

}  // namespace velloran
