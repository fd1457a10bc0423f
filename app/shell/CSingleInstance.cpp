// CSingleInstance: the first start and the hand-over of later ones.
#include "app/shell/CSingleInstance.h"

#include "app/engine/ProgramInfo.h"
#include "app/shell/MGlobal.h"
#include "app/shell/frmMain.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "classlib/misc/CSingleInst.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace velloran {

namespace {

constexpr const char* kSettingsKey = "Software\\Quorvantell\\Velloran\\e\\";
// How long a later start waits for a running instance that holds the lock
// but does not listen yet (it is still loading its window).
constexpr auto kListenDeadline = std::chrono::seconds(30);
constexpr auto kRetryPause = std::chrono::milliseconds(50);

// The running instance has a working folder of its own: a relative path is
// made full against the folder this start was made in.
std::string FromWorkingFolder(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (path.empty() || path.front() == '/' || error)
        return path;
    return folder.string() + "/" + path;
}

}  // namespace

CSingleInstance::CSingleInstance() = default;

CSingleInstance::~CSingleInstance() = default;

bool CSingleInstance::Init(frmMain& form, const std::string& CommandLine)
{
    m_form = &form;
    m_singleInst =
        std::dynamic_pointer_cast<quorvantell::CSingleInst>(quorvantell::ClassLibrary::CreateObject("CSingleInst"));
    connect(m_singleInst.get(), &quorvantell::CSingleInst::WakeUp, this, &CSingleInstance::SingleInst_WakeUp);
    m_singleInst->Init(kProgramTitle, MGlobal::Revision());
    if (m_singleInst->PrevInstance() && HandOver(CommandLine))
        return false;
    form.Load();
    m_singleInst->SubClass(&form);
    connect(&form, &frmMain::Unloaded, m_singleInst.get(), &quorvantell::CSingleInst::UnSubClass);
    MGlobal::ShowMainWindow(form, CommandLine, false);
    return true;
}

bool CSingleInstance::HandOver(const std::string& CommandLine)
{
    quorvantell::ClassLibrary::Shared().Registry->SetKeyStr(quorvantell::eRegBaseKey::HKCU, kSettingsKey, "Instances",
                                                            CommandLine);
    const std::string request = FromWorkingFolder(CommandLine);
    const auto deadline = std::chrono::steady_clock::now() + kListenDeadline;
    while (!m_singleInst->BroadCast(request)) {
        if (!m_singleInst->PrevInstance() || std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(kRetryPause);
    }
    return true;
}

void CSingleInstance::SingleInst_WakeUp(const std::string& CommandLine)
{
    MGlobal::ShowMainWindow(*m_form, CommandLine, true);
}

}  // namespace velloran
