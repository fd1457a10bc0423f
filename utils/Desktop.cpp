// Web pages through xdg-open (with $BROWSER as the fallback when xdg-open
// cannot be started); database refreshes as child processes waited for.
#include "utils/Desktop.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace quorvantell::exports {

namespace {

constexpr const char* kHomePage = "https://velloran.example.org/";

const char* PageAddress(int32_t page)
{
    switch (page) {
    case 0: return kHomePage;
    case 2: return "https://velloran.example.org/community/";
    case 3: return "https://velloran.example.org/help/faq/";
    case 4: return "https://velloran.example.org/contact/";
    case 5: return "https://velloran.example.org/bugs/";
    default: return nullptr;
    }
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Runs the program (searched in PATH) with its output discarded and waits
// for it. A program that is not installed is simply not run.
void RunAndWait(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started = posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

void OpenWebPage(int32_t page)
{
    const char* address = PageAddress(page);
    if (address == nullptr)
        return;
    if (QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromLatin1(address)}))
        return;
    const char* browser = std::getenv("BROWSER");
    if (browser != nullptr && *browser != '\0')
        QProcess::startDetached(QString::fromLocal8Bit(browser), {QString::fromLatin1(kHomePage)});
}

void NotifyAssocChanged()
{
    // $XDG_DATA_HOME, or ~/.local/share when it is unset or not absolute.
    const std::string data =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).toStdString();
    if (IsFolder(data + "/mime/packages"))
        RunAndWait({"update-mime-database", data + "/mime"});
    if (IsFolder(data + "/applications"))
        RunAndWait({"update-desktop-database", data + "/applications"});
}

}  // namespace quorvantell::exports
