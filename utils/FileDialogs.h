// The open, save and folder dialogs of the ordinal table, on QFileDialog.
// Results travel in the callers' byte buffers in the shapes the class
// library parses (see QuorvantellUtils.h).
#pragma once

#include <cstdint>

namespace quorvantell::exports {

// Flags of the open and save dialogs that change what the dialog does.
constexpr int32_t OFN_OVERWRITEPROMPT = 0x2;
constexpr int32_t OFN_ALLOWMULTISELECT = 0x200;
constexpr int32_t OFN_NODEREFERENCELINKS = 0x100000;
// Always added: the explorer look, existing files only, extension and
// read-only handling (open); path must exist, overwrite prompt (save).
constexpr int32_t kOpenForcedFlags = 0x81404;
constexpr int32_t kSaveForcedFlags = 0x80806;

constexpr int32_t BIF_BROWSEFORCOMPUTER = 4096;
constexpr int32_t BIF_BROWSEFORPRINTER = 8192;

// The chosen folder, NUL-terminated, in path (pathSize bytes). Computers
// and printers cannot be browsed for here: such flags give 0.
int32_t BrowseForFolder(void* owner, const char* title, const char* initialFolder, int32_t flags, char* path,
                        int32_t pathSize);
// file holds the initial name and receives the result: one full path, or
// with multiple selection the folder, NUL, each name, NUL, and a final NUL.
// filter is the description/pattern list (each ended by NUL, the list by a
// further NUL). The result is the offset of the (first) name; 0 when
// cancelled or when the result does not fit the buffer.
int32_t OpenFileDlg(void* owner, char* file, const char* initialFolder, const char* filter, int32_t flags,
                    const char* defExt, const char* title, int32_t* filterIndex);
int32_t SaveFileDlg(void* owner, char* file, const char* initialFolder, const char* filter, int32_t flags,
                    const char* defExt, const char* title, int32_t* filterIndex);

}  // namespace quorvantell::exports
