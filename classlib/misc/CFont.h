// CFont: a plain font description that travels to and from QFont (the
// platform's standard font object) and through the font dialog of
// CComDialogs. Qt fonts carry no character set: fonts read from Qt report
// DEFAULT_CHARSET (1), and Charset is not handed to Qt.
#pragma once

#include "classlib/ClassLibObject.h"

#include <cstdint>
#include <string>

class QFont;

namespace quorvantell {

class CFont : public ClassLibObject {
public:
    uint8_t Charset = 0;
    uint8_t Italic = 0;  // 0 or 1
    std::string Name;    // UTF-8
    int32_t Size = 0;    // whole points
    uint8_t Strikethrough = 0;
    uint8_t Underline = 0;
    int32_t Weight = 400;  // 400 normal, 700 bold
    uint32_t Color = 0;    // 0x00BBGGRR

    // Every field but Color; the size rounded to whole points, halves to even.
    void FromStdFont(const QFont& s);
    QFont ToStdFont() const;
};

}  // namespace quorvantell
