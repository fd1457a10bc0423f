// CTreeView: the program's colours, hot tracking and key-based access for a
// QTreeWidget (the options dialog's category tree). A node's key is the text
// its first column holds under kKeyRole; indexes count the nodes from 1 in
// the order the tree shows them fully expanded (parents before children).
#pragma once

#include <Qt>

#include <cstdint>
#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace velloran {

class CTreeView {
public:
    static constexpr int kKeyRole = Qt::UserRole + 1;

    // Keeps the tree and turns hot tracking on.
    void Init(QTreeWidget* tree);
    // Never-set colours read back as the system window / window-text colours.
    uint32_t BackColor() const;
    void SetBackColor(uint32_t colour);
    uint32_t ForeColor() const;
    void SetForeColor(uint32_t colour);

    // 0 when no node has the key.
    int32_t IndexOfKey(const std::string& key) const;
    // Empty for an index outside 1 .. node count.
    std::string KeyOfIndex(int32_t index) const;
    // False when no node has oldKey, or another node already has newKey.
    bool ReplaceKey(const std::string& oldKey, const std::string& newKey);

    static std::string KeyOf(const QTreeWidgetItem* item);
    static void SetKey(QTreeWidgetItem* item, const std::string& key);

private:
    QTreeWidgetItem* NodeOfKey(const std::string& key) const;

    QTreeWidget* m_tree = nullptr;
};

}  // namespace velloran
