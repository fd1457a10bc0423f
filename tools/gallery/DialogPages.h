// DialogPages: the first screens of the dialogs the native utility library
// shows - open, save, folder, colour, font, print and file properties -
// each opened the way the program opens it, photographed and closed.
#pragma once

#include "tools/gallery/GalleryPages.h"

namespace velloran::gallery {

class DialogPages {
public:
    static void AddTo(GalleryPages& pages);

private:
    static QWidget* OpenDialog();
    static QWidget* SaveDialog();
    static QWidget* FolderDialog();
    static QWidget* ColourDialog();
    static QWidget* FontDialog();
    static QWidget* PrintDialog();
    static QWidget* PropertiesDialog();
};

}  // namespace velloran::gallery
