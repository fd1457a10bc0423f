// Running a piece of a test as another user (root tests acting as `nobody`).
#pragma once

#include <functional>

namespace velloran::test {

// True when the process runs as root and can switch users.
bool IsRoot();

// Runs `body` in a child process as the user nobody (group nogroup) and
// returns its result; false when the child could not be started or switch.
bool RunAsNobody(const std::function<bool()>& body);

// Runs `body` in a child process and returns its result. A child still
// running after `seconds` is ended and counts as false, so a call that
// blocks for good fails its test instead of hanging the whole run.
bool RunInChild(const std::function<bool()>& body, unsigned seconds = 30);

}  // namespace velloran::test
