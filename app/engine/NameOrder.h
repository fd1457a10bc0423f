// NameOrder: the order of the file-pair lists. Names sort case-insensitively
// (CGeneral::CompareStr without case) and two names that differ only in case
// are then ordered by their bytes, so the order is total and only identical
// names are "equal": a.txt and A.TXT sit side by side as two entries.
#pragma once

#include <cstdint>
#include <string_view>

namespace velloran {

class NameOrder {
public:
    // -1, 0 or 1; 0 only for identical byte strings.
    static int32_t Compare(std::string_view a, std::string_view b);
    static bool Less(std::string_view a, std::string_view b) { return Compare(a, b) < 0; }
};

}  // namespace velloran
