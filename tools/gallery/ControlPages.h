// ControlPages: the gallery pages of the control library - the button
// shapes, states, pictures, captions and gradients, and the splitter.
#pragma once

#include "tools/gallery/GalleryPages.h"

class QGridLayout;

namespace velloran::gallery {

class ControlPages {
public:
    static void AddTo(GalleryPages& pages);
    // A page of the grid, with the control pages' spacing and margins.
    static QWidget* Page(QGridLayout* grid);

private:
    static QWidget* Shapes();
    static QWidget* States();
    static QWidget* Pictures();
    static QWidget* Captions();
    static QWidget* Gradients();
    static QWidget* Splitters();
};

}  // namespace velloran::gallery
