// CFolderTreeView: colours on the folder tree's inner tree view.
#include "app/views/CFolderTreeView.h"

#include "app/views/FolderTreeview.h"
#include "app/views/TreeColors.h"

#include <QTreeView>

namespace velloran {

void CFolderTreeView::Init(FolderTreeview* tree)
{
    m_tree = tree;
}

namespace {

// The tree view inside the component; null before Init.
QTreeView* Inner(const FolderTreeview* tree)
{
    return tree != nullptr ? tree->TreeHWnd() : nullptr;
}

}  // namespace

uint32_t CFolderTreeView::BackColor() const { return TreeColors::BackColor(Inner(m_tree)); }
void CFolderTreeView::SetBackColor(uint32_t colour) { TreeColors::SetBackColor(Inner(m_tree), colour); }
uint32_t CFolderTreeView::ForeColor() const { return TreeColors::ForeColor(Inner(m_tree)); }
void CFolderTreeView::SetForeColor(uint32_t colour) { TreeColors::SetForeColor(Inner(m_tree), colour); }

}  // namespace velloran
