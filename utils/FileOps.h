// Single-file operations of the ordinal table: delete, size, move, length
// and seek, each one POSIX call or a short sequence of them.
#pragma once

#include <cstdint>

namespace quorvantell::exports {

// Removes a file or symbolic link (never a folder), read-only or not.
int32_t DeleteFileForced(const char* path);
// Size of a regular file that can be opened for reading; 1 / 0.
int32_t GetFileSize64(const char* path, int64_t* size);
// Renames from onto to, replacing an existing file; identical paths succeed
// untouched.
int32_t MoveFileReplace(const char* from, const char* to);
// Sets a file's length, creating it when missing.
int32_t SetFileLength(const char* path, int64_t length);
// Moves an open descriptor's position to the given offset from the start; 1 / 0.
int32_t SeekFile64(int32_t handle, int64_t position);

}  // namespace quorvantell::exports
