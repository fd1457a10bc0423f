// COrdArray: sorted (key, value) list with binary search.
#include "classlib/misc/COrdArray.h"

#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"

#include <stdexcept>

namespace quorvantell {

void COrdArray::Init(bool caseSensitive, bool noDuplicates)
{
    m_caseSensitive = caseSensitive;
    m_noDuplicates = noDuplicates;
}

int32_t COrdArray::Compare(int32_t index, const std::string& value) const
{
    return ClassLibrary::Shared().General->CompareStr(m_elements[static_cast<size_t>(index)].Value, value,
                                                      m_caseSensitive);
}

const COrdArrayElement& COrdArray::At(int32_t Index) const
{
    if (Index < 0 || Index >= Size())
        throw std::out_of_range("Ordered array position " + std::to_string(Index) + " does not exist");
    return m_elements[static_cast<size_t>(Index)];
}

COrdArrayElement& COrdArray::At(int32_t Index)
{
    return const_cast<COrdArrayElement&>(static_cast<const COrdArray*>(this)->At(Index));
}

bool COrdArray::Find(const std::string& Value, int32_t& insertPos) const
{
    if (m_elements.empty())
        return false;
    int32_t lo = 0;
    int32_t hi = Size() - 1;
    while (hi - lo > 1) {
        const int32_t mid = (lo + hi) / 2;
        const int32_t c = Compare(mid, Value);
        if (c == 0) {
            insertPos = mid;
            return true;
        }
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    const int32_t atLo = Compare(lo, Value);
    if (atLo >= 0) {
        insertPos = lo;
        return atLo == 0;
    }
    const int32_t atHi = Compare(hi, Value);
    insertPos = atHi < 0 ? hi + 1 : hi;
    return atHi == 0;
}

bool COrdArray::Add(int32_t Key, const std::string& Value)
{
    int32_t pos = 0;
    if (Find(Value, pos) && m_noDuplicates)
        return false;
    m_elements.insert(m_elements.begin() + pos, COrdArrayElement{Key, Value});
    return true;
}

void COrdArray::Remove(const std::string& Value)
{
    int32_t pos = 0;
    if (Find(Value, pos))
        RemovePos(pos);
}

void COrdArray::RemovePos(int32_t Pos)
{
    At(Pos);  // throws for a position outside the array
    m_elements.erase(m_elements.begin() + Pos);
}

std::string COrdArray::Item(int32_t Index) const
{
    return At(Index).Value;
}

int32_t COrdArray::Key(int32_t Index) const
{
    return At(Index).Key;
}

void COrdArray::SetKey(int32_t Index, int32_t Key)
{
    At(Index).Key = Key;
}

int32_t COrdArray::Size() const
{
    return static_cast<int32_t>(m_elements.size());
}

}  // namespace quorvantell
