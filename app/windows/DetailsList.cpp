// DetailsList: the engine's row calls on a CListView.
#include "app/windows/DetailsList.h"

#include "app/views/CListView.h"
#include "app/views/FileTypeIcons.h"

namespace velloran {

namespace {

constexpr int32_t kSizeColumn = 2;
constexpr int32_t kModifiedColumn = 3;

}  // namespace

void DetailsList::Clear()
{
    m_list.Clear();
}

void DetailsList::PreAllocate(int32_t count)
{
    m_list.PreAllocate(count);
}

void DetailsList::AddItem(const std::string& key, const std::string& name, const std::string& size,
                          const std::string& modified)
{
    m_list.AddItem(key, {name, size, modified});
}

void DetailsList::SetSortValues(const std::string& key, int64_t size, int64_t fileTime)
{
    m_list.SetSortValue(key, kSizeColumn, size);
    m_list.SetSortValue(key, kModifiedColumn, fileTime);
}

void DetailsList::SetTag(const std::string& key, const std::string& tag)
{
    m_list.SetTag(key, tag);
}

// The engine names what its scan has just found, so a file whose name
// settles its type is not looked up on disk again: a lookup per row was a
// third of the filling of a large tree.
void DetailsList::SetFileIcon(const std::string& key, const std::string& path)
{
    if (!path.empty() && path.back() != '/' && FileTypeIcons::NameSettlesFileType(path))
        m_list.SetFileIconByExt(key, path);
    else
        m_list.SetFileIcon(key, path);
}

void DetailsList::SetFileIconByExt(const std::string& key, const std::string& name)
{
    m_list.SetFileIconByExt(key, name);
}

std::string DetailsList::Icon(const std::string& key) const
{
    return m_list.Icon(key);
}

void DetailsList::SetIcon(const std::string& key, const std::string& iconName)
{
    m_list.SetIcon(key, iconName);
}

void DetailsList::SetStateImage(const std::string& key, int32_t image)
{
    m_list.SetStateImage(key, image);
}

void DetailsList::SetState(const std::string& key, uint32_t foreColor, uint32_t backColor)
{
    m_list.SetState(key, CItemState{foreColor, backColor});
}

int32_t DetailsList::Count() const
{
    return m_list.Count();
}

void DetailsList::SelectFirst()
{
    if (m_list.Count() > 0)
        m_list.SetSelectedItem(1);
}

}  // namespace velloran
