// CFolderTreeView: the program's colours for a folder tree, applied to the
// tree view inside it. Qt draws the folder icons with their own transparency
// on any background, so nothing has to be done to the icons.
#pragma once

#include <cstdint>

namespace velloran {

class FolderTreeview;

class CFolderTreeView {
public:
    void Init(FolderTreeview* tree);
    // Never-set colours read back as the system window / window-text colours.
    uint32_t BackColor() const;
    void SetBackColor(uint32_t colour);
    uint32_t ForeColor() const;
    void SetForeColor(uint32_t colour);

private:
    FolderTreeview* m_tree = nullptr;
};

}  // namespace velloran
