// The options dialog's controls, by the names its routines use. Private to
// frmOptions' source files.
#pragma once

#include "app/views/CTreeView.h"
#include "app/windows/frmOptions.h"
#include "classlib/misc/CFont.h"

#include <cstdint>

namespace velloran {

// The category tree: the nodes in the order they are added.
struct OptionsNode {
    const char* text;
    const char* key;     // the page number followed by "A"
    const char* parent;  // empty for a root node
};
inline constexpr OptionsNode kOptionsNodes[] = {
    {"Appearance", "0A", ""},       {"Colors", "1A", "0A"},          {"Fonts", "2A", "0A"},
    {"Behaviour", "3A", ""},        {"Window settings", "4A", "3A"}, {"Time settings", "10A", "3A"},
    {"Filter settings", "9A", "3A"}, {"FTP settings", "8A", "3A"},   {"Setup", "5A", ""},
    {"Advanced", "6A", "5A"},       {"Environment", "7A", "5A"},
};
inline constexpr int kPageCount = 11;

struct frmOptions::Controls {
    QLabel* lblCategory = nullptr;
    QTreeWidget* tvwOptions = nullptr;
    CTreeView tree;
    QWidget* pic[kPageCount] = {};
    QLabel* lbl[64] = {};
    QFrame* shp[4] = {};  // 0 background, 1 text, 2 the title area, 3 hot tracking
    uint32_t fill[4] = {};
    QLabel* img = nullptr;
    QCheckBox* chk[10] = {};
    QPushButton* cmd[9] = {};  // 0 OK, 1 Cancel, 2 Apply, 3..8 the pages' buttons
    QLineEdit* txt[5] = {};
    QRadioButton* opt[3] = {};
    QSlider* sld[2] = {};
    QSpinBox* spnConnections = nullptr;  // the FTP page's simultaneous uploads
    // The font holders: 0 the file lists' font, 1 the others.
    quorvantell::CFont font[2];
};

}  // namespace velloran
