// OptionsPages: the options dialog with each of its eleven pages shown, as
// a fresh installation fills it.
#pragma once

#include "tools/gallery/GalleryPages.h"

namespace velloran::gallery {

class OptionsPages {
public:
    static void AddTo(GalleryPages& pages);
};

}  // namespace velloran::gallery
