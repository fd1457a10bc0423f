// Test main: every test program runs with its own temporary XDG folders, so
// no test ever reads or writes the user's real settings or trash.
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    velloran::test::TempDir home("xdg");
    setenv("XDG_CONFIG_HOME", (home.Path() + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home.Path() + "/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home.Path() + "/cache").c_str(), 1);
    return RUN_ALL_TESTS();
}
