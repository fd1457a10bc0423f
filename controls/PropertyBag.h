// PropertyBag: the persistent properties of one control as its host saves
// them - stored names mapped to values, kept in the order they were written.
// Names compare without regard to case. A value equal to the default the
// writer gives is not stored, so reading it back falls to the same default.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>
#include <vector>

namespace quorvantell {

class PropertyBag {
public:
    // The stored value of name, or defaultValue when none is stored.
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = QVariant()) const;
    // Stores value under name (in place when the name is already there);
    // a value equal to defaultValue removes the name instead.
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue = QVariant());

    bool Contains(const QString& name) const;
    // The stored names in the order they were first written.
    QStringList Names() const;
    void Clear();

private:
    using Entry = std::pair<QString, QVariant>;
    std::vector<Entry>::const_iterator Find(const QString& name) const;

    std::vector<Entry> m_entries;
};

}  // namespace quorvantell
