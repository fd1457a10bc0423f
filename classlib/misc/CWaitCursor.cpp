// CWaitCursor: the nesting hourglass pointer.
#include "classlib/misc/CWaitCursor.h"

#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"

#include <mutex>

namespace quorvantell {

namespace {

thread_local int32_t t_pointer = CWaitCursor::kDefaultPointer;
std::mutex g_hookMutex;
std::function<void(int32_t)> g_hook;

}  // namespace

CWaitCursor::CWaitCursor()
{
    ClassLibrary::Shared().General->WaitCountIncrement();
}

CWaitCursor::~CWaitCursor()
{
    if (ClassLibrary::Shared().General->WaitCountDecrement() == 0)
        SetPointer(kDefaultPointer);
}

void CWaitCursor::Restore()
{
    if (ClassLibrary::Shared().General->WaitCount() > 0)
        SetPointer(kHourglassPointer);
}

int32_t CWaitCursor::Pointer()
{
    return t_pointer;
}

void CWaitCursor::SetPointerHook(std::function<void(int32_t)> hook)
{
    std::lock_guard lock(g_hookMutex);
    g_hook = std::move(hook);
}

void CWaitCursor::SetPointer(int32_t pointer)
{
    if (t_pointer == pointer)
        return;
    t_pointer = pointer;
    std::function<void(int32_t)> hook;
    {
        std::lock_guard lock(g_hookMutex);
        hook = g_hook;
    }
    if (hook)
        hook(pointer);
}

}  // namespace quorvantell
