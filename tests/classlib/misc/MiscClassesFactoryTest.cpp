// The dialog, control and small classes in the class library's shared
// instances and in its factory by class name.
#include "classlib/general/ClassLibrary.h"
#include "classlib/misc/CComDialogs.h"
#include "classlib/misc/CControls.h"
#include "classlib/misc/CFont.h"
#include "classlib/misc/CKeyboard.h"
#include "classlib/misc/CMenu.h"
#include "classlib/misc/CSchedule.h"
#include "classlib/misc/CSeparation.h"
#include "classlib/misc/CSingleInst.h"
#include "classlib/misc/CStrSeparation.h"

#include <gtest/gtest.h>

using namespace quorvantell;

TEST(MiscClassesFactory, SharedDialogsAndControlsPerThread)
{
    SharedInstances& shared = ClassLibrary::Shared();
    ASSERT_NE(shared.ComDialogs, nullptr);
    ASSERT_NE(shared.Controls, nullptr);
    EXPECT_EQ(ClassLibrary::Shared().ComDialogs, shared.ComDialogs);
}

TEST(MiscClassesFactory, CreatedByClassName)
{
    EXPECT_TRUE(std::dynamic_pointer_cast<CComDialogs>(ClassLibrary::CreateObject("CComDialogs")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CControls>(ClassLibrary::CreateObject("CControls")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CFont>(ClassLibrary::CreateObject("CFont")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CMenu>(ClassLibrary::CreateObject("CMenu")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CKeyboard>(ClassLibrary::CreateObject("CKeyboard")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CSchedule>(ClassLibrary::CreateObject("CSchedule")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CSeparation>(ClassLibrary::CreateObject("CSeparation")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CStrSeparation>(ClassLibrary::CreateObject("CStrSeparation")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CSingleInst>(ClassLibrary::CreateObject("CSingleInst")));
}
