// MainWindowPages: the program's main window on a small sample of real
// folders, in local mode and in FTP mode with a site filled in.
#pragma once

#include "tools/gallery/GalleryPages.h"

#include <string>

namespace velloran::gallery {

class MainWindowPages {
public:
    static void AddTo(GalleryPages& pages);
    // The pages show these folders instead of their own sample.
    static void UseFolders(const std::string& left, const std::string& right);
};

}  // namespace velloran::gallery
