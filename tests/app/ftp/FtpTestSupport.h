// Helpers for tests that drive CFTP: a whole listing collected at once, and
// the number of the application error an action raises.
#pragma once

#include "app/ftp/CFTP.h"
#include "tests/support/OneAtATime.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velloran::test {

using FtpListing = OneAtATimeListing;

// The server folder's listing, collected one entry at a time.
FtpListing ListFtpTree(CFTP& ftp, const std::string& path, bool subDirs, const std::string& spec = "*.*;");

// The Number of the AppError the action raised; 0 when it raised none.
int32_t RaisedNumber(const std::function<void()>& action);

// PutFile of a sparse 4 GB file made in `localFolder` as `remote`, while
// `kill` ends the server once its folder `serverDisk` (as seen on this
// disk) has taken a megabyte; the result of PutFile.
bool PutWhileTheServerDies(CFTP& ftp, const std::string& localFolder, const std::string& remote,
                           const std::string& serverDisk, const std::function<void()>& kill);

}  // namespace velloran::test
