// CVellList: the sorted list of file pairs. The key of a record is its left
// name, or its right name when it has no left one; keys follow NameOrder
// (case-insensitive, identical names only are equal).
//
// Records live compactly - all names in one arena, a pair with the same name
// on both sides holding it once - and the list keeps an array of record
// numbers in key order, so an insertion moves four-byte references, never
// records. Scans fill the list in one go with Load (sort, then merge); Add
// and Find serve single records.
#pragma once

#include "app/engine/CVell.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velloran {

class ScanBatch;

class CVellList {
public:
    int32_t nVells() const { return static_cast<int32_t>(m_order.size()); }
    // The record at position Index (0-based); std::out_of_range outside the list.
    CVell vell(int32_t Index);
    // Merges side Side of the transfer record vell into the list: a right
    // name equal to an existing left name joins that record, anything else
    // is inserted at its sorted place.
    void Add(const CVell& vell, int32_t Side);
    void Clear();
    // Binary search for the key Value. insertPos receives the position where
    // it is or would go; true when found and File(Side) of that record is set.
    bool Find(std::string_view Value, int32_t Side, int32_t& insertPos) const;
    // idx of every record becomes its position.
    void ReIndex();

    // Replaces the contents by the merge of the two scan results, both
    // sorted (ScanBatch::Sort): the same list as Clear and one Add per left
    // item, then one per right item. The left batch's arena is taken over.
    void Load(ScanBatch& left, ScanBatch& right);

    // Fast read access for the engine's own loops, by position.
    std::string_view FileAt(int32_t Index, int32_t Side) const;
    int64_t FileDateAt(int32_t Index, int32_t Side) const;
    int64_t SizeAt(int32_t Index, int32_t Side) const;
    int32_t SyncWayAt(int32_t Index) const;
    void SetSyncWayAt(int32_t Index, int32_t value);

private:
    friend class CVell;

    struct Record {
        uint32_t name[2] = {0, 0};  // arena offsets; 0 is the empty name
        int64_t date[2] = {0, 0};
        int64_t size[2] = {0, 0};
        int32_t syncWay = 0;
        int32_t idx = 0;
    };

    Record& RecordAt(uint32_t slot);
    const Record& RecordAt(uint32_t slot) const;
    const Record& RecordAtPosition(int32_t Index) const;
    std::string_view NameAt(uint32_t offset) const { return m_names.data() + offset; }
    std::string_view Key(const Record& record) const;
    uint32_t StoreName(std::string_view name);
    void SetSide(Record& record, size_t side, std::string_view name, int64_t date, int64_t size);

    std::string m_names = std::string(1, '\0');
    std::vector<Record> m_records;  // by record number
    std::vector<uint32_t> m_order;  // record numbers in key order
};

}  // namespace velloran
