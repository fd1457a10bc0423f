// Tests of the class library's start-up (shared instances per thread), its
// factory by class name, and the event pump.
#include "classlib/general/ClassLibrary.h"

#include "classlib/files/CFile.h"
#include "classlib/files/CFindFile.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/EventPump.h"
#include "classlib/misc/COrdArray.h"
#include "classlib/misc/CWaitCursor.h"

#include <gtest/gtest.h>

#include <thread>

using namespace quorvantell;

TEST(ClassLibrary, SharedInstancesArePerThread)
{
    SharedInstances& shared = ClassLibrary::Shared();
    ASSERT_TRUE(shared.File && shared.General && shared.Registry);
    EXPECT_EQ(&ClassLibrary::Shared(), &shared);
    EXPECT_EQ(ClassLibrary::Shared().General, shared.General);

    const CGeneral* other = nullptr;
    std::thread([&other] { other = ClassLibrary::Shared().General.get(); }).join();
    EXPECT_NE(other, nullptr);
    EXPECT_NE(other, shared.General.get());
}

TEST(ClassLibrary, CreatesEveryClassByName)
{
    EXPECT_TRUE(std::dynamic_pointer_cast<CFile>(ClassLibrary::CreateObject("CFile")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CFindFile>(ClassLibrary::CreateObject("CFindFile")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CGeneral>(ClassLibrary::CreateObject("CGeneral")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CRegistry>(ClassLibrary::CreateObject("CRegistry")));
    EXPECT_TRUE(std::dynamic_pointer_cast<COrdArray>(ClassLibrary::CreateObject("COrdArray")));
    EXPECT_TRUE(std::dynamic_pointer_cast<CWaitCursor>(ClassLibrary::CreateObject("CWaitCursor")));
    EXPECT_NE(ClassLibrary::CreateObject("CGeneral"), ClassLibrary::CreateObject("CGeneral"));
    EXPECT_EQ(ClassLibrary::CreateObject("CNoSuchClass"), nullptr);
    EXPECT_EQ(ClassLibrary::CreateObject(""), nullptr);
}

TEST(EventPump, TurnsThePumpOfItsThreadOnly)
{
    EventPump::DoEvents();  // no pump: nothing happens
    int turns = 0;
    EventPump::Set([&turns] { ++turns; });
    EventPump::DoEvents();
    EventPump::DoEvents();
    EXPECT_EQ(turns, 2);
    std::thread([] { EventPump::DoEvents(); }).join();
    EXPECT_EQ(turns, 2);
    EventPump::Set(nullptr);
    EventPump::DoEvents();
    EXPECT_EQ(turns, 2);
}
