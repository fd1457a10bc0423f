// NameOrder: case-insensitive order with an exact tie-break.
#include "app/engine/NameOrder.h"

#include "classlib/general/CGeneral.h"

namespace velloran {

namespace {

// CompareStr keeps no state, so one instance serves every thread (the
// scans sort on worker threads).
const quorvantell::CGeneral& General()
{
    static const quorvantell::CGeneral general;
    return general;
}

}  // namespace

int32_t NameOrder::Compare(std::string_view a, std::string_view b)
{
    const int32_t folded = General().CompareStr(a, b, false);
    if (folded != 0)
        return folded;
    const int bytes = a.compare(b);
    return bytes < 0 ? -1 : (bytes > 0 ? 1 : 0);
}

}  // namespace velloran
