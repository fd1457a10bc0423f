// QuorvantellUtils: the native utility library. It exports one symbol, the
// ordinal table; callers never link against it but bind each function by its
// ordinal at the first call (see UtilsImport.h). This header is the contract:
// ordinals, argument shapes and results.
#pragma once

#include <cstdint>

namespace quorvantell {

enum class UtilsOrdinal : int32_t {
    BrowseForFolder = 100,
    ChooseColorDlg = 131,
    ChooseFontDlg = 132,
    PrintSetupDlg = 133,
    OpenFileDlg = 160,
    SaveFileDlg = 170,
    DeleteFileForced = 211,
    CountFolderTree = 212,
    ShowFileProperties = 221,
    GetFileSize64 = 230,
    MoveFileReplace = 250,
    StripBadNameChars = 259,
    RecycleFiles = 270,
    SetFileLength = 271,
    SeekFile64 = 272,
    SetOwnPriority = 310,
    ForceForeground = 370,
    PlaceBesideRect = 371,
    SnapRectToRect = 372,
    SnapRectToEdges = 373,
    SetTopMost = 390,
    OpenWebPage = 831,
    NotifyAssocChanged = 850,
};

// A window box: left, top, width, height.
struct WindowBox {
    int32_t left = 0, top = 0, width = 0, height = 0;
};

// An area rectangle (a screen's work area): left, top, right, bottom.
struct AreaRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Process priority classes accepted by SetOwnPriority with selector 0.
constexpr int32_t IDLE_PRIORITY_CLASS = 0x40;
constexpr int32_t NORMAL_PRIORITY_CLASS = 0x20;
constexpr int32_t HIGH_PRIORITY_CLASS = 0x80;

// Signatures of the exports, by ordinal. Paths are byte strings (the names the
// file system gave); 64-bit sizes and positions are passed whole.
using FnDeleteFileForced = int32_t(const char* path);                            // 211: nonzero on success
using FnCountFolderTree = int32_t(const char* folder, int32_t* folders, int32_t* files);  // 212: nonzero done, -1 unsearchable
using FnShowFileProperties = int32_t(const char* path);                          // 221: nonzero on success
using FnGetFileSize64 = int32_t(const char* path, int64_t* size);                // 230: 1 / 0
using FnMoveFileReplace = int32_t(const char* from, const char* to);             // 250: nonzero on success
using FnStripBadNameChars = int32_t(char* buffer, int32_t length);               // 259: twice the length
using FnRecycleFiles = int32_t(const char* doubleNulList);                       // 270: 0 on success
using FnSetFileLength = int32_t(const char* path, int64_t length);               // 271: nonzero on success
using FnSeekFile64 = int32_t(int32_t handle, int64_t position);                  // 272: 1 / 0
using FnSetOwnPriority = int32_t(int16_t selector, int32_t priority);            // 310: nonzero on success
using FnPlaceBesideRect = void(WindowBox* window, const WindowBox* reference, const AreaRect* area);  // 371
using FnSnapRectToRect = void(WindowBox* window, const AreaRect* area, int32_t distance);             // 372
using FnSnapRectToEdges = void(WindowBox* window, const WindowBox* reference, int32_t distance);      // 373
using FnOpenWebPage = void(int32_t page);                                        // 831
using FnNotifyAssocChanged = void();                                             // 850

}  // namespace quorvantell

// The library's only exported symbol: the address of the function with the
// given ordinal, or null when there is none.
extern "C" void* QuorvantellUtilsOrdinal(int32_t ordinal);
