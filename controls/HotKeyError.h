// HotKeyError: what SetApplicationHotKey raises when a window cannot take the
// hot key - the error number, the source ("<program>.cHotKey") and the text.
#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>

namespace quorvantell {

struct HotKeyError : std::runtime_error {
    static constexpr int32_t eHotKeyAlreadyAssigned = static_cast<int32_t>(0x80040440u);
    static constexpr int32_t eHotKeyInvalidWindow = static_cast<int32_t>(0x80040441u);
    static constexpr int32_t eHotKeyInvalidHotKey = static_cast<int32_t>(0x80040442u);
    static constexpr int32_t eHotKeyUnknownError = static_cast<int32_t>(0x80040443u);

    HotKeyError(int32_t number, const QString& source, const QString& description)
        : std::runtime_error(description.toStdString()), Number(number), Source(source), Description(description)
    {
    }

    int32_t Number;
    QString Source;
    QString Description;
};

}  // namespace quorvantell
