// COrdArray: a list of (integer key, text value) elements kept sorted by value
// with CGeneral::CompareStr, found by binary search.
#pragma once

#include "classlib/ClassLibObject.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvantell {

struct COrdArrayElement {
    int32_t Key = 0;
    std::string Value;
};

class COrdArray : public ClassLibObject {
public:
    void Init(bool caseSensitive, bool noDuplicates);
    bool Add(int32_t Key, const std::string& Value);
    bool Find(const std::string& Value, int32_t& insertPos) const;
    void Remove(const std::string& Value);
    // Members taking a position throw std::out_of_range for one outside
    // 0 .. Size() - 1.
    void RemovePos(int32_t Pos);
    std::string Item(int32_t Index) const;
    int32_t Key(int32_t Index) const;
    void SetKey(int32_t Index, int32_t Key);
    int32_t Size() const;

private:
    int32_t Compare(int32_t index, const std::string& value) const;
    const COrdArrayElement& At(int32_t Index) const;
    COrdArrayElement& At(int32_t Index);

    std::vector<COrdArrayElement> m_elements;
    bool m_caseSensitive = false;
    bool m_noDuplicates = false;
};

}  // namespace quorvantell
