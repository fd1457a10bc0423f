// The control library's identity, its start-up routine (the library keeps
// its own shared instances of the class-library objects its controls use) and
// its factory of controls by class name.
#pragma once

#include <QString>

#include <memory>

class QWidget;

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
    // A new control of the named class ("QuorvantellUsrCtrls.HotKey", or the
    // class name alone) on parent; null for an unknown name.
    static QWidget* CreateControl(const QString& className, QWidget* parent = nullptr);
};

}  // namespace quorvantell
