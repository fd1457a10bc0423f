// The control library's identity, as hosts see it.
#include "controls/ControlLibrary.h"

namespace quorvantell {

const char* ControlLibraryName()
{
    return "Quorvantell Control Library";
}

}  // namespace quorvantell
