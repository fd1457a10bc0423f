// The settings store the windows use, and the key under which they keep
// their places, sizes, list layouts and splitters.
#pragma once

#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"

namespace velloran {

constexpr const char* kWindowKey = "Software\\Quorvantell\\Velloran\\e\\Window";

inline quorvantell::CRegistry& Registry()
{
    return *quorvantell::ClassLibrary::Shared().Registry;
}

}  // namespace velloran
