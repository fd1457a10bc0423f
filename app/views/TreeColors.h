// Background and text colour of a tree view, kept as the tree-view control
// keeps them: a colour set by the program, or none (the system default). A
// colour never set reads back as the system window (background) or
// window-text (text) colour. Colours are 0x00BBGGRR; a value with bit 31 set
// is a system colour; -1 (0xFFFFFFFF) returns to the default.
#pragma once

#include <cstdint>

class QAbstractItemView;

namespace velloran {

class TreeColors {
public:
    static uint32_t BackColor(const QAbstractItemView* tree);
    static void SetBackColor(QAbstractItemView* tree, uint32_t colour);
    static uint32_t ForeColor(const QAbstractItemView* tree);
    static void SetForeColor(QAbstractItemView* tree, uint32_t colour);
};

}  // namespace velloran
