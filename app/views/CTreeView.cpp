// CTreeView over QTreeWidget; nodes are visited in display order with
// QTreeWidgetItemIterator.
#include "app/views/CTreeView.h"

#include "app/views/HotTrackDelegate.h"
#include "app/views/TreeColors.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace velloran {

void CTreeView::Init(QTreeWidget* tree)
{
    m_tree = tree;
    if (tree == nullptr)
        return;
    tree->setMouseTracking(true);
    tree->viewport()->setAttribute(Qt::WA_Hover);
    tree->setItemDelegate(new HotTrackDelegate(tree));
}

uint32_t CTreeView::BackColor() const { return TreeColors::BackColor(m_tree); }
void CTreeView::SetBackColor(uint32_t colour) { TreeColors::SetBackColor(m_tree, colour); }
uint32_t CTreeView::ForeColor() const { return TreeColors::ForeColor(m_tree); }
void CTreeView::SetForeColor(uint32_t colour) { TreeColors::SetForeColor(m_tree, colour); }

int32_t CTreeView::IndexOfKey(const std::string& key) const
{
    if (m_tree == nullptr)
        return 0;
    int32_t index = 1;
    for (QTreeWidgetItemIterator it(m_tree); *it != nullptr; ++it, ++index) {
        if (KeyOf(*it) == key)
            return index;
    }
    return 0;
}

std::string CTreeView::KeyOfIndex(int32_t index) const
{
    if (m_tree == nullptr || index < 1)
        return {};
    QTreeWidgetItemIterator it(m_tree);
    for (int32_t i = 1; i < index && *it != nullptr; ++i)
        ++it;
    return *it != nullptr ? KeyOf(*it) : std::string();
}

bool CTreeView::ReplaceKey(const std::string& oldKey, const std::string& newKey)
{
    QTreeWidgetItem* node = NodeOfKey(oldKey);
    if (node == nullptr)
        return false;
    if (newKey != oldKey && NodeOfKey(newKey) != nullptr)
        return false;
    SetKey(node, newKey);
    return true;
}

std::string CTreeView::KeyOf(const QTreeWidgetItem* item)
{
    return item->data(0, kKeyRole).toString().toStdString();
}

void CTreeView::SetKey(QTreeWidgetItem* item, const std::string& key)
{
    item->setData(0, kKeyRole, QString::fromStdString(key));
}

QTreeWidgetItem* CTreeView::NodeOfKey(const std::string& key) const
{
    if (m_tree == nullptr)
        return nullptr;
    for (QTreeWidgetItemIterator it(m_tree); *it != nullptr; ++it) {
        if (KeyOf(*it) == key)
            return *it;
    }
    return nullptr;
}

}  // namespace velloran
