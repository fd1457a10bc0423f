// ScanBatch: what a scan found on one side, kept compactly (all names in one
// byte arena, fixed-size items) until it is merged into a CVellList. A large
// tree goes into the list in one sort and one merge instead of one sorted
// insertion per name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace velloran {

class ScanBatch {
public:
    struct Item {
        uint32_t name = 0;    // offset of the name in the arena
        uint32_t length = 0;  // its length in bytes
        int64_t date = 0;     // raw file time
        int64_t size = 0;     // bytes
    };

    ScanBatch();

    // Raises std::length_error when the arena would pass 4 GiB of names.
    void Add(std::string_view name, int64_t date, int64_t size);
    // Sorts the items into list order (NameOrder).
    void Sort();
    void Clear();
    // Drops every item that lies below one of the folders (relative paths
    // ending in "/"; "" is the root): what a folder that could not be read
    // holds is unknown, so nothing below it may pass for one-sided. The
    // folders themselves stay; the order of the rest is kept.
    void RemoveBelow(const std::unordered_set<std::string>& folders);

    size_t Count() const { return m_items.size(); }
    const Item& At(size_t index) const { return m_items[index]; }
    std::string_view Name(const Item& item) const { return {m_names.data() + item.name, item.length}; }

    // The arena: every name followed by a NUL; offset 0 holds the empty name.
    std::string& Names() { return m_names; }

private:
    std::string m_names;
    std::vector<Item> m_items;
};

}  // namespace velloran
