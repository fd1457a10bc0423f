// The colour and font dialogs of the ordinal table, on QColorDialog and
// QFontDialog. Colours are 0x00BBGGRR.
#pragma once

#include "utils/QuorvantellUtils.h"

#include <cstdint>

namespace quorvantell::exports {

constexpr int32_t CC_RGBINIT = 1;
// Always added to the font dialog's flags: screen fonts, start from the
// record, only existing fonts.
constexpr int32_t kFontForcedFlags = 0x10041;
constexpr int32_t CF_FIXEDPITCHONLY = 0x4000;
constexpr int32_t CF_SCALABLEONLY = 0x20000;
constexpr int32_t CF_TTONLY = 0x40000;

// color: the initial colour (used with CC_RGBINIT) and the chosen one;
// customColors16: the dialog's 16 custom colours, in and out (may be null).
int32_t ChooseColorDlg(void* owner, uint32_t* color, uint32_t* customColors16, int32_t flags);
// font: face name, weight, italic, underline and strike-out preselect the
// dialog (at its default size); lfWidth carries the colour. On 1 the record
// is filled from the choice, then lfHeight holds the whole point size and
// lfWidth the colour.
int32_t ChooseFontDlg(void* owner, LOGFONT* font, int32_t flags);

}  // namespace quorvantell::exports
