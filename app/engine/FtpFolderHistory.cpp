// FtpFolderHistory: the FTP folder field normalised and remembered.
#include "app/engine/FtpFolderHistory.h"

#include "app/ftp/CFTP.h"

#include <algorithm>

namespace velloran {

std::string FtpFolderHistory::Normalise(const std::string& text)
{
    return CFTP::PrependSlash(CFTP::AddSlash(text));
}

std::string FtpFolderHistory::Remember(const std::string& text, std::vector<std::string>& history)
{
    std::string folder = Normalise(text);
    const auto equal = std::find(history.begin(), history.end(), folder);
    if (equal != history.end())
        history.erase(equal);
    history.insert(history.begin(), folder);
    return folder;
}

}  // namespace velloran
