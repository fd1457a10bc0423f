// KeyIndex: finds a list row by its key in constant time while costing a few
// bytes per row. It keeps only row positions in an open-addressed table and
// reads the keys themselves from the rows (through keyAt), so no key is
// stored twice. Positions change when rows move: the owner rebuilds it then.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace velloran {

class KeyIndex {
public:
    using KeyAt = std::function<std::string_view(uint32_t position)>;

    explicit KeyIndex(KeyAt keyAt);

    std::optional<uint32_t> Find(std::string_view key) const;
    // The key must not be in the index yet; empty keys are not indexed.
    void Insert(std::string_view key, uint32_t position);
    // Indexes rows 0 .. count - 1 afresh.
    void Rebuild(uint32_t count);
    void Clear();
    // Room for count keys without growing.
    void Reserve(uint32_t count);

private:
    static constexpr uint32_t kEmpty = UINT32_MAX;

    size_t Slot(std::string_view key) const;
    void Place(std::string_view key, uint32_t position);
    void Grow(size_t slots);

    KeyAt m_keyAt;
    std::vector<uint32_t> m_slots;
    size_t m_used = 0;
};

}  // namespace velloran
