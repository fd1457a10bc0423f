// The control library's start-up routine and its per-thread shared
// class-library objects (the colour and clamping helpers of CGeneral above all).
#include "controls/ControlLibrary.h"

#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"
#include "controls/HotKey.h"
#include "controls/MinMaxSize.h"
#include "controls/Splitter.h"
#include "controls/TrayIcon.h"
#include "controls/XPButton.h"
#include "controls/qvImageList.h"

#include <string_view>

namespace quorvantell {

namespace {

thread_local ControlLibraryShared t_shared;
thread_local bool t_started = false;

template <typename T>
QWidget* Make(QWidget* parent)
{
    return new T(parent);
}

struct ControlEntry {
    std::string_view name;
    QWidget* (*create)(QWidget*);
};

// Every control a host can create by name; a new control adds its row.
constexpr ControlEntry kControls[] = {
    {"Splitter", &Make<Splitter>}, {"MinMaxSize", &Make<MinMaxSize>}, {"TrayIcon", &Make<TrayIcon>},
    {"XPButton", &Make<XPButton>}, {"HotKey", &Make<HotKey>},         {"qvImageList", &Make<qvImageList>},
};

constexpr std::string_view kLibraryPrefix = "QuorvantellUsrCtrls.";

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

QWidget* ControlLibrary::CreateControl(const QString& className, QWidget* parent)
{
    const std::string wanted = className.toStdString();
    std::string_view name = wanted;
    if (name.substr(0, kLibraryPrefix.size()) == kLibraryPrefix)
        name.remove_prefix(kLibraryPrefix.size());
    for (const ControlEntry& entry : kControls) {
        if (entry.name == name)
            return entry.create(parent);
    }
    return nullptr;
}

}  // namespace quorvantell
