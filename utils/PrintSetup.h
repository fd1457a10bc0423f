// The print dialog of the ordinal table, on QPrintDialog (or QPageSetupDialog
// for the set-up form), exchanging the printer's settings as a device-mode
// block and the printer's name through a device-names block.
#pragma once

#include <cstdint>

namespace quorvantell::exports {

constexpr int32_t PD_SELECTION = 0x1;
constexpr int32_t PD_PAGENUMS = 0x2;
constexpr int32_t PD_NOSELECTION = 0x4;
constexpr int32_t PD_NOPAGENUMS = 0x8;
constexpr int32_t PD_COLLATE = 0x10;
constexpr int32_t PD_PRINTTOFILE = 0x20;
constexpr int32_t PD_PRINTSETUP = 0x40;
constexpr int32_t PD_RETURNDEFAULT = 0x400;
constexpr int32_t PD_DISABLEPRINTTOFILE = 0x80000;
constexpr int32_t PD_HIDEPRINTTOFILE = 0x100000;
// Always added: no print-to-file box, copies in the device mode, a device
// context, no page numbers.
constexpr int32_t kPrintForcedFlags = 0x140108;

// devNames names the printer to start with (devNamesSize bytes); devMode is
// a DEVMODE block of dmSize bytes, in and out. flags: in, and on 1 the
// dialog's final flags (selection, page numbers, collate, print to file).
int32_t PrintSetupDlg(void* owner, int32_t* flags, const void* devNames, int32_t devNamesSize, void* devMode);

}  // namespace quorvantell::exports
