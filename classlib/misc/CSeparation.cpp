// CSeparation over the shared ring of recent values.
#include "classlib/misc/CSeparation.h"

namespace quorvantell {

int32_t CSeparation::Size() const
{
    return m_ring.Size();
}

void CSeparation::SetSize(int32_t size)
{
    m_ring.SetSize(size);
}

void CSeparation::Add(int32_t rec)
{
    m_ring.Add(rec);
}

bool CSeparation::Find(int32_t rec) const
{
    return m_ring.Find(rec);
}

void CSeparation::Clear()
{
    m_ring.Clear();
}

}  // namespace quorvantell
