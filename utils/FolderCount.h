// Counting the folders and files of a tree, for progress totals.
#pragma once

#include <cstdint>

namespace quorvantell::exports {

// Counts the sub-folders and files below folder, recursively. Links to
// folders are neither counted nor followed, links to files count as files,
// broken links, FIFOs, sockets and devices are not counted. Returns 1 after a complete walk and -1 when folder itself
// cannot be read; sub-folders that cannot be read are counted, not walked.
int32_t CountFolderTree(const char* folder, int32_t* folders, int32_t* files);

}  // namespace quorvantell::exports
