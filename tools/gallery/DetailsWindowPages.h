// DetailsWindowPages: the file details window over two small sample trees
// that hold every kind of pair, filled by the engine in the difference view
// and in the all-files view, and the sync dialog over one pair of it.
#pragma once

#include "tools/gallery/GalleryPages.h"

namespace velloran::gallery {

class DetailsWindowPages {
public:
    static void AddTo(GalleryPages& pages);

private:
    static QWidget* Differences();
    static QWidget* AllFiles();
    static QWidget* SyncDialog();
};

}  // namespace velloran::gallery
