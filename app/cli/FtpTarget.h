// FtpTarget: an FTP server folder named on velloran-cli's command line as
// ftp://[user[:password]@]host[:port]/dir/, or the same with ftpes:// (TLS
// asked for on the FTP port), ftps:// (TLS from the start, port 990) or
// sftp:// (SSH, port 22) - user, password and folder percent-decoded, the
// folder made a server path ("/dir/", "/" when none is given). No user means
// an anonymous login (over SFTP: the local user's); a user without a password
// takes it from --password-file FILE, else from VELLORAN_FTP_PASSWORD, else
// from a prompt on the terminal, else the empty text.
#pragma once

#include "app/cli/CliArguments.h"

#include <string>
#include <vector>

namespace velloran::cli {

class FtpTarget {
public:
    // Whether the text names an FTP folder rather than a local one.
    static bool IsUrl(const std::string& text);
    // Raises UsageError for an address that is malformed or holds a NUL or
    // line break once decoded.
    static FtpTarget Parse(const std::string& url);
    // --passive, --password-file and, where the command honours it,
    // --no-subdirs.
    static std::vector<OptionSpec> Options(bool withSubDirs);

    // The password of a user named without one (see above). Raises
    // UsageError for --password-file without a user or beside a password in
    // the address, std::runtime_error for a file that cannot be read.
    void ResolvePassword(const CliArguments& arguments);
    // scheme + host[:port] + folder: the address without user and password.
    std::string Display() const;

    std::string scheme;  // "ftp://", "ftpes://", "ftps://" or "sftp://", in lower case
    // host[:port], with the scheme in front unless it is ftp://, as the FTP
    // site's server field takes it.
    std::string server;
    std::string user;
    std::string password;
    bool hasPassword = false;
    std::string folder;

private:
    // The password typed on the terminal without echo; false when there is
    // no terminal.
    static bool Prompt(const std::string& text, std::string& typed);
};

}  // namespace velloran::cli
