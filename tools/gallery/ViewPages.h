// ViewPages: the gallery pages of the window helpers - the folder tree in
// the system's colours and in the program's own.
#pragma once

#include "tools/gallery/GalleryPages.h"

namespace velloran::gallery {

class ViewPages {
public:
    static void AddTo(GalleryPages& pages);

private:
    static QWidget* FolderTrees();
};

}  // namespace velloran::gallery
