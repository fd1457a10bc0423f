// The exit statuses of velloran-cli.
#pragma once

namespace velloran::cli {

enum ExitStatus : int {
    kExitClean = 0,      // nothing to report: no differences, no error or warning lines
    kExitReport = 1,     // differences found, or only warning lines logged
    kExitError = 2,      // error lines, an unusable folder, a bad script or bad usage
    kExitCancelled = 3,  // the user cancelled
};

}  // namespace velloran::cli
