// HotKeyImageListPages: the gallery pages of the hot-key field, the image
// list drawn in its four looks, and the image list's two property pages.
#pragma once

#include "tools/gallery/GalleryPages.h"

namespace velloran::gallery {

class HotKeyImageListPages {
public:
    static void AddTo(GalleryPages& pages);

private:
    static QWidget* HotKeys();
    static QWidget* ImageList();
    static QWidget* ControlPage();
    static QWidget* ImagesPage();
};

}  // namespace velloran::gallery
