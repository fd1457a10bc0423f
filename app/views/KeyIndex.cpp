// KeyIndex: linear probing in a power-of-two table kept at most half full,
// so a lookup reads about one and a half keys.
#include "app/views/KeyIndex.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace velloran {

namespace {

constexpr size_t kMinSlots = 64;

size_t SlotsFor(size_t count)
{
    return std::bit_ceil(std::max(kMinSlots, count * 2));
}

}  // namespace

KeyIndex::KeyIndex(KeyAt keyAt) : m_keyAt(std::move(keyAt)) {}

std::optional<uint32_t> KeyIndex::Find(std::string_view key) const
{
    if (m_slots.empty() || key.empty())
        return std::nullopt;
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = Slot(key);; slot = (slot + 1) & mask) {
        const uint32_t position = m_slots[slot];
        if (position == kEmpty)
            return std::nullopt;
        if (m_keyAt(position) == key)
            return position;
    }
}

void KeyIndex::Insert(std::string_view key, uint32_t position)
{
    if (key.empty())
        return;
    if ((m_used + 1) * 2 > m_slots.size())
        Grow(SlotsFor(m_used + 1));
    Place(key, position);
}

void KeyIndex::Rebuild(uint32_t count)
{
    m_slots.assign(SlotsFor(count), kEmpty);
    m_used = 0;
    for (uint32_t position = 0; position < count; ++position) {
        const std::string_view key = m_keyAt(position);
        if (!key.empty())
            Place(key, position);
    }
}

void KeyIndex::Clear()
{
    m_slots.clear();
    m_used = 0;
}

void KeyIndex::Reserve(uint32_t count)
{
    if (SlotsFor(count) > m_slots.size())
        Grow(SlotsFor(count));
}

size_t KeyIndex::Slot(std::string_view key) const
{
    return std::hash<std::string_view>{}(key) & (m_slots.size() - 1);
}

void KeyIndex::Place(std::string_view key, uint32_t position)
{
    const size_t mask = m_slots.size() - 1;
    size_t slot = Slot(key);
    while (m_slots[slot] != kEmpty)
        slot = (slot + 1) & mask;
    m_slots[slot] = position;
    ++m_used;
}

void KeyIndex::Grow(size_t slots)
{
    std::vector<uint32_t> old(slots, kEmpty);
    old.swap(m_slots);
    m_used = 0;
    for (const uint32_t position : old) {
        if (position != kEmpty)
            Place(m_keyAt(position), position);
    }
}

}  // namespace velloran
