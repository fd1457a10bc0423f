// A temporary folder on a file system other than the one of a given path,
// for the cases that must not cross file systems.
#pragma once

#include "tests/support/TempDir.h"

#include <memory>
#include <string>

namespace velloran::test {

// /dev/shm when it is writable and on another device than nearPath; null
// otherwise (the caller skips).
std::unique_ptr<TempDir> TempDirOnOtherFileSystem(const std::string& nearPath, const std::string& tag);

}  // namespace velloran::test
