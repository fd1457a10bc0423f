// CWaitCursor nesting.
#include "classlib/misc/CWaitCursor.h"

#include <gtest/gtest.h>

#include <memory>

using quorvantell::CWaitCursor;

TEST(CWaitCursor, PointerReturnsOnlyWhenTheLastInstanceGoes)
{
    std::vector<int32_t> shown;
    CWaitCursor::SetPointerHook([&](int32_t p) { shown.push_back(p); });
    {
        auto outer = std::make_unique<CWaitCursor>();
        EXPECT_EQ(CWaitCursor::Pointer(), CWaitCursor::kDefaultPointer);  // creation alone changes nothing
        outer->Restore();
        EXPECT_EQ(CWaitCursor::Pointer(), CWaitCursor::kHourglassPointer);
        auto inner = std::make_unique<CWaitCursor>();
        inner->Restore();
        outer.reset();
        EXPECT_EQ(CWaitCursor::Pointer(), CWaitCursor::kHourglassPointer);
        inner.reset();
        EXPECT_EQ(CWaitCursor::Pointer(), CWaitCursor::kDefaultPointer);
    }
    CWaitCursor::SetPointerHook(nullptr);
    EXPECT_EQ(shown, (std::vector<int32_t>{CWaitCursor::kHourglassPointer, CWaitCursor::kDefaultPointer}));
}
