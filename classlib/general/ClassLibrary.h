// The class library's start-up routine and its shared per-thread instances,
// and the factory that creates class-library objects by class name.
#pragma once

#include "classlib/ClassLibObject.h"

#include <memory>
#include <string>

namespace quorvantell {

class CComDialogs;
class CControls;
class CFile;
class CGeneral;
class CRegistry;

struct SharedInstances {
    std::shared_ptr<CComDialogs> ComDialogs;
    std::shared_ptr<CControls> Controls;
    std::shared_ptr<CFile> File;
    std::shared_ptr<CGeneral> General;
    std::shared_ptr<CRegistry> Registry;
};

class ClassLibrary {
public:
    // Runs the start-up routine on this thread the first time, then returns
    // the thread's shared instances.
    static SharedInstances& Shared();
    // A new object of the named class ("CFile", "COrdArray", ...); null for an
    // unknown name.
    static std::shared_ptr<ClassLibObject> CreateObject(const std::string& className);
};

}  // namespace quorvantell
