// RowOrder. The cells of the sort columns are read out of the rows once, so
// the comparisons touch only them.
#include "app/views/RowOrder.h"

#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <string_view>

namespace velloran {

namespace {

constexpr int64_t kNoValue = std::numeric_limits<int64_t>::min();

struct Cell {
    std::string_view text;
    int64_t value = kNoValue;
};

std::vector<Cell> Cells(const ListRows& rows, const std::vector<int32_t>& columns)
{
    std::vector<Cell> cells;
    cells.reserve(static_cast<size_t>(rows.Count()) * columns.size());
    for (uint32_t position = 0; position < rows.Count(); ++position) {
        for (const int32_t column : columns) {
            const std::optional<int64_t> value = rows.SortValue(position, column);
            cells.push_back({rows.Text(position, column), value.value_or(kNoValue)});
        }
    }
    return cells;
}

int32_t Compare(const quorvantell::CGeneral& general, const Cell& a, const Cell& b)
{
    // Cells without a value (kNoValue, below every value) come first.
    if (a.value != kNoValue || b.value != kNoValue)
        return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
    return general.CompareStr(a.text, b.text, false);
}

}  // namespace

std::vector<uint32_t> RowOrder::Sorted(const ListRows& rows, const Keys& keys)
{
    std::vector<int32_t> columns;
    for (const int32_t column : keys.columns) {
        if (std::find(columns.begin(), columns.end(), column) == columns.end())
            columns.push_back(column);
    }
    const std::vector<Cell> cells = Cells(rows, columns);
    const quorvantell::CGeneral& general = *quorvantell::ClassLibrary::Shared().General;
    const size_t width = columns.size();
    const auto before = [&](uint32_t a, uint32_t b) {
        for (size_t i = 0; i < width; ++i) {
            const int32_t order = Compare(general, cells[a * width + i], cells[b * width + i]);
            if (order != 0)
                return keys.descending ? order > 0 : order < 0;
        }
        return false;
    };
    std::vector<uint32_t> order(rows.Count());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), before);
    return order;
}

std::vector<uint32_t> RowOrder::Insertion(const ListRows& rows)
{
    std::vector<uint32_t> order(rows.Count());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&rows](uint32_t a, uint32_t b) { return rows.At(a).order < rows.At(b).order; });
    return order;
}

}  // namespace velloran
