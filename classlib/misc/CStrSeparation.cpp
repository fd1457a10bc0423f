// CStrSeparation over the shared ring of recent values.
#include "classlib/misc/CStrSeparation.h"

namespace quorvantell {

int32_t CStrSeparation::Size() const
{
    return m_ring.Size();
}

void CStrSeparation::SetSize(int32_t size)
{
    m_ring.SetSize(size);
}

void CStrSeparation::Add(const std::string& rec)
{
    m_ring.Add(rec);
}

bool CStrSeparation::Find(const std::string& rec) const
{
    return m_ring.Find(rec);
}

void CStrSeparation::Clear()
{
    m_ring.Clear();
}

}  // namespace quorvantell
