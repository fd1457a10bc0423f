// RunReport: the end-of-run report after an operation or a script - the
// error window when errLog holds lines, and a block appended to the log
// file "OLogFile" when one is set.
#pragma once

#include "classlib/general/DateTime.h"

#include <string>

namespace velloran {

class CSync;

class RunReport {
public:
    explicit RunReport(CSync& sync) : m_sync(sync) {}

    // description names the operation ("Script " + path, or the two folders
    // with the button's tag); started is when it began. False when the log
    // file could not be appended to (after its message); a log file that is
    // no regular file (a FIFO, a device) counts as one that cannot.
    bool Show(const std::string& description, const quorvantell::DateTime& started);

    // The block appended to the log file, lines ending in CR LF; control
    // characters in the description are escaped, so it stays one line.
    static std::string LogBlock(const std::string& description, const quorvantell::DateTime& started,
                                const quorvantell::DateTime& ended, const std::string& errLog);
    // The current local date and time.
    static quorvantell::DateTime Now();
    // CR LF and lone CR turned into the platform's line end.
    static std::string PlatformLineEnds(const std::string& text);

private:
    bool AppendToLogFile(const std::string& block) const;

    CSync& m_sync;
};

}  // namespace velloran
