// ListRows. A row's texts are one block in the arena: the key and then each
// column's text, every one as a variable-length byte count and the bytes.
// A changed row gets a new block; the arena is rewritten once half of it is
// blocks no row uses any more.
#include "app/views/ListRows.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace velloran {

namespace {

constexpr int64_t kNoValue = std::numeric_limits<int64_t>::min();
constexpr size_t kArenaLimit = std::numeric_limits<uint32_t>::max();
constexpr size_t kCompactAbove = 1 << 16;
constexpr size_t kTextsPerRow = 64;  // a guess for Reserve: key, path, size and date

void AppendField(std::string& arena, std::string_view text)
{
    size_t size = text.size();
    while (size >= 0x80) {
        arena.push_back(static_cast<char>((size & 0x7F) | 0x80));
        size >>= 7;
    }
    arena.push_back(static_cast<char>(size));
    arena.append(text);
}

std::string_view ReadField(const char*& at)
{
    size_t size = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        size |= static_cast<size_t>(byte & 0x7F) << shift;
        if (byte < 0x80)
            break;
    }
    const std::string_view text(at, size);
    at += size;
    return text;
}

uint64_t PairOf(const CItemState& state)
{
    return (static_cast<uint64_t>(state.ForeColor) << 32) | state.BackColor;
}

}  // namespace

ListRows::ListRows(int32_t columns)
    : m_columns(std::max(columns, 1)), m_index([this](uint32_t position) { return Key(position); })
{
}

bool ListRows::Insert(uint32_t position, std::string_view key, const std::vector<std::string>& texts)
{
    if (Find(key))
        return false;
    std::vector<std::string_view> fields{key};
    for (int32_t column = 1; column <= m_columns; ++column)
        fields.push_back(column <= static_cast<int32_t>(texts.size()) ? std::string_view(texts[column - 1]) : "");
    Row row;
    Store(row, fields);
    row.order = m_nextOrder++;
    if (const auto kept = m_orphanStates.empty() ? m_orphanStates.end() : m_orphanStates.find(std::string(key));
        kept != m_orphanStates.end()) {
        row.colours = Colours(kept->second);
        m_orphanStates.erase(kept);
    }
    const bool atEnd = position >= Count();
    m_rows.insert(m_rows.begin() + std::min(position, Count()), row);
    if (atEnd)
        m_index.Insert(key, Count() - 1);
    else
        m_index.Rebuild(Count());
    return true;
}

void ListRows::Remove(uint32_t position)
{
    const Row& row = m_rows[position];
    if (row.colours != 0 && !Key(position).empty())
        m_orphanStates[std::string(Key(position))] = m_palette[row.colours];
    m_garbage += BlockSize(position);
    m_rows.erase(m_rows.begin() + position);
    m_index.Rebuild(Count());
}

void ListRows::Clear()
{
    m_rows.clear();
    m_rows.shrink_to_fit();
    std::string().swap(m_arena);
    std::vector<int64_t>().swap(m_values);
    m_garbage = 0;
    m_nextOrder = 0;
    m_index.Clear();
    m_orphanStates.clear();
}

void ListRows::Reserve(uint32_t count)
{
    // Room reserved but not used costs address space only; growing instead
    // would leave the outgrown copies with the allocator.
    m_rows.reserve(m_rows.size() + count);
    m_index.Reserve(Count() + count);
    m_arena.reserve(m_arena.size() + static_cast<size_t>(count) * kTextsPerRow);
    m_values.reserve(m_values.size() + static_cast<size_t>(count) * m_columns);
}

std::optional<uint32_t> ListRows::Find(std::string_view key) const
{
    return m_index.Find(key);
}

bool ListRows::SetKey(uint32_t position, std::string_view key)
{
    const std::optional<uint32_t> holder = Find(key);
    if (holder)
        return *holder == position;
    const std::string oldKey(Key(position));
    std::vector<std::string_view> fields = Fields(position);
    fields[0] = key;
    const size_t oldSize = BlockSize(position);
    Row& row = m_rows[position];
    Store(row, fields);
    m_garbage += oldSize;
    // Colours belong to the key, not to the row.
    if (row.colours != 0 && !oldKey.empty())
        m_orphanStates[oldKey] = m_palette[row.colours];
    row.colours = 0;
    if (const auto kept = m_orphanStates.find(std::string(key)); kept != m_orphanStates.end()) {
        row.colours = Colours(kept->second);
        m_orphanStates.erase(kept);
    }
    m_index.Rebuild(Count());
    return true;
}

void ListRows::SetTexts(uint32_t position, const std::vector<std::string>& texts)
{
    std::vector<std::string_view> fields = Fields(position);
    const std::vector<std::string_view> old = fields;
    for (int32_t column = 1; column <= m_columns; ++column)
        fields[column] = column <= static_cast<int32_t>(texts.size()) ? std::string_view(texts[column - 1]) : "";
    const size_t oldSize = BlockSize(position);
    std::vector<bool> changed;
    for (int32_t column = 1; column <= m_columns; ++column)
        changed.push_back(fields[column] != old[column]);
    Store(m_rows[position], fields);
    m_garbage += oldSize;
    for (int32_t column = 1; column <= m_columns; ++column) {
        if (changed[column - 1])
            DropValue(position, column);
    }
}

