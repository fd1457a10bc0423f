// Starting programs for the user (a document's application, xdg-open, an
// executable the user named) detached: the caller never waits on them.
#pragma once

#include <string>
#include <vector>

namespace quorvantell {

// The executable file exec runs for a program name: the name itself when it
// holds a "/", else the first of that name in PATH; empty when there is none.
std::string ProgramPath(const std::string& name);

// Starts argv[0] (searched in PATH when it holds no "/") with the rest as its
// arguments, in a session of its own and not as a child of this process.
// True when the program was started; false when it cannot be found or run
// (exec failed). Returns as soon as the program runs, never waiting on it.
bool LaunchProgram(const std::vector<std::string>& argv);

// True for an executable regular file that exec can run itself: a machine
// program or a script naming its interpreter. A document that merely has
// its execute bit set (as everything on some mounted disks) is none.
bool IsProgramFile(const std::string& path);

// A parameter line split into arguments at blanks; a double-quoted part
// keeps its blanks ("a b" c gives a b and c), the quotes themselves go.
std::vector<std::string> SplitParameters(const std::string& parameters);

}  // namespace quorvantell
