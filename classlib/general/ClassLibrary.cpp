// The class library's per-thread start-up and its factory by class name.
#include "classlib/general/ClassLibrary.h"

#include "classlib/files/CFile.h"
#include "classlib/files/CFindFile.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/CRegistry.h"
#include "classlib/mail/qvSendMail.h"
#include "classlib/misc/CComDialogs.h"
#include "classlib/misc/CControls.h"
#include "classlib/misc/CFont.h"
#include "classlib/misc/CKeyboard.h"
#include "classlib/misc/CMenu.h"
#include "classlib/misc/COrdArray.h"
#include "classlib/misc/CSchedule.h"
#include "classlib/misc/CSeparation.h"
#include "classlib/misc/CSingleInst.h"
#include "classlib/misc/CStrSeparation.h"
#include "classlib/misc/CWaitCursor.h"

#include <string_view>

namespace quorvantell {

namespace {

// Creates the shared instances in the library's fixed order.
SharedInstances StartUp()
{
    SharedInstances shared;
    shared.ComDialogs = std::make_shared<CComDialogs>();
    shared.Controls = std::make_shared<CControls>();
    shared.File = std::make_shared<CFile>();
    shared.General = std::make_shared<CGeneral>();
    shared.Registry = std::make_shared<CRegistry>();
    return shared;
}

template <typename T>
std::shared_ptr<ClassLibObject> Make()
{
    return std::make_shared<T>();
}

struct ClassEntry {
    std::string_view name;
    std::shared_ptr<ClassLibObject> (*create)();
};

// Every class that can be created by name; a new class adds its row.
constexpr ClassEntry kClasses[] = {
    {"CFile", &Make<CFile>},         {"CFindFile", &Make<CFindFile>}, {"CGeneral", &Make<CGeneral>},
    {"CRegistry", &Make<CRegistry>}, {"COrdArray", &Make<COrdArray>}, {"CWaitCursor", &Make<CWaitCursor>},
    {"CComDialogs", &Make<CComDialogs>}, {"CControls", &Make<CControls>}, {"CFont", &Make<CFont>},
    {"CMenu", &Make<CMenu>}, {"CKeyboard", &Make<CKeyboard>}, {"CSchedule", &Make<CSchedule>},
    {"CSeparation", &Make<CSeparation>}, {"CStrSeparation", &Make<CStrSeparation>},
    {"CSingleInst", &Make<CSingleInst>}, {"qvSendMail", &Make<qvSendMail>},
};

}  // namespace

SharedInstances& ClassLibrary::Shared()
{
    thread_local SharedInstances shared = StartUp();
    return shared;
}

std::shared_ptr<ClassLibObject> ClassLibrary::CreateObject(const std::string& className)
{
    for (const ClassEntry& entry : kClasses) {
        if (entry.name == className)
            return entry.create();
    }
    return nullptr;
}

}  // namespace quorvantell
