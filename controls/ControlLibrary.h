// The control library's identity, as hosts see it.
#pragma once

namespace quorvantell {

const char* ControlLibraryName();

}  // namespace quorvantell
