// NameOrder: case-insensitive order with an exact tie-break.
//
// Sorting a large tree calls this millions of times, so plain ASCII is
// folded here and only the part of the names from the first non-ASCII byte
// on goes to CompareStr, which decodes UTF-8 and folds case. Up to that byte
// both names consist of whole ASCII characters, so comparing the rest gives
// the same answer as comparing the whole names.
#include "app/engine/NameOrder.h"

#include "classlib/general/CGeneral.h"

#include <algorithm>

namespace velloran {

namespace {

// CompareStr keeps no state, so one instance serves every thread.
const quorvantell::CGeneral& General()
{
    static const quorvantell::CGeneral general;
    return general;
}

inline unsigned char FoldAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

int32_t ByteOrder(std::string_view a, std::string_view b)
{
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

int32_t NameOrder::Compare(std::string_view a, std::string_view b)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if ((x | y) & 0x80) {
            const int32_t folded = General().CompareStr(a.substr(i), b.substr(i), false);
            return folded != 0 ? folded : ByteOrder(a, b);
        }
        const unsigned char fx = FoldAscii(x), fy = FoldAscii(y);
        if (fx != fy)
            return fx < fy ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return ByteOrder(a, b);
}

}  // namespace velloran
