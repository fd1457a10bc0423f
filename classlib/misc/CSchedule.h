// CSchedule: a fixed list of alarm times. Check, called now and then, raises
// TimeUp for every enabled entry whose one-minute window has just begun:
// at most once per start, and only when an earlier Check saw the entry
// outside its window.
#pragma once

#include "classlib/ClassLibObject.h"
#include "classlib/general/DateTime.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <vector>

namespace quorvantell {

class CSchedule : public ClassLibObject {
public:
    // Raised by Check with the entry's index.
    std::function<void(int32_t Index)> TimeUp;

    // siz disabled entries, indexes 0 .. siz - 1.
    void Init(int32_t siz);
    // The entry's start (local time). Members taking an index throw
    // std::out_of_range for one outside the list.
    DateTime Item(int32_t Index) const;
    // Sets the start, the end one minute later, and enables the entry.
    void SetItem(int32_t Index, const DateTime& start);
    bool Enabled(int32_t Index) const;
    void SetEnabled(int32_t Index, bool enabled);
    // Whole seconds until the start; negative once it has passed.
    int64_t SecondsLeft(int32_t Index) const;
    void Check();
    // Check as at the given moment.
    void CheckAt(std::time_t now);

private:
    struct Entry {
        std::time_t start = 0;
        std::time_t end = 0;
        bool enabled = false;
        bool armed = false;
    };

    Entry& At(int32_t Index);
    const Entry& At(int32_t Index) const;

    std::vector<Entry> m_entries;
};

}  // namespace quorvantell
