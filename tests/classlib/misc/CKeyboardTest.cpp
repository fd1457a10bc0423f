// CKeyboard: a written lock-key state is this thread's view only; other
// threads keep reading the system's state (off where nobody tells it, as in
// the test environment without a display or keyboard lights).
#include "classlib/misc/CKeyboard.h"
#include "classlib/misc/LockKeys.h"

#include <gtest/gtest.h>

#include <thread>

using quorvantell::CKeyboard;
using quorvantell::LockKey;

TEST(CKeyboard, WrittenStatesAreThisThreadsView)
{
    const bool systemCaps = quorvantell::LockKeyOn(LockKey::Caps);
    CKeyboard keyboard;
    EXPECT_EQ(keyboard.Capslock(), systemCaps);
    keyboard.SetCapslock(!systemCaps);
    keyboard.SetNumlock(true);
    EXPECT_EQ(keyboard.Capslock(), !systemCaps);
    EXPECT_TRUE(keyboard.Numlock());

    bool otherThreadCaps = !systemCaps;
    std::thread([&otherThreadCaps] { otherThreadCaps = CKeyboard().Capslock(); }).join();
    EXPECT_EQ(otherThreadCaps, systemCaps);

    keyboard.SetNumlock(false);
    EXPECT_FALSE(keyboard.Numlock());
    keyboard.SetCapslock(systemCaps);
    EXPECT_EQ(keyboard.Capslock(), systemCaps);
}

TEST(CKeyboard, KeysAreIndependent)
{
    CKeyboard keyboard;
    const bool scroll = keyboard.Scrolllock();
    keyboard.SetScrolllock(!scroll);
    EXPECT_EQ(keyboard.Scrolllock(), !scroll);
    EXPECT_EQ(keyboard.Capslock(), quorvantell::LockKeyOn(LockKey::Caps));
    keyboard.SetScrolllock(scroll);
}
