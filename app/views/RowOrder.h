// RowOrder: the orders a report list shows its rows in. Sorted: by a chain
// of columns, each cell by its sort value when it has one (cells without a
// value before those with one) and otherwise by its text, case-insensitive;
// rows equal in every column keep their present order, so the result is the
// one three stable sorts by the last, the middle and the first column of the
// chain would give. Unsorted: the order the rows were added in.
#pragma once

#include "app/views/ListRows.h"

#include <cstdint>
#include <vector>

namespace velloran {

class RowOrder {
public:
    struct Keys {
        std::vector<int32_t> columns;  // 1-based, most significant first
        bool descending = false;
    };

    // Positions in sorted order.
    static std::vector<uint32_t> Sorted(const ListRows& rows, const Keys& keys);
    static std::vector<uint32_t> Insertion(const ListRows& rows);
};

}  // namespace velloran
