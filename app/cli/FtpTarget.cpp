// FtpTarget: parsing an ftp:// address and finding its password.
#include "app/cli/FtpTarget.h"

#include "app/engine/FtpFolderHistory.h"
#include "app/engine/Printable.h"
#include "app/ftp/FtpAddress.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <stdexcept>

namespace velloran::cli {

namespace {

constexpr const char* kPlainScheme = "ftp://";
constexpr const char* kSchemes[] = {kPlainScheme, "ftpes://", "ftps://", "sftp://"};
constexpr const char* kPasswordVariable = "VELLORAN_FTP_PASSWORD";
// More than any password; an endless file (a device) stops here.
constexpr size_t kPasswordFileLimit = 4096;

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// A NUL or a line break would cut or add a command on the control connection.
void RefuseBreaks(const std::string& text, const std::string& what)
{
    if (text.find_first_of(std::string("\0\r\n", 3)) != std::string::npos)
        throw UsageError(what + " holds a NUL or a line break");
}

// %XX escapes to bytes, none of them a NUL or a line break.
std::string Decode(const std::string& text, const std::string& what)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low < 0)
            throw UsageError("the " + what + " of the ftp:// address has a \"%\" without two hex digits after it");
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    RefuseBreaks(out, "the " + what + " of the ftp:// address");
    return out;
}

// The scheme the text starts with, in lower case; empty when none.
std::string SchemeOf(const std::string& text)
{
    for (const std::string scheme : kSchemes) {
        if (text.size() >= scheme.size() &&
            std::equal(scheme.begin(), scheme.end(), text.begin(),
                       [](char s, char t) { return s == std::tolower(static_cast<unsigned char>(t)); }))
            return scheme;
    }
    return std::string();
}

// The first line of the file without its line end. Read as a stream, so a
// pipe works too (--password-file <(pass show ftp)).
std::string ReadPasswordFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    std::string text;
    char buffer[256];
    while (error == 0 && text.find('\n') == std::string::npos && text.size() < kPasswordFileLimit) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0)
            text.append(buffer, static_cast<size_t>(n));
        else if (n == 0)
            break;
        else if (errno != EINTR)
            error = errno;
    }
    if (fd >= 0)
        close(fd);
    if (error != 0)
        throw std::runtime_error("cannot read the password file " + path + ": " + std::strerror(error));
    text.erase(std::min(text.find('\n'), text.size()));
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    RefuseBreaks(text, "the password in " + path);
    return text;
}

}  // namespace

bool FtpTarget::IsUrl(const std::string& text)
{
    return !SchemeOf(text).empty();
}

FtpTarget FtpTarget::Parse(const std::string& url)
{
    if (!IsUrl(url))
        throw UsageError("not an ftp:// address: " + url);
    FtpTarget target;
    target.scheme = SchemeOf(url);
    const size_t pathStart = url.find('/', target.scheme.size());
    std::string authority = url.substr(target.scheme.size(), pathStart - target.scheme.size());
    const std::string path = pathStart == std::string::npos ? std::string() : url.substr(pathStart);

    // A host holds no "@", so the last one ends the user part.
    const size_t at = authority.rfind('@');
    if (at != std::string::npos) {
        const std::string userInfo = authority.substr(0, at);
        const size_t colon = userInfo.find(':');
        target.user = Decode(userInfo.substr(0, colon), "user name");
        if (colon != std::string::npos) {
            target.password = Decode(userInfo.substr(colon + 1), "password");
            target.hasPassword = true;
        }
        authority.erase(0, at + 1);
    }
    if (!FtpAddress::Parse(authority))
        throw UsageError("the ftp:// address names no usable host and port: " + authority);
    target.server = target.scheme == kPlainScheme ? authority : target.scheme + authority;
    target.folder = FtpFolderHistory::Normalise(Decode(path, "folder"));
    return target;
}

std::vector<OptionSpec> FtpTarget::Options(bool withSubDirs)
{
    std::vector<OptionSpec> options = {{"passive", "", "FTP: passive mode (EPSV, then PASV) instead of active"}};
    if (withSubDirs)
        options.push_back({"no-subdirs", "", "FTP: only the top folder of each side, no subfolders"});
    options.push_back({"password-file", "FILE", "FTP: the password is the first line of FILE"});
    options.push_back({"trust-fingerprint", "SHA256:...",
                       "FTP over TLS and SFTP: accept a server whose certificate no trusted authority signed, or "
                       "whose SSH host key known_hosts does not list, when its key has this fingerprint (the "
                       "refusal names the key offered)"});
    return options;
}

void FtpTarget::ResolvePassword(const CliArguments& arguments)
{
    const bool fromFile = arguments.Has("password-file");
    if (fromFile && user.empty())
        throw UsageError("--password-file needs a user name in the ftp:// address");
    if (fromFile && hasPassword)
        throw UsageError("the password is given twice: in the ftp:// address and with --password-file");
    if (user.empty() || hasPassword)
        return;
    if (fromFile) {
        password = ReadPasswordFile(arguments.Value("password-file"));
    } else if (const char* variable = std::getenv(kPasswordVariable)) {
        password = variable;
    } else if (!Prompt("Password for " + Printable(user) + " at " + Printable(server) + ": ", password)) {
        password.clear();
    }
    hasPassword = true;
}

std::string FtpTarget::Display() const
{
    return scheme == kPlainScheme ? scheme + server + folder : server + folder;
}

bool FtpTarget::Prompt(const std::string& text, std::string& typed)
{
    termios saved{};
    if (isatty(STDIN_FILENO) == 0 || tcgetattr(STDIN_FILENO, &saved) != 0)
        return false;
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    std::cerr << text << std::flush;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    // Read byte by byte, so a Ctrl-C (an interrupted read) ends the prompt
    // with the echo restored; the engine then sees the cancel request.
    typed.clear();
    char c = 0;
    while (read(STDIN_FILENO, &c, 1) == 1 && c != '\n')
        typed += c;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << '\n' << std::flush;
    return true;
}

}  // namespace velloran::cli
