// The program's title and version as the engine, the CLI and the windows
// show them: message boxes carry the title as their caption.
#pragma once

namespace velloran {

constexpr const char* kProgramTitle = "Velloran";
constexpr const char* kProductName = "Quorvantell Velloran";

}  // namespace velloran
