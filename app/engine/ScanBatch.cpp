// ScanBatch: one side's scan result before it joins the pair list.
#include "app/engine/ScanBatch.h"

#include "app/engine/NameOrder.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace velloran {

ScanBatch::ScanBatch()
{
    Clear();
}

void ScanBatch::Clear()
{
    m_names.assign(1, '\0');
    m_items.clear();
}

void ScanBatch::Add(std::string_view name, int64_t date, int64_t size)
{
    if (m_names.size() + name.size() + 1 > std::numeric_limits<uint32_t>::max())
        throw std::length_error("Too many file names for one scan");
    Item item;
    item.name = static_cast<uint32_t>(m_names.size());
    item.length = static_cast<uint32_t>(name.size());
    item.date = date;
    item.size = size;
    m_names.append(name);
    m_names.push_back('\0');
    m_items.push_back(item);
}

void ScanBatch::Sort()
{
    std::sort(m_items.begin(), m_items.end(),
              [this](const Item& a, const Item& b) { return NameOrder::Less(Name(a), Name(b)); });
}

void ScanBatch::RemoveBelow(const std::unordered_set<std::string>& folders)
{
    if (folders.empty())
        return;
    const auto below = [&](const Item& item) {
        const std::string_view name = Name(item);
        if (folders.count(std::string()) != 0)
            return true;
        // Each folder the item lies in: the name up to every "/" but a final one.
        for (size_t slash = name.find('/'); slash != std::string_view::npos && slash + 1 < name.size();
             slash = name.find('/', slash + 1)) {
            if (folders.count(std::string(name.substr(0, slash + 1))) != 0)
                return true;
        }
        return false;
    };
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(), below), m_items.end());
}

}  // namespace velloran
