// MGlobal: the program's start routine and the showing of its main window.
#pragma once

#include <cstdint>
#include <string>

namespace velloran {

class frmMain;

namespace MGlobal {

// The start routine: the class library's start-up, the main window (which
// owns the sync controller) and the single-instance guard given the command
// line. Returns the process's exit status.
int Main(int argc, char** argv);

// First start (wakeUp false): shows the window and sets the help file. A
// wake-up brings the window to the front, restored when minimised. Either
// way a command line that is not empty is run as a script.
void ShowMainWindow(frmMain& form, const std::string& Command, bool wakeUp);

// The command line as one string: the arguments joined by single blanks,
// since the whole of it, unsplit, names one script.
std::string CommandLine(int argc, char** argv);

// The last part of the program's version.
int32_t Revision();

}  // namespace MGlobal
}  // namespace velloran
