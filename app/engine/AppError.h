// AppError: the program's own raised errors, recognised by their number
// across the engine, the FTP client and the windows: the user's cancel
// request, an FTP listing or connection failure, a failed upload.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace velloran {

constexpr uint32_t errCancelled = 0x80040201u;
constexpr uint32_t errFTPList = 0x800402EFu;
constexpr uint32_t errFTPUpload = 0x800402F0u;

class AppError : public std::runtime_error {
public:
    explicit AppError(uint32_t number, const std::string& description = "")
        : std::runtime_error(description.empty() ? DefaultDescription(number) : description), m_number(number)
    {
    }

    uint32_t Number() const { return m_number; }

private:
    static std::string DefaultDescription(uint32_t number)
    {
        switch (number) {
        case errCancelled: return "Cancelled by user.";
        case errFTPList: return "An error occurred with the FTP connection";
        case errFTPUpload: return "Error occurred while copying files to FTP server.";
        default: return "Application error";
        }
    }

    uint32_t m_number;
};

}  // namespace velloran
