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

}  // namespace velloran
