// CVell: one file pair, either a record of its own or a view of a list's record.
#include "app/engine/CVell.h"

#include "app/engine/CVellList.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"

#include <stdexcept>
#include <utility>

namespace velloran {

size_t CVell::SideIndex(int32_t Side)
{
    if (Side != 0 && Side != 1)
        throw std::out_of_range("A side is 0 (left) or 1 (right), not " + std::to_string(Side));
    return static_cast<size_t>(Side);
}

std::string CVell::File(int32_t Side) const
{
    const size_t s = SideIndex(Side);
    if (m_owner)
        return std::string(m_owner->NameAt(m_owner->RecordAt(m_slot).name[s]));
    return m_file[s];
}

void CVell::SetFile(int32_t Side, std::string_view value)
{
    const size_t s = SideIndex(Side);
    if (m_owner)
        m_owner->RecordAt(m_slot).name[s] = m_owner->StoreName(value);
    else
        m_file[s] = value;
}

const int64_t* CVell::Dates() const
{
    return m_owner ? std::as_const(*m_owner).RecordAt(m_slot).date : m_date;
}

const int64_t* CVell::Sizes() const
{
    return m_owner ? std::as_const(*m_owner).RecordAt(m_slot).size : m_size;
}

int64_t* CVell::Dates()
{
    return const_cast<int64_t*>(std::as_const(*this).Dates());
}

int64_t* CVell::Sizes()
{
    return const_cast<int64_t*>(std::as_const(*this).Sizes());
}

int64_t CVell::FileDate(int32_t Side) const
{
    return Dates()[SideIndex(Side)];
}

void CVell::SetFileDate(int32_t Side, int64_t value)
{
    Dates()[SideIndex(Side)] = value;
}

int64_t CVell::Size(int32_t Side) const
{
    return Sizes()[SideIndex(Side)];
}

void CVell::SetSize(int32_t Side, int64_t value)
{
    Sizes()[SideIndex(Side)] = value;
}

quorvantell::DateTime CVell::ConvertedDate(int32_t Side) const
{
    return quorvantell::ClassLibrary::Shared().General->FileTimeToDate(FileDate(Side));
}

int32_t CVell::syncWay() const
{
    return m_owner ? m_owner->RecordAt(m_slot).syncWay : m_syncWay;
}

void CVell::SetSyncWay(int32_t value)
{
    (m_owner ? m_owner->RecordAt(m_slot).syncWay : m_syncWay) = value;
}

int32_t CVell::idx() const
{
    return m_owner ? m_owner->RecordAt(m_slot).idx : m_idx;
}

void CVell::SetIdx(int32_t value)
{
    (m_owner ? m_owner->RecordAt(m_slot).idx : m_idx) = value;
}

void CVell::Copy(const CVell& vell, int32_t Side)
{
    // Read everything first: vell may be this very record.
    const std::string file = vell.File(Side);
    const int64_t date = vell.FileDate(Side);
    const int64_t size = vell.Size(Side);
    SetFile(Side, file);
    SetFileDate(Side, date);
    SetSize(Side, size);
}

void CVell::Sync(int32_t toSide)
{
    const int32_t other = 1 - static_cast<int32_t>(SideIndex(toSide));
    if (m_owner) {
        auto& record = m_owner->RecordAt(m_slot);
        const size_t from = static_cast<size_t>(toSide), to = static_cast<size_t>(other);
        record.name[to] = record.name[from];
        record.date[to] = record.date[from];
        record.size[to] = record.size[from];
    } else {
        m_file[other] = m_file[toSide];
        m_date[other] = m_date[toSide];
        m_size[other] = m_size[toSide];
    }
    SetSyncWay(0);
}

}  // namespace velloran
