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

}  // namespace velloran::test
