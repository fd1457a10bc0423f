// CVellList: the sorted file-pair list.
#include "app/engine/CVellList.h"

#include "app/engine/NameOrder.h"
#include "app/engine/ScanBatch.h"

#include <limits>
#include <numeric>
#include <stdexcept>

namespace velloran {

namespace {

constexpr size_t kGrowthStep = 100;

}  // namespace

CVellList::Record& CVellList::RecordAt(uint32_t slot)
{
    if (slot >= m_records.size())
        throw std::out_of_range("The pair record no longer exists (the list was cleared)");
    return m_records[slot];
}

const CVellList::Record& CVellList::RecordAt(uint32_t slot) const
{
    return const_cast<CVellList*>(this)->RecordAt(slot);
}

const CVellList::Record& CVellList::RecordAtPosition(int32_t Index) const
{
    if (Index < 0 || Index >= nVells())
        throw std::out_of_range("No pair at position " + std::to_string(Index));
    return m_records[m_order[static_cast<size_t>(Index)]];
}

std::string_view CVellList::Key(const Record& record) const
{
    return NameAt(record.name[0] != 0 ? record.name[0] : record.name[1]);
}

uint32_t CVellList::StoreName(std::string_view name)
{
    if (name.empty())
        return 0;
    if (m_names.size() + name.size() + 1 > std::numeric_limits<uint32_t>::max())
        throw std::length_error("Too many file names for one list");
    const auto offset = static_cast<uint32_t>(m_names.size());
    m_names.append(name);
    m_names.push_back('\0');
    return offset;
}

void CVellList::SetSide(Record& record, size_t side, std::string_view name, int64_t date, int64_t size)
{
    // A pair with one name on both sides keeps it once.
    const uint32_t other = record.name[1 - side];
    record.name[side] = other != 0 && NameAt(other) == name ? other : StoreName(name);
    record.date[side] = date;
    record.size[side] = size;
}

CVell CVellList::vell(int32_t Index)
{
    RecordAtPosition(Index);
    return CVell(this, m_order[static_cast<size_t>(Index)]);
}

void CVellList::Clear()
{
    m_names.assign(1, '\0');
    m_records.clear();
    m_order.clear();
}

bool CVellList::Find(std::string_view Value, int32_t Side, int32_t& insertPos) const
{
    const size_t side = CVell::SideIndex(Side);
    const auto result = [&](int32_t pos) {
        insertPos = pos;
        return RecordAtPosition(pos).name[side] != 0;
    };
    const auto compare = [&](int32_t pos) { return NameOrder::Compare(Key(RecordAtPosition(pos)), Value); };

    insertPos = 0;
    if (m_order.empty())
        return false;
    int32_t lo = 0;
    int32_t hi = nVells() - 1;
    while (hi - lo >= 2) {
        const int32_t mid = (lo + hi) / 2;
        const int32_t c = compare(mid);
        if (c < 0)
            lo = mid + 1;
        else if (c > 0)
            hi = mid - 1;
        else
            return result(mid);
    }
    const int32_t atLo = compare(lo);
    if (atLo > 0) {
        insertPos = lo;
        return false;
    }
    if (atLo == 0)
        return result(lo);
    const int32_t atHi = compare(hi);
    if (atHi < 0) {
        insertPos = hi + 1;
        return false;
    }
    if (atHi > 0) {
        insertPos = hi;
        return false;
    }
    return result(hi);
}

void CVellList::Add(const CVell& vell, int32_t Side)
{
    const std::string name = vell.File(Side);
    const size_t side = CVell::SideIndex(Side);
    if (m_order.size() % kGrowthStep == 0) {
        m_order.reserve(m_order.size() + kGrowthStep + 1);
        m_records.reserve(m_records.size() + kGrowthStep + 1);
    }
    int32_t insertPos = 0;
    const bool found = Find(name, 0, insertPos);
    if (Side == 1 && found) {
        SetSide(m_records[m_order[static_cast<size_t>(insertPos)]], side, name, vell.FileDate(Side), vell.Size(Side));
        return;
    }
    Record record;
    SetSide(record, side, name, vell.FileDate(Side), vell.Size(Side));
    m_records.push_back(record);
    m_order.insert(m_order.begin() + insertPos, static_cast<uint32_t>(m_records.size() - 1));
}

void CVellList::ReIndex()
{
    for (size_t i = 0; i < m_order.size(); ++i)
        m_records[m_order[i]].idx = static_cast<int32_t>(i);
}

void CVellList::Load(ScanBatch& left, ScanBatch& right)
{
    // First pass: the exact count, so the records take no spare room.
    size_t count = 0;
    for (size_t l = 0, r = 0; l < left.Count() || r < right.Count(); ++count) {
        if (l == left.Count())
            ++r;
        else if (r == right.Count())
            ++l;
        else {
            const int32_t c = NameOrder::Compare(left.Name(left.At(l)), right.Name(right.At(r)));
            l += c <= 0 ? 1 : 0;
            r += c >= 0 ? 1 : 0;
        }
    }
    if (count > std::numeric_limits<int32_t>::max())
        throw std::length_error("Too many pairs for one list");

    Clear();
    m_names = std::move(left.Names());
    // The left names now live in this list's arena, at their old offsets.
    const auto LeftName = [this](const ScanBatch::Item& item) {
        return std::string_view(m_names.data() + item.name, item.length);
    };
    m_records.reserve(count);
    for (size_t l = 0, r = 0; l < left.Count() || r < right.Count();) {
        Record record;
        int32_t c = 0;
        if (l == left.Count())
            c = 1;
        else if (r == right.Count())
            c = -1;
        else
            c = NameOrder::Compare(LeftName(left.At(l)), right.Name(right.At(r)));
        if (c <= 0) {
            const ScanBatch::Item& item = left.At(l++);
            record.name[0] = item.length != 0 ? item.name : 0;
            record.date[0] = item.date;
            record.size[0] = item.size;
        }
        if (c >= 0) {
            const ScanBatch::Item& item = right.At(r++);
            SetSide(record, 1, right.Name(item), item.date, item.size);
        }
        m_records.push_back(record);
    }
    m_order.resize(m_records.size());
    std::iota(m_order.begin(), m_order.end(), 0u);
    left.Clear();
    right.Clear();
}

std::string_view CVellList::FileAt(int32_t Index, int32_t Side) const
{
    return NameAt(RecordAtPosition(Index).name[CVell::SideIndex(Side)]);
}

int64_t CVellList::FileDateAt(int32_t Index, int32_t Side) const
{
    return RecordAtPosition(Index).date[CVell::SideIndex(Side)];
}

int64_t CVellList::SizeAt(int32_t Index, int32_t Side) const
{
    return RecordAtPosition(Index).size[CVell::SideIndex(Side)];
}

int32_t CVellList::SyncWayAt(int32_t Index) const
{
    return RecordAtPosition(Index).syncWay;
}

void CVellList::SetSyncWayAt(int32_t Index, int32_t value)
{
    RecordAtPosition(Index);
    m_records[m_order[static_cast<size_t>(Index)]].syncWay = value;
}

}  // namespace velloran
