// ListRows: the rows of one report list, kept compactly so that hundreds of
// thousands of them cost little: one fixed-size record per row, every text
// (the key and each column's) as bytes in one arena, the optional sort
// values in one pool, tags and colour pairs interned, and a key index that
// stores positions only. Texts go in and come out byte for byte, whatever
// their encoding. Positions are 0-based and columns 1-based here.
#pragma once

#include "app/views/CListView.h"
#include "app/views/KeyIndex.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velloran {

class ListRows {
public:
    struct Row {
        uint32_t texts = 0;     // offset of the key and column texts in the arena
        uint32_t order = 0;     // insertion order: the order of the unsorted list
        uint32_t values = kNone;  // first of the row's sort values in the pool
        uint32_t icon = 0;      // image list index, 0 for none
        uint32_t tag = 0;       // interned tag, 0 for none
        uint32_t colours = 0;   // interned colour pair, 0 for none
        int16_t indent = 0;
        uint8_t stateImage = 0;
    };
    static constexpr uint32_t kNone = UINT32_MAX;

    explicit ListRows(int32_t columns);

    int32_t Columns() const { return m_columns; }
    uint32_t Count() const { return static_cast<uint32_t>(m_rows.size()); }
    const Row& At(uint32_t position) const { return m_rows[position]; }
    Row& At(uint32_t position) { return m_rows[position]; }

    // Inserts at position (at most Count()). False when another row has the
    // key. Texts beyond 4 GiB per list throw std::length_error, as memory
    // running out would.
    bool Insert(uint32_t position, std::string_view key, const std::vector<std::string>& texts);
    void Remove(uint32_t position);
    void Clear();
    void Reserve(uint32_t count);

    std::optional<uint32_t> Find(std::string_view key) const;
    std::string_view Key(uint32_t position) const { return Field(position, 0); }
    // False when another row has the key.
    bool SetKey(uint32_t position, std::string_view key);
    std::string_view Text(uint32_t position, int32_t column) const { return Field(position, column); }
    // Texts beyond the column count are dropped, missing ones are empty.
    // The sort value of a cell whose text changes is dropped with it.
    void SetTexts(uint32_t position, const std::vector<std::string>& texts);
    void SetText(uint32_t position, int32_t column, std::string_view text);

    std::optional<int64_t> SortValue(uint32_t position, int32_t column) const;
    void SetSortValue(uint32_t position, int32_t column, int64_t value);

    std::string_view Tag(uint32_t position) const { return m_tags[m_rows[position].tag]; }
    void SetTag(uint32_t position, std::string_view tag);

    // Row colours by key; a key without a row keeps its colours for a row
    // that takes the key later.
    std::optional<CItemState> State(std::string_view key) const;
    std::optional<CItemState> RowState(uint32_t position) const;
    void SetState(std::string_view key, const CItemState& state);
    void RemoveState(std::string_view key);

    // Rows in the order given: row i becomes the row at order[i].
    void Reorder(std::vector<uint32_t> order);
    // The insertion order becomes the present order.
    void RenumberInsertionOrder();

private:
    std::string_view Field(uint32_t position, int32_t field) const;
    std::vector<std::string_view> Fields(uint32_t position) const;
    size_t BlockSize(uint32_t position) const;
    // Stores the key and texts as a new block for the row.
    void Store(Row& row, const std::vector<std::string_view>& fields);
    void Compact();
    uint32_t Colours(const CItemState& state);
    void DropValue(uint32_t position, int32_t column);

    int32_t m_columns;
    std::vector<Row> m_rows;
    std::string m_arena;
    size_t m_garbage = 0;
    std::vector<int64_t> m_values;
    uint32_t m_nextOrder = 0;
    KeyIndex m_index;
    std::vector<std::string> m_tags{std::string()};
    std::unordered_map<std::string, uint32_t> m_tagIds;
    std::vector<CItemState> m_palette{CItemState()};
    std::unordered_map<uint64_t, uint32_t> m_paletteIds;
    std::unordered_map<std::string, CItemState> m_orphanStates;
};

}  // namespace velloran
