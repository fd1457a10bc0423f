// The ring behind CSeparation and CStrSeparation: a fixed number of slots
// holding the most recently added values; the oldest is overwritten.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quorvantell {

template <typename T>
class SeparationRing {
public:
    int32_t Size() const { return static_cast<int32_t>(m_slots.size()); }

    // Non-zero: that many cleared slots. 0 (or less): no slots.
    void SetSize(int32_t size)
    {
        m_slots.assign(static_cast<size_t>(std::max(size, 0)), Slot{});
        m_next = 0;
    }

    void Add(const T& value)
    {
        if (m_slots.empty())
            return;
        m_slots[m_next] = Slot{value, true};
        m_next = (m_next + 1) % m_slots.size();
    }

    bool Find(const T& value) const
    {
        return std::any_of(m_slots.begin(), m_slots.end(),
                           [&value](const Slot& slot) { return slot.used && slot.value == value; });
    }

    void Clear()
    {
        for (Slot& slot : m_slots)
            slot.used = false;
        m_next = 0;
    }

private:
    struct Slot {
        T value{};
        bool used = false;
    };

    std::vector<Slot> m_slots;
    size_t m_next = 0;
};

}  // namespace quorvantell
