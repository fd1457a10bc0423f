// The control library's start-up routine and its per-thread shared
// class-library objects (the colour and clamping helpers of CGeneral above all).
#include "controls/ControlLibrary.h"

#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"

namespace quorvantell {

namespace {

thread_local ControlLibraryShared t_shared;
thread_local bool t_started = false;

}  // namespace

const char* ControlLibrary::Name()
{
    return "Quorvantell Control Library";
}

void ControlLibrary::StartUp()
{
    // Same order as the class library's own start-up. The platform's
    // common-controls initialisation has no counterpart under Qt.
    ControlLibraryShared fresh;
    fresh.ComDialogs = ClassLibrary::CreateObject("CComDialogs");
    fresh.Controls = ClassLibrary::CreateObject("CControls");
    fresh.File = ClassLibrary::CreateObject("CFile");
    fresh.General = std::make_shared<CGeneral>();
    fresh.Registry = ClassLibrary::CreateObject("CRegistry");
    t_shared = std::move(fresh);
    t_started = true;
}

ControlLibraryShared& ControlLibrary::Shared()
{
    if (!t_started)
        StartUp();
    return t_shared;
}

CGeneral& ControlLibrary::General()
{
    return *Shared().General;
}

}  // namespace quorvantell