void ListRows::SetText(uint32_t position, int32_t column, std::string_view text)
{
    std::vector<std::string> texts;
    for (int32_t each = 1; each <= m_columns; ++each)
        texts.emplace_back(each == column ? text : Text(position, each));
    SetTexts(position, texts);
}

std::optional<int64_t> ListRows::SortValue(uint32_t position, int32_t column) const
{
    const Row& row = m_rows[position];
    if (row.values == kNone)
        return std::nullopt;
    const int64_t value = m_values[row.values + column - 1];
    return value == kNoValue ? std::nullopt : std::optional<int64_t>(value);
}

void ListRows::SetSortValue(uint32_t position, int32_t column, int64_t value)
{
    Row& row = m_rows[position];
    if (row.values == kNone) {
        row.values = static_cast<uint32_t>(m_values.size());
        m_values.resize(m_values.size() + m_columns, kNoValue);
    }
    m_values[row.values + column - 1] = value;
}

void ListRows::SetTag(uint32_t position, std::string_view tag)
{
    if (tag.empty()) {
        m_rows[position].tag = 0;
        return;
    }
    const std::string text(tag);
    auto [at, added] = m_tagIds.try_emplace(text, static_cast<uint32_t>(m_tags.size()));
    if (added)
        m_tags.push_back(text);
    m_rows[position].tag = at->second;
}

std::optional<CItemState> ListRows::State(std::string_view key) const
{
    if (const std::optional<uint32_t> position = Find(key))
        return RowState(*position);
    const auto kept = m_orphanStates.find(std::string(key));
    return kept == m_orphanStates.end() ? std::nullopt : std::optional<CItemState>(kept->second);
}

std::optional<CItemState> ListRows::RowState(uint32_t position) const
{
    const uint32_t colours = m_rows[position].colours;
    return colours == 0 ? std::nullopt : std::optional<CItemState>(m_palette[colours]);
}

void ListRows::SetState(std::string_view key, const CItemState& state)
{
    if (const std::optional<uint32_t> position = Find(key))
        m_rows[*position].colours = Colours(state);
    else
        m_orphanStates[std::string(key)] = state;
}

void ListRows::RemoveState(std::string_view key)
{
    if (const std::optional<uint32_t> position = Find(key))
        m_rows[*position].colours = 0;
    else
        m_orphanStates.erase(std::string(key));
}

void ListRows::Reorder(std::vector<uint32_t> order)
{
    // Each cycle of the permutation is followed in place, so a list of many
    // rows needs no second copy of them.
    for (uint32_t start = 0; start < order.size(); ++start) {
        if (order[start] == start)
            continue;
        const Row first = m_rows[start];
        uint32_t at = start;
        while (order[at] != start) {
            const uint32_t from = order[at];
            m_rows[at] = m_rows[from];
            order[at] = at;
            at = from;
        }
        m_rows[at] = first;
        order[at] = at;
    }
    m_index.Rebuild(Count());
}

void ListRows::RenumberInsertionOrder()
{
    for (uint32_t position = 0; position < Count(); ++position)
        m_rows[position].order = position;
    m_nextOrder = Count();
}

std::string_view ListRows::Field(uint32_t position, int32_t field) const
{
    const char* at = m_arena.data() + m_rows[position].texts;
    std::string_view text = ReadField(at);
    for (int32_t i = 0; i < field; ++i)
        text = ReadField(at);
    return text;
}

std::vector<std::string_view> ListRows::Fields(uint32_t position) const
{
    std::vector<std::string_view> fields;
    const char* at = m_arena.data() + m_rows[position].texts;
    for (int32_t i = 0; i <= m_columns; ++i)
        fields.push_back(ReadField(at));
    return fields;
}

size_t ListRows::BlockSize(uint32_t position) const
{
    const char* start = m_arena.data() + m_rows[position].texts;
    const char* at = start;
    for (int32_t i = 0; i <= m_columns; ++i)
        ReadField(at);
    return static_cast<size_t>(at - start);
}

void ListRows::Store(Row& row, const std::vector<std::string_view>& fields)
{
    std::string block;
    for (const std::string_view field : fields)
        AppendField(block, field);
    if (m_garbage > kCompactAbove && m_garbage * 2 > m_arena.size())
        Compact();
    if (m_arena.size() + block.size() > kArenaLimit)
        throw std::length_error("list texts beyond 4 GiB");
    row.texts = static_cast<uint32_t>(m_arena.size());
    m_arena += block;
}

void ListRows::Compact()
{
    std::string arena;
    arena.reserve(m_arena.size() - m_garbage);
    for (uint32_t position = 0; position < Count(); ++position) {
        const std::vector<std::string_view> fields = Fields(position);
        m_rows[position].texts = static_cast<uint32_t>(arena.size());
        for (const std::string_view field : fields)
            AppendField(arena, field);
    }
    m_arena.swap(arena);
    m_garbage = 0;
}

uint32_t ListRows::Colours(const CItemState& state)
{
    auto [at, added] = m_paletteIds.try_emplace(PairOf(state), static_cast<uint32_t>(m_palette.size()));
    if (added)
        m_palette.push_back(state);
    return at->second;
}

void ListRows::DropValue(uint32_t position, int32_t column)
{
    const Row& row = m_rows[position];
    if (row.values != kNone)
        m_values[row.values + column - 1] = kNoValue;
}

}  // namespace velloran
