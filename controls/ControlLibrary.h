// The control library's identity and its start-up routine: the library keeps
// its own shared instances of the class-library objects its controls use.
#pragma once

#include <memory>

namespace quorvantell {

class CGeneral;
class ClassLibObject;

struct ControlLibraryShared {
    std::shared_ptr<ClassLibObject> ComDialogs;
    std::shared_ptr<ClassLibObject> Controls;
    std::shared_ptr<ClassLibObject> File;
    std::shared_ptr<CGeneral> General;
    std::shared_ptr<ClassLibObject> Registry;
};

class ControlLibrary {
public:
    // "Quorvantell Control Library", as hosts see it.
    static const char* Name();
    // Creates this thread's shared instances afresh, replacing earlier ones.
    static void StartUp();
    // This thread's shared instances; runs StartUp the first time.
    static ControlLibraryShared& Shared();
    // Shortcut for Shared().General.
    static CGeneral& General();
};

}  // namespace quorvantell
