// Starting a desktop helper program (xdg-open and the like) without waiting
// for the application it opens.
#pragma once

#include <string>
#include <vector>

namespace quorvantell {

// Starts argv[0] (searched in PATH) in its own session. True when it started
// and did not fail at once: it exited with status 0 within a short grace
// period, or is still running after it (then it is reaped in the background).
bool LaunchProgram(const std::vector<std::string>& argv);

}  // namespace quorvantell
