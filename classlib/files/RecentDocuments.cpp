// The freedesktop recently-used documents list.
#include "classlib/files/RecentDocuments.h"

#include "classlib/files/ReplacementFile.h"
#include "classlib/files/UniqueFd.h"

#include <fcntl.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

namespace quorvantell {

namespace {

constexpr const char* kListName = "recently-used.xbel";

std::string DataHome()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/share";
}

// file:// URL with every byte outside the unreserved set percent-encoded.
std::string FileUrl(const std::string& path)
{
    static const char* hex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        if (isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

std::string NowIso()
{
    char buf[32];
    const time_t now = time(nullptr);
    tm utc{};
    gmtime_r(&now, &utc);
    strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return buf;
}

std::string Bookmark(const std::string& href)
{
    const std::string when = NowIso();
    return "  <bookmark href=\"" + href + "\" added=\"" + when + "\" modified=\"" + when + "\" visited=\"" + when +
           "\">\n    <info>\n      <metadata owner=\"http://freedesktop.org\">\n"
           "        <bookmark:applications>\n          <bookmark:application name=\"velloran\" exec=\"&apos;velloran %u&apos;\" modified=\"" +
           when + "\" count=\"1\"/>\n        </bookmark:applications>\n      </metadata>\n    </info>\n  </bookmark>\n";
}

const char* kEmptyList =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\" xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\" "
    "xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n</xbel>\n";

}  // namespace

std::string RecentDocumentsPath()
{
    return DataHome() + "/" + kListName;
}

bool AddRecentDocument(const std::string& absolutePath)
{
    const std::string listPath = RecentDocumentsPath();
    std::string text = kEmptyList;
    {
        std::ifstream in(listPath, std::ios::binary);
        if (in) {
            std::ostringstream s;
            s << in.rdbuf();
            text = s.str();
        } else {
            // Only a missing list starts empty; one we cannot read (another
            // user's, left by a program run with sudo) is not replaced.
            struct stat st{};
            if (lstat(listPath.c_str(), &st) == 0 || errno != ENOENT)
                return false;
        }
    }
    const std::string href = FileUrl(absolutePath);
    if (text.find("href=\"" + href + "\"") != std::string::npos)
        return true;
    const auto end = text.rfind("</xbel>");
    if (end == std::string::npos)
        return false;  // not a list we understand: leave it alone
    text.insert(end, Bookmark(href));

    mkdir(DataHome().c_str(), 0700);
    // Written aside and put in place when complete, so two programs adding
    // at once never leave a list cut in half.
    const UniqueFd folder(open(DataHome().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ReplacementFile list;
    return folder.Valid() && list.Create(folder.Get(), 0600) &&
           write(list.Fd(), text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
           list.Commit(kListName);
}

}  // namespace quorvantell
