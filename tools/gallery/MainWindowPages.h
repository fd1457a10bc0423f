// MainWindowPages: the program's main window on a small sample of real
// folders, in local mode and in FTP mode with a site filled in.
#pragma once

#include "tools/gallery/GalleryPages.h"

namespace velloran::gallery {

class MainWindowPages {
public:
    static void AddTo(GalleryPages& pages);
};

}  // namespace velloran::gallery
