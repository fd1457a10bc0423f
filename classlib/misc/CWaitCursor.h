// CWaitCursor: the hourglass pointer for as long as at least one instance of
// the thread lives and one of them asked for it. The nesting count lives in
// the thread's shared CGeneral; the pointer itself is changed through a hook
// that the windowing layer installs (without one only the count is kept).
#pragma once

#include "classlib/ClassLibObject.h"

#include <cstdint>
#include <functional>

namespace quorvantell {

class CWaitCursor : public ClassLibObject {
public:
    static constexpr int32_t kDefaultPointer = 0;
    static constexpr int32_t kHourglassPointer = 11;

    CWaitCursor();
    ~CWaitCursor() override;
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    void Restore();

    // The pointer this thread last asked for (0 default, 11 hourglass).
    static int32_t Pointer();
    // Installed by the windowing layer: shows the given pointer.
    static void SetPointerHook(std::function<void(int32_t)> hook);

private:
    static void SetPointer(int32_t pointer);
};

}  // namespace quorvantell
