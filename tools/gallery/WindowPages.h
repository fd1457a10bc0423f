// WindowPages: the program's smaller windows as the user meets them - the
// error log after a run with errors, and the About box.
#pragma once

#include "tools/gallery/GalleryPages.h"

namespace velloran::gallery {

class WindowPages {
public:
    static void AddTo(GalleryPages& pages);

private:
    static QWidget* ErrorLog();
    static QWidget* About();
};

}  // namespace velloran::gallery
