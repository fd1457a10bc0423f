// CSeparation: a set of the most recently added 32-bit integers, of fixed size.
#pragma once

#include "classlib/ClassLibObject.h"
#include "classlib/misc/SeparationRing.h"

#include <cstdint>

namespace quorvantell {

class CSeparation : public ClassLibObject {
public:
    int32_t Size() const;
    // Non-zero: that many slots, cleared. 0: no slots (Add then keeps nothing).
    void SetSize(int32_t size);
    // Stores rec over the oldest value once every slot is used.
    void Add(int32_t rec);
    // True when one of the kept values equals rec.
    bool Find(int32_t rec) const;
    void Clear();

private:
    SeparationRing<int32_t> m_ring;
};

}  // namespace quorvantell
