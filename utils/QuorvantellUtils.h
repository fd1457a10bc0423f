// QuorvantellUtils: the native utility library. It exports one symbol, the
// ordinal table; callers never link against it but bind each function by its
// ordinal at the first call (see UtilsImport.h). This header is the contract:
// ordinals, argument shapes and results.
#pragma once

#include <cstddef>
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
    GetOwnPriority = 311,
    ForceForeground = 370,
    PlaceBesideRect = 371,
    SnapRectToRect = 372,
    SnapRectToEdges = 373,
    SetTopMost = 390,
    OpenWebPage = 831,
    NotifyAssocChanged = 850,
};

// Ending of the temporary file a copy writes before it replaces its target,
// where the file system cannot keep it unnamed. The name only helps a person
// recognise a leftover; no count, scan or delete treats such files apart.
constexpr const char* kCopyTempSuffix = ".velloran-tmp";

// A window box: left, top, width, height.
struct WindowBox {
    int32_t left = 0, top = 0, width = 0, height = 0;
};

// An area rectangle (a screen's work area): left, top, right, bottom.
struct AreaRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The font record ChooseFontDlg exchanges (the platform's LOGFONT layout).
// The face name is UTF-8, NUL-terminated.
struct LOGFONT {
    int32_t lfHeight = 0, lfWidth = 0, lfEscapement = 0, lfOrientation = 0, lfWeight = 0;
    uint8_t lfItalic = 0, lfUnderline = 0, lfStrikeOut = 0, lfCharSet = 0;
    uint8_t lfOutPrecision = 0, lfClipPrecision = 0, lfQuality = 0, lfPitchAndFamily = 0;
    char lfFaceName[32] = {};
};
constexpr uint8_t DEFAULT_CHARSET = 1;

// The head of a device-names block: byte offsets (from the block's start) of
// the NUL-terminated driver, device and port names that follow it.
struct DEVNAMES {
    uint16_t wDriverOffset = 0, wDeviceOffset = 0, wOutputOffset = 0, wDefault = 0;
};

// A printer's settings (the platform's device-mode layout, display fields
// left out). dmSize gives the block's length; dmFields says which settings
// are meant.
struct DEVMODE {
    char dmDeviceName[32] = {};
    uint16_t dmSpecVersion = 0, dmDriverVersion = 0, dmSize = 0, dmDriverExtra = 0;
    uint32_t dmFields = 0;
    int16_t dmOrientation = 0, dmPaperSize = 0, dmPaperLength = 0, dmPaperWidth = 0, dmScale = 0, dmCopies = 0;
    int16_t dmDefaultSource = 0, dmPrintQuality = 0, dmColor = 0, dmDuplex = 0, dmYResolution = 0, dmTTOption = 0;
    int16_t dmCollate = 0;
    char dmFormName[32] = {};
};
static_assert(offsetof(DEVMODE, dmSize) == 36 && offsetof(DEVMODE, dmFields) == 40 && offsetof(DEVMODE, dmCollate) == 68);

constexpr uint32_t DM_ORIENTATION = 0x1, DM_PAPERSIZE = 0x2, DM_COPIES = 0x100, DM_PRINTQUALITY = 0x400;
constexpr uint32_t DM_COLOR = 0x800, DM_DUPLEX = 0x1000, DM_COLLATE = 0x8000;

// Result buffer sizes of the file dialogs: the open dialog's (room for many
// names) and the save dialog's (one path of the longest length Linux allows).
constexpr int32_t kOpenFileBufferSize = 32760;
constexpr int32_t kSaveFileBufferSize = 4096;

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
using FnGetOwnPriority = int32_t(int16_t selector);                              // 311: the class or -2..2 in effect
using FnPlaceBesideRect = void(WindowBox* window, const WindowBox* reference, const AreaRect* area);  // 371
using FnSnapRectToRect = void(WindowBox* window, const AreaRect* area, int32_t distance);             // 372
using FnSnapRectToEdges = void(WindowBox* window, const WindowBox* reference, int32_t distance);      // 373
// Window handles are QWidget* passed as void*. The dialogs return 1 when
// confirmed, 0 when cancelled or when no dialog can be shown (no widget
// application on the calling thread); buffers change only on 1.
using FnBrowseForFolder = int32_t(void* owner, const char* title, const char* initialFolder, int32_t flags,
                                  char* path, int32_t pathSize);                  // 100
using FnChooseColorDlg = int32_t(void* owner, uint32_t* color, uint32_t* customColors16, int32_t flags);  // 131
using FnChooseFontDlg = int32_t(void* owner, LOGFONT* font, int32_t flags);      // 132
using FnPrintSetupDlg = int32_t(void* owner, int32_t* flags, const void* devNames, int32_t devNamesSize,
                                void* devMode);                                 // 133
// 160 / 170: file is kOpenFileBufferSize / kSaveFileBufferSize bytes; the
// result is the offset of the (first) file name in it, 0 when cancelled.
using FnOpenFileDlg = int32_t(void* owner, char* file, const char* initialFolder, const char* filter, int32_t flags,
                              const char* defExt, const char* title, int32_t* filterIndex);  // 160
using FnSaveFileDlg = FnOpenFileDlg;                                             // 170
using FnForceForeground = int32_t(void* window);                                 // 370: nonzero on success
using FnSetTopMost = int32_t(void* window, int16_t topMost);                     // 390: nonzero on success
using FnOpenWebPage = void(int32_t page);                                        // 831
using FnNotifyAssocChanged = void();                                             // 850

}  // namespace quorvantell

// The library's only exported symbol: the address of the function with the
// given ordinal, or null when there is none.
extern "C" void* QuorvantellUtilsOrdinal(int32_t ordinal);
