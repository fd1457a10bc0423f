// CVell: one file pair - what is known of one relative path on the left side
// (0) and on the right side (1), and the comparison's verdict syncWay:
// 0 nothing to do, 1 only left, 2 left newer, 3 right newer, 4 only right,
// 5 same time but different size.
//
// A CVell made on its own holds its values (the scans' transfer record, the
// newest-file records). A CVell handed out by CVellList::vell refers to that
// list's record: reading and writing it reads and writes the list, as long
// as the list is not cleared. Side arguments other than 0 and 1 raise
// std::out_of_range.
#pragma once

#include "classlib/general/DateTime.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velloran {

class CVellList;

class CVell {
public:
    CVell() = default;

    // Relative path ("sub/name.txt", folders "sub/"); empty when the side has none.
    std::string File(int32_t Side) const;
    void SetFile(int32_t Side, std::string_view value);
    // Raw file time; on the left side the scan has added the time offset.
    int64_t FileDate(int32_t Side) const;
    void SetFileDate(int32_t Side, int64_t value);
    int64_t Size(int32_t Side) const;
    void SetSize(int32_t Side, int64_t value);
    // FileDate as local date and time, computed on every read.
    quorvantell::DateTime ConvertedDate(int32_t Side) const;

    int32_t syncWay() const;
    void SetSyncWay(int32_t value);
    int32_t idx() const;
    void SetIdx(int32_t value);
    // The list holding the record; null for a record of its own.
    CVellList* owner() const { return m_owner; }

    // File, FileDate and Size of side Side taken from vell; nothing else changes.
    void Copy(const CVell& vell, int32_t Side);
    // The other side becomes a copy of side toSide; syncWay becomes 0.
    void Sync(int32_t toSide);

    // The side as an array index; std::out_of_range unless it is 0 or 1.
    static size_t SideIndex(int32_t Side);

private:
    friend class CVellList;
    CVell(CVellList* owner, uint32_t slot) : m_owner(owner), m_slot(slot) {}
    // The two times and the two sizes, wherever the record keeps them.
    const int64_t* Dates() const;
    const int64_t* Sizes() const;
    int64_t* Dates();
    int64_t* Sizes();

    CVellList* m_owner = nullptr;
    uint32_t m_slot = 0;
    // The values of a record of its own.
    std::string m_file[2];
    int64_t m_date[2] = {0, 0};
    int64_t m_size[2] = {0, 0};
    int32_t m_syncWay = 0;
    int32_t m_idx = 0;
};

}  // namespace velloran
