// CSync: loading and saving the settings record, the string settings and
// the FTP site, and applying the settings that act on the process and the
// windows.
#include "app/engine/CSync.h"
#include "app/engine/ProgramInfo.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "utils/UtilsImport.h"

#include <algorithm>

namespace velloran {

namespace {

using quorvantell::eRegBaseKey;

constexpr const char* kOptionsKey = "Software\\Quorvantell\\Velloran\\e\\Options";
constexpr const char* kSitesKey = "Software\\Quorvantell\\Velloran\\e\\Sites\\";
constexpr const char* kSiteKey = "Software\\Quorvantell\\Velloran\\e\\Sites\\1";
constexpr const char* kPriorityRefused =
    "The system refused the chosen priority (only an administrator may raise a priority). Velloran keeps the "
    "priority it has.";
// The most FTP folders read back: a damaged or foreign store may hold any
// count, and each entry is a look-up.
constexpr int32_t kMaxFTPDirs = 1000;

// The five string settings by their stored names.
struct StringSetting {
    const char* name;
    std::string CSync::*member;
};
constexpr StringSetting kStrings[] = {
    {"ConsoleFont", &CSync::ConsoleFont}, {"OthFont", &CSync::OthFont},         {"OLogFile", &CSync::OLogFile},
    {"lastFileDir", &CSync::lastFileDir}, {"lastLogDir", &CSync::lastLogDir},
};

}  // namespace

quorvantell::CRegistry& CSync::Registry() const
{
    return *quorvantell::ClassLibrary::Shared().Registry;
}

void CSync::Init()
{
    LoadSettings();
    m_host.ZOnTop(Options.OnTop);
    m_host.SetFormSwitches(Options.UseEasyMove, Options.SnapToEdges);
    m_arrFile.Clear();
    m_arrDir.Clear();
}

void CSync::Terminate()
{
    SaveSettings();
}

void CSync::LoadSettings()
{
    OptionsRecord::Bytes bytes{};
    OptionsRecord record;
    if (Registry().GetKeyBinary(eRegBaseKey::HKCU, kOptionsKey, "Options", bytes.data(), OptionsRecord::kSize) &&
        record.FromBytes(bytes.data(), bytes.size()))
        Options = record;
    else
        Options = OptionsRecord();
    for (const StringSetting& setting : kStrings)
        this->*setting.member = Registry().GetKeyStr(eRegBaseKey::HKCU, kOptionsKey, setting.name, "");
    // Not in the record, whose layout is fixed.
    FTPConnections = std::clamp(
        Registry().GetKeyWord(eRegBaseKey::HKCU, kOptionsKey, "FTPConnections", kDefaultFTPConnections), 1,
        kMaxFTPConnections);
    LoadSites();
}

void CSync::LoadSites()
{
    const quorvantell::CRegistry& reg = Registry();
    FtpSiteFields site;
    site.Server = reg.GetKeyStr(eRegBaseKey::HKCU, kSiteKey, "Server", "");
    site.Username = reg.GetKeyStr(eRegBaseKey::HKCU, kSiteKey, "Username", "");
    site.Passwd = reg.GetKeyStr(eRegBaseKey::HKCU, kSiteKey, "Passwd", "");
    const int32_t count = std::clamp(reg.GetKeyWord(eRegBaseKey::HKCU, kSiteKey, "nFTPDir", 0), 0, kMaxFTPDirs);
    for (int32_t j = 0; j < count; ++j) {
        std::string folder = reg.GetKeyStr(eRegBaseKey::HKCU, kSiteKey, std::to_string(j) + "FTPDir", "");
        if (!folder.empty())
            site.FTPDirs.push_back(std::move(folder));
    }
    site.SavePW = reg.GetKeyWord(eRegBaseKey::HKCU, kSiteKey, "SavePW", 0);
    site.Pasv = reg.GetKeyWord(eRegBaseKey::HKCU, kSiteKey, "Pasv", 0);
    site.SubDirs = reg.GetKeyWord(eRegBaseKey::HKCU, kSiteKey, "SubDirs", 1);
    site.TrustedKey = reg.GetKeyStr(eRegBaseKey::HKCU, kSiteKey, "TrustedKey", "");
    m_host.SetFtpSite(site);
}

void CSync::SaveSettings()
{
    if (!Options.SaveOnExit)
        return;
    const OptionsRecord::Bytes bytes = Options.ToBytes();
    Registry().SetKeyBinary(eRegBaseKey::HKCU, kOptionsKey, "Options", bytes.data(), OptionsRecord::kSize);
    for (const StringSetting& setting : kStrings)
        Registry().SetKeyStr(eRegBaseKey::HKCU, kOptionsKey, setting.name, this->*setting.member);
    Registry().SetKeyWord(eRegBaseKey::HKCU, kOptionsKey, "FTPConnections", FTPConnections);
    SaveSite();
}

void CSync::SaveSite()
{
    const quorvantell::CRegistry& reg = Registry();
    const FtpSiteFields site = m_host.FtpSite();
    reg.DeleteKey(eRegBaseKey::HKCU, kSitesKey);
    reg.SetKeyWord(eRegBaseKey::HKCU, kSitesKey, "", 1);
    reg.SetKeyStr(eRegBaseKey::HKCU, kSiteKey, "Server", site.Server);
    reg.SetKeyStr(eRegBaseKey::HKCU, kSiteKey, "Username", site.Username);
    // A password the user did not ask to keep is not written down.
    reg.SetKeyStr(eRegBaseKey::HKCU, kSiteKey, "Passwd", site.SavePW == 1 ? site.Passwd : std::string());
    reg.SetKeyWord(eRegBaseKey::HKCU, kSiteKey, "nFTPDir", static_cast<int32_t>(site.FTPDirs.size()));
    for (size_t j = 0; j < site.FTPDirs.size(); ++j)
        reg.SetKeyStr(eRegBaseKey::HKCU, kSiteKey, std::to_string(j) + "FTPDir", site.FTPDirs[j]);
    reg.SetKeyWord(eRegBaseKey::HKCU, kSiteKey, "SavePW", site.SavePW);
    reg.SetKeyWord(eRegBaseKey::HKCU, kSiteKey, "Pasv", site.Pasv);
    reg.SetKeyWord(eRegBaseKey::HKCU, kSiteKey, "SubDirs", site.SubDirs);
    if (!site.TrustedKey.empty())
        reg.SetKeyStr(eRegBaseKey::HKCU, kSiteKey, "TrustedKey", site.TrustedKey);
}

void CSync::SetPriority()
{
    bool refused = false;
    switch (Options.ProcessPriority) {
    case 1: refused = quorvantell::utils::SetOwnPriority(0, quorvantell::IDLE_PRIORITY_CLASS) == 0; break;
    case 2: refused = quorvantell::utils::SetOwnPriority(0, quorvantell::NORMAL_PRIORITY_CLASS) == 0; break;
    case 3: refused = quorvantell::utils::SetOwnPriority(0, quorvantell::HIGH_PRIORITY_CLASS) == 0; break;
    default: break;
    }
    if (Options.ThreadPriority >= 1 && Options.ThreadPriority <= 5)
        refused = quorvantell::utils::SetOwnPriority(-1, Options.ThreadPriority - 3) == 0 || refused;
    // Every later refusal has the same cause; once is enough.
    if (refused && !m_priorityRefusalTold) {
        m_priorityRefusalTold = true;
        m_host.ShowMessage(kPriorityRefused, kProgramTitle, quorvantell::MB_ICONWARNING);
    }
}

void CSync::SetTrayIcon()
{
    m_host.SetTrayIcon(Options.ShowInTray, kProductName);
}

void CSync::CheckWindowsOnTop()
{
    m_host.ZOnTop(Options.OnTop);
}

}  // namespace velloran
