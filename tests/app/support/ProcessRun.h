// Running a program of the build as a child process with its standard
// input from /dev/null (no terminal), collecting its output and exit status.
#pragma once

#include <string>
#include <vector>

namespace velloran::test {

struct ProcessResult {
    int status = -1;  // exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs VELLORAN_BUILD_BIN/<program> with the arguments. A program still
// running after `seconds` is killed (status -1), so one that blocks fails
// its test instead of hanging the run.
ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args, int seconds = 120);

}  // namespace velloran::test
