// CStrSeparation: a set of the most recently added texts (compared exactly), of fixed size.
#pragma once

#include "classlib/ClassLibObject.h"
#include "classlib/misc/SeparationRing.h"

#include <cstdint>
#include <string>

namespace quorvantell {

class CStrSeparation : public ClassLibObject {
public:
    int32_t Size() const;
    // Non-zero: that many slots, cleared. 0: no slots (Add then keeps nothing).
    void SetSize(int32_t size);
    // Stores rec over the oldest value once every slot is used.
    void Add(const std::string& rec);
    // True when one of the kept values equals rec.
    bool Find(const std::string& rec) const;
    void Clear();

private:
    SeparationRing<std::string> m_ring;
};

}  // namespace quorvantell
