// CRecentFiles: the list, its menu items and its stored copy.
#include "app/shell/CRecentFiles.h"

#include "app/engine/Printable.h"
#include "app/views/WindowSettings.h"
#include "classlib/files/CFile.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"

#include <QAction>
#include <QFile>
#include <QMenu>

#include <algorithm>

namespace velloran {

namespace {

using quorvantell::eRegBaseKey;

constexpr const char* kRecentKey = "Software\\Quorvantell\\Velloran\\e\\Recent Files";
// The options allow at most this many items, so no stored list is read
// further, whatever MaxRecent a damaged settings record gives.
constexpr int32_t kMostLoaded = 30;

const quorvantell::CFile& File()
{
    return *quorvantell::ClassLibrary::Shared().File;
}

// A menu caption for an entry: one line, no mnemonic.
QString Caption(const std::string& entry)
{
    return QFile::decodeName(QByteArray::fromStdString(Printable(entry))).replace(QLatin1Char('&'), "&&");
}

}  // namespace

void CRecentFiles::Init(QMenu* mnuRecent, int32_t MaxRecent, bool AllowFolders, bool AllowFiles, bool RemoveDead)
{
    m_menu = mnuRecent;
    this->MaxRecent = MaxRecent;
    m_allowFolders = AllowFolders;
    m_allowFiles = AllowFiles;
    m_removeDead = RemoveDead;
    if (mnuRecent != nullptr) {
        m_none = mnuRecent->addAction(QStringLiteral("(None)"));
        m_none->setEnabled(false);
    }
    m_initialised = true;
    LoadList();
}

void CRecentFiles::Add(const std::string& FileName)
{
    const std::string name = File().GetLongPath(FileName);
    if (!IsAllowed(name))
        return;
    const auto listed = std::find(m_items.begin(), m_items.end(), name);
    if (listed != m_items.end()) {
        m_items.erase(listed);
    } else if (static_cast<int32_t>(m_items.size()) >= MaxRecent) {
        if (m_items.empty())
            return;  // a list of no items keeps none
        m_items.pop_back();
    }
    m_items.insert(m_items.begin(), name);
    ShowItems();
}

void CRecentFiles::Save() const
{
    if (!m_initialised)
        return;  // never loaded: the stored list is not this object's to replace
    Registry().DeleteKey(eRegBaseKey::HKCU, kRecentKey);
    int32_t n = 0;
    for (const std::string& entry : m_items) {
        const std::string name = File().GetLongPath(entry);
        if (IsAllowed(name))
            Registry().SetKeyStr(eRegBaseKey::HKCU, kRecentKey, std::to_string(n++), name);
    }
}

bool CRecentFiles::IsAllowed(const std::string& name) const
{
    // An empty entry would end the stored list early and lose the ones after it.
    if (name.empty())
        return false;
    if (name.back() == '/')
        return m_allowFolders && (!m_removeDead || File().DirExists(name));
    return m_allowFiles && (!m_removeDead || File().FileExists(name));
}

// Entries are taken as stored, up to the first missing one.
void CRecentFiles::LoadList()
{
    const int32_t most = std::min(MaxRecent, kMostLoaded);
    for (int32_t n = 0; n < most; ++n) {
        std::string entry = Registry().GetKeyStr(eRegBaseKey::HKCU, kRecentKey, std::to_string(n));
        if (entry.empty())
            break;
        m_items.push_back(std::move(entry));
    }
    ShowItems();
}

void CRecentFiles::ShowItems()
{
    if (!m_menu)
        return;
    while (m_actions.size() < m_items.size()) {
        const size_t index = m_actions.size();
        QAction* item = m_menu->addAction(QString());
        connect(item, &QAction::triggered, this, [this, index] { emit Clicked(m_items[index]); });
        m_actions.push_back(item);
    }
    for (size_t i = 0; i < m_items.size(); ++i)
        m_actions[i]->setText(Caption(m_items[i]));
    m_none->setVisible(m_items.empty());
}

}  // namespace velloran
