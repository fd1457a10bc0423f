// CopyFileAt: one file copied from a folder to a folder, both given as open
// descriptors, through a ReplacementFile: the target gets the source's data,
// mode and times and replaces what had its name only when complete. The
// source is checked before and after; a source that changed meanwhile is
// never put in place, since a torn copy stamped with the old time would
// compare as equal from then on.
#pragma once

#include <string>

namespace quorvantell {

enum class CopyOutcome {
    Copied,
    Failed,         // the source could not be read or the target not written
    Cancelled,      // Cancel became true; the event loop turns between blocks
    SourceChanged,  // the source was written to while it was copied
};

// The source name is followed when it is a link to a file; the target name
// never is (a link there is replaced by the file). A FIFO or device as
// source fails at once instead of blocking.
CopyOutcome CopyFileAt(int fromDir, const std::string& fromName, int toDir, const std::string& toName, bool& Cancel);

}  // namespace quorvantell
