// Running one disabled test of this test program again as the unprivileged
// user nobody, for behaviour that root's privileges would hide.
#pragma once

#include <string>

namespace velloran::test {

// True when this process is root and setpriv is there to drop privileges.
bool CanRunAsNobody();
// Runs the test program as nobody with --gtest_also_run_disabled_tests and
// the given filter; returns its output and sets status (as from waitpid).
std::string RunAsNobody(const std::string& filter, int& status);
// True when the child's output shows exactly one passed test.
bool PassedOneTest(const std::string& output);

}  // namespace velloran::test
