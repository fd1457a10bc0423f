// One table of keys: virtual-key code, Qt key, keypad or not, X11 keysym.
#include "controls/VirtualKeys.h"

#include <array>

namespace quorvantell {

namespace {

struct Entry {
    uint8_t code;
    int qtKey;
    bool keypad;
    uint32_t keysym;
    bool extended;
};

constexpr Entry kNamed[] = {
    {0x08, Qt::Key_Backspace, false, 0xff08, false}, {0x09, Qt::Key_Tab, false, 0xff09, false},
    {0x0D, Qt::Key_Return, false, 0xff0d, false},    {0x0D, Qt::Key_Enter, true, 0xff8d, true},
    {0x10, Qt::Key_Shift, false, 0xffe1, false},     {0x11, Qt::Key_Control, false, 0xffe3, false},
    {0x12, Qt::Key_Alt, false, 0xffe9, false},       {0x13, Qt::Key_Pause, false, 0xff13, false},
    {0x14, Qt::Key_CapsLock, false, 0xffe5, false},  {0x1B, Qt::Key_Escape, false, 0xff1b, false},
    {0x20, Qt::Key_Space, false, 0x20, false},       {0x21, Qt::Key_PageUp, false, 0xff55, true},
    {0x22, Qt::Key_PageDown, false, 0xff56, true},   {0x23, Qt::Key_End, false, 0xff57, true},
    {0x24, Qt::Key_Home, false, 0xff50, true},       {0x25, Qt::Key_Left, false, 0xff51, true},
    {0x26, Qt::Key_Up, false, 0xff52, true},         {0x27, Qt::Key_Right, false, 0xff53, true},
    {0x28, Qt::Key_Down, false, 0xff54, true},       {0x2C, Qt::Key_Print, false, 0xff61, false},
    {0x2D, Qt::Key_Insert, false, 0xff63, true},     {0x2E, Qt::Key_Delete, false, 0xffff, true},
    {0x5D, Qt::Key_Menu, false, 0xff67, false},      {0x6A, Qt::Key_Asterisk, true, 0xffaa, false},
    {0x6B, Qt::Key_Plus, true, 0xffab, false},       {0x6D, Qt::Key_Minus, true, 0xffad, false},
    {0x6E, Qt::Key_Period, true, 0xffae, false},     {0x6F, Qt::Key_Slash, true, 0xffaf, true},
    {0x90, Qt::Key_NumLock, false, 0xff7f, false},   {0x91, Qt::Key_ScrollLock, false, 0xff14, false},
    {0xBA, Qt::Key_Semicolon, false, 0x3b, false},   {0xBB, Qt::Key_Equal, false, 0x3d, false},
    {0xBC, Qt::Key_Comma, false, 0x2c, false},       {0xBD, Qt::Key_Minus, false, 0x2d, false},
    {0xBE, Qt::Key_Period, false, 0x2e, false},      {0xBF, Qt::Key_Slash, false, 0x2f, false},
    {0xC0, Qt::Key_QuoteLeft, false, 0x60, false},   {0xDB, Qt::Key_BracketLeft, false, 0x5b, false},
    {0xDC, Qt::Key_Backslash, false, 0x5c, false},   {0xDD, Qt::Key_BracketRight, false, 0x5d, false},
    {0xDE, Qt::Key_Apostrophe, false, 0x27, false},
};

// What Shift makes of the keys on a US layout, back to the key itself.
constexpr std::array<std::pair<int, uint8_t>, 21> kShifted = {{
    {Qt::Key_Exclam, '1'},       {Qt::Key_At, '2'},          {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},      {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},    {Qt::Key_ParenRight, '0'},  {Qt::Key_Underscore, 0xBD}, {Qt::Key_Plus, 0xBB},
    {Qt::Key_Colon, 0xBA},       {Qt::Key_Less, 0xBC},       {Qt::Key_Greater, 0xBE},  {Qt::Key_Question, 0xBF},
    {Qt::Key_AsciiTilde, 0xC0},  {Qt::Key_BraceLeft, 0xDB},  {Qt::Key_Bar, 0xDC},      {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_QuoteDbl, 0xDE},
}};

constexpr uint8_t kNumpad0 = 0x60;
constexpr uint8_t kF1 = 0x70;
constexpr int kFunctionKeys = 24;
constexpr uint32_t kKeysymKeypad0 = 0xffb0;
constexpr uint32_t kKeysymF1 = 0xffbe;

bool IsLetterOrDigit(uint8_t code)
{
    return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

const Entry* FindNamed(int qtKey, bool keypad)
{
    for (const Entry& entry : kNamed) {
        if (entry.qtKey == qtKey && entry.keypad == keypad)
            return &entry;
    }
    return nullptr;
}

const Entry* FindNamed(uint8_t code)
{
    for (const Entry& entry : kNamed) {
        if (entry.code == code)
            return &entry;
    }
    return nullptr;
}

}  // namespace

VirtualKeys::Key VirtualKeys::FromQt(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return {uint8_t(kNumpad0 + (qtKey - Qt::Key_0)), false};
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return {uint8_t(qtKey), false};
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return {uint8_t(qtKey), false};
    if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + kFunctionKeys)
        return {uint8_t(kF1 + (qtKey - Qt::Key_F1)), false};
    // A keypad key without a keypad meaning of its own (Home with Num Lock
    // off) is the plain key, but not an extended one.
    if (const Entry* entry = FindNamed(qtKey, keypad))
        return {entry->code, entry->extended};
    if (const Entry* entry = FindNamed(qtKey, !keypad))
        return {entry->code, entry->extended && !keypad};
    for (const auto& [shifted, code] : kShifted) {
        if (shifted == qtKey)
            return {code, false};
    }
    return {};
}

int VirtualKeys::ToQt(uint8_t code)
{
    if (IsLetterOrDigit(code))
        return code;
    if (code >= kNumpad0 && code < kNumpad0 + 10)
        return int(Qt::KeypadModifier) | (Qt::Key_0 + (code - kNumpad0));
    if (code >= kF1 && code < kF1 + kFunctionKeys)
        return Qt::Key_F1 + (code - kF1);
    const Entry* entry = FindNamed(code);
    if (!entry)
        return 0;
    return entry->keypad ? int(Qt::KeypadModifier) | entry->qtKey : entry->qtKey;
}

uint32_t VirtualKeys::ToKeysym(uint8_t code)
{
    if (code >= 'A' && code <= 'Z')
        return code + ('a' - 'A');
    if (code >= '0' && code <= '9')
        return code;
    if (code >= kNumpad0 && code < kNumpad0 + 10)
        return kKeysymKeypad0 + (code - kNumpad0);
    if (code >= kF1 && code < kF1 + kFunctionKeys)
        return kKeysymF1 + (code - kF1);
    const Entry* entry = FindNamed(code);
    return entry ? entry->keysym : 0;
}

bool VirtualKeys::IsModifier(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return true;
    default:
        return false;
    }
}

int VirtualKeys::ShiftState(Qt::KeyboardModifiers modifiers)
{
    int bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= 1;
    if (modifiers & Qt::ControlModifier)
        bits |= 2;
    if (modifiers & Qt::AltModifier)
        bits |= 4;
    return bits;
}

}  // namespace quorvantell
