// Ordered, case-insensitive store of a control's persistent properties.
#include "controls/PropertyBag.h"

#include <algorithm>

namespace quorvantell {

std::vector<PropertyBag::Entry>::const_iterator PropertyBag::Find(const QString& name) const
{
    return std::find_if(m_entries.begin(), m_entries.end(), [&name](const Entry& entry) {
        return entry.first.compare(name, Qt::CaseInsensitive) == 0;
    });
}

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const
{
    const auto it = Find(name);
    return it == m_entries.end() ? defaultValue : it->second;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue)
{
    const auto it = Find(name);
    const bool isDefault = value == defaultValue;
    if (it == m_entries.end()) {
        if (!isDefault)
            m_entries.emplace_back(name, value);
        return;
    }
    const auto index = it - m_entries.begin();
    if (isDefault)
        m_entries.erase(m_entries.begin() + index);
    else
        m_entries[static_cast<size_t>(index)].second = value;
}

bool PropertyBag::Contains(const QString& name) const
{
    return Find(name) != m_entries.end();
}

QStringList PropertyBag::Names() const
{
    QStringList names;
    for (const Entry& entry : m_entries)
        names.append(entry.first);
    return names;
}

void PropertyBag::Clear()
{
    m_entries.clear();
}

}  // namespace quorvantell
