// CommandTable: the command list, --help, --version and dispatch.
#include "app/cli/CommandTable.h"

#include "app/cli/CliSession.h"
#include "app/cli/CompareCommand.h"
#include "app/cli/ExitStatus.h"
#include "app/cli/LatestCommand.h"
#include "app/cli/RunCommand.h"
#include "app/cli/TreeCommand.h"
#include "app/cli/UploadCommand.h"
#include "app/engine/Printable.h"

#include <iostream>

#ifndef VELLORAN_VERSION
#define VELLORAN_VERSION "unknown"
#endif

namespace velloran::cli {

namespace {

constexpr const char* kHelpTail = R"(Exit status:
  0  nothing to report: no differences, no error or warning lines
  1  differences found, only warning lines logged, or a script job not run
     because its question was answered No
  2  error lines logged, a folder that cannot be used, an FTP server that
     cannot be reached or listed, a failed upload, an unreadable or
     corrupt script, a log file that cannot be appended to, or bad usage
  3  cancelled (Ctrl-C, then the cancel question)

Questions are asked on the terminal. With --yes every question is answered
Yes. Without a terminal and without --yes, a script's Y question and the
error policy's question count as No, and the cancel question as Yes; a
script job not run that way is named on a warning line. Messages go to
stderr, prefixed by their kind, control characters in them (as in the text
output of compare) shown as \xNN; the error log is printed at the end and
appended to the log file when the settings name one. The log file must be a
regular file (or not exist yet): a FIFO or a device is refused.

Settings are read from $XDG_CONFIG_HOME/velloran/settings.db (the program's
settings), opened read-only: nothing is ever written, created or moved there.
A missing or damaged store gives the defaults and one warning line. The
options above override the settings for one run. An option with a value is
written --name=VALUE or --name VALUE.

FTP: compare, latest and upload take as RIGHT (URL) a server folder
  ftp://[user[:password]@]host[:port]/dir/
or the same with ftpes:// (TLS asked for with AUTH TLS) or ftps:// (TLS from
the first byte, port 990 when none is given); over TLS the password, the
listings and the files travel encrypted. A server whose certificate no
authority of the system's CA store signed is refused with the fingerprint of
the key it offered; --trust-fingerprint=SHA256:... accepts that key (and only
it). sftp://[user[:password]@]host[:port]/dir/ reaches the folder over SSH
(port 22): a host key that ~/.ssh/known_hosts does not list is refused the
same way, until --trust-fingerprint names it. Port 21 when none is given;
user, password and folder are percent-decoded ("%40" for "@", "%3A" for
":", "%2F" for "/"), and the folder is taken from the server's root ("dir"
is "/dir/"). Without a user the login is anonymous (over SFTP: the local
user's, with the SSH agent or the keys in ~/.ssh; so is an empty password).
A user without a password takes it from the first line of the file named
by --password-file FILE, else from the environment variable
VELLORAN_FTP_PASSWORD, else from a prompt on the terminal, else the empty
text. A password in the address can be read by every user in the process
list while the program runs, so it gets a warning line. Times compare
within the FTP tolerance setting (FTPTolerance, 10 seconds by default),
without --time-offset, and files newer on the server are no difference
while IgnoreNewerOnServer is set (the default). Server
entries that cannot be file names (".", "..", names holding "/") are
skipped with a warning line. In JSON "right" is the address without user
and password.

Names in JSON: names are the file system's bytes. Valid UTF-8 is written as
it is; each byte that is not part of valid UTF-8 is written as the escape
\udcXX (XX its value, 80 to ff), as Python's os.fsdecode does, so
os.fsencode (or mapping U+DC80..U+DCFF back to bytes) restores the name.
"filetime" is the raw file time: 100-ns ticks since 1601-01-01 UTC, the
left side with --time-offset added. Folder paths end in "/".
)";

std::string Padded(const std::string& text, size_t width)
{
    return text + std::string(text.size() < width ? width - text.size() : 1, ' ');
}

}  // namespace

const std::vector<std::unique_ptr<CliCommand>>& CommandTable::Commands()
{
    static const std::vector<std::unique_ptr<CliCommand>> commands = [] {
        std::vector<std::unique_ptr<CliCommand>> list;
        list.push_back(std::make_unique<CompareCommand>());
        list.push_back(std::make_unique<TreeCommand>(
            "copy", std::vector<std::string>{"FROM", "TO"},
            "Copy the files of FROM into TO: files missing in TO and files more than 2 seconds newer in FROM "
            "(and empty ones in TO). A newer target, or the same time with another size, is kept and logged "
            "as a warning.",
            0));
        list.push_back(std::make_unique<TreeCommand>(
            "delete", std::vector<std::string>{"MASTER", "TARGET"},
            "Delete from TARGET the files and folders that MASTER lacks, the deepest folders first.", 2));
        list.push_back(std::make_unique<TreeCommand>(
            "update", std::vector<std::string>{"MASTER", "TARGET"},
            "Make TARGET like MASTER: delete what MASTER lacks, then copy as \"copy\" does.", 4));
        list.push_back(std::make_unique<UploadCommand>());
        list.push_back(std::make_unique<LatestCommand>());
        list.push_back(std::make_unique<RunCommand>());
        return list;
    }();
    return commands;
}

CliCommand* CommandTable::Find(const std::string& name)
{
    for (const auto& command : Commands())
        if (command->Name() == name)
            return command.get();
    return nullptr;
}

std::string CommandTable::Help()
{
    std::string help = "Usage: velloran-cli COMMAND [OPTIONS] OPERANDS\n"
                       "       velloran-cli COMMAND --help | --help | --version\n\n"
                       "Compares and synchronises two folder trees with the Velloran engine.\n\n"
                       "Commands:\n";
    for (const auto& command : Commands())
        help += command->Help();
    help += "\nOptions for every command:\n";
    for (const OptionSpec& option : CliSession::CommonOptions()) {
        const std::string flag = "--" + option.name + (option.valueName.empty() ? "" : "=" + option.valueName);
        help += "  " + Padded(flag, 28) + option.description + "\n";
    }
    return help + "\n" + kHelpTail;
}

int CommandTable::Main(const std::vector<std::string>& args)
{
    try {
        if (args.empty())
            throw UsageError("no command given");
        if (args[0] == "--help" || args[0] == "-h") {
            std::cout << Help();
            return kExitClean;
        }
        if (args[0] == "--version") {
            std::cout << "velloran-cli " << VELLORAN_VERSION << "\n";
            return kExitClean;
        }
        CliCommand* command = Find(args[0]);
        if (command == nullptr)
            throw UsageError("unknown command " + args[0]);
        return command->Run(std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const UsageError& error) {
        std::cerr << "velloran-cli: " << Printable(error.what()) << "\nTry 'velloran-cli --help'.\n";
        return kExitError;
    } catch (const std::exception& error) {
        std::cerr << "error: " << Printable(error.what()) << "\n";
        return kExitError;
    }
}

}  // namespace velloran::cli
