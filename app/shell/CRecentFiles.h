// CRecentFiles: a most-recently-used list shown as the items of a submenu
// of its owner and kept in the settings under "Recent Files", one value per
// entry named by its position ("0" the newest). The main window keeps its
// recent folders in one; entries are compared exactly, as Linux paths are.
#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace velloran {

class CRecentFiles : public QObject {
    Q_OBJECT

public:
    // The most items appear in the list; the owner may lower or raise it
    // at any time (items already shown stay until saved).
    int32_t MaxRecent = 0;

    // Fills the empty submenu mnuRecent with the "(None)" placeholder and
    // the stored entries (at most MaxRecent, newest first). Folders are
    // entries ending in "/"; RemoveDead accepts only entries that exist.
    void Init(QMenu* mnuRecent, int32_t MaxRecent, bool AllowFolders, bool AllowFiles, bool RemoveDead);
    // Puts FileName at the top of the list, moving it there when it is
    // listed already and dropping the oldest entry when the list is full;
    // an entry the list does not accept changes nothing.
    void Add(const std::string& FileName);
    // Stores the list (the entries still accepted, renumbered from "0") in
    // place of the stored one; the owner calls it while unloading.
    void Save() const;
    // The entries, newest first.
    const std::vector<std::string>& Items() const { return m_items; }

signals:
    // An item was chosen in the menu; FileName is its entry.
    void Clicked(const std::string& FileName);

private:
    bool IsAllowed(const std::string& name) const;
    void LoadList();
    // Shows the entries as the menu's items, creating the missing ones.
    void ShowItems();

    QPointer<QMenu> m_menu;
    QAction* m_none = nullptr;
    std::vector<QAction*> m_actions;  // items 1.., never removed
    std::vector<std::string> m_items;
    bool m_allowFolders = false;
    bool m_allowFiles = false;
    bool m_removeDead = false;
    bool m_initialised = false;
};

}  // namespace velloran
