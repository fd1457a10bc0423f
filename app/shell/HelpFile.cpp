// The help page's place and its opening.
#include "app/shell/HelpFile.h"

#include "classlib/files/CFile.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"

#include <filesystem>
#include <system_error>

namespace velloran {

namespace {

constexpr const char* kHelpPage = "velloran.html";

// The folder of the running program.
std::filesystem::path ProgramFolder()
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
}

}  // namespace

std::string HelpFilePath()
{
    const std::filesystem::path folder = ProgramFolder();
    const std::filesystem::path beside = folder / "help" / kHelpPage;
    // The installed page, named relative to the installed program.
    const std::filesystem::path installed = (folder / VELLORAN_INSTALLED_HELP / kHelpPage).lexically_normal();
    std::error_code error;
    if (!std::filesystem::exists(beside, error) && std::filesystem::exists(installed, error))
        return installed.string();
    return beside.string();
}

void OpenHelp(QWidget* owner, const std::string& helpFile)
{
    const auto& shared = quorvantell::ClassLibrary::Shared();
    if (shared.File->FileExists(helpFile)) {
        shared.File->RunDocument(helpFile, quorvantell::CFile::SW_SHOWNORMAL);
        return;
    }
    shared.General->MessageBox(owner, "Help files could not be found!", "Error opening help",
                               quorvantell::MB_OK | quorvantell::MB_ICONERROR);
}

}  // namespace velloran
