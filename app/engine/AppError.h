// AppError: the application errors that travel as raised errors between the
// engine's routines rather than as results: the user's cancel request, an FTP
// listing or connection failure, and a failed upload. Number tells them apart;
// what() carries the description.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace velloran {

struct AppError : std::runtime_error {
    static constexpr int32_t kCancelRequest = static_cast<int32_t>(0x80040201u);
    static constexpr int32_t kFtpError = static_cast<int32_t>(0x800402EFu);
    static constexpr int32_t kUploadFailed = static_cast<int32_t>(0x800402F0u);

    AppError(int32_t number, const std::string& description) : std::runtime_error(description), Number(number) {}

    // Whether error is the application error with this number.
    static bool Is(const std::exception& error, int32_t number)
    {
        const auto* app = dynamic_cast<const AppError*>(&error);
        return app != nullptr && app->Number == number;
    }

    int32_t Number;
};

}  // namespace velloran
