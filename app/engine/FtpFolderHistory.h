// FtpFolderHistory: the FTP folder field and its history. The main window
// turns what the user typed into a server path before it views or syncs in
// FTP mode ("pub" becomes "/pub/") and keeps that path first in the history.
#pragma once

#include <string>
#include <vector>

namespace velloran {

class FtpFolderHistory {
public:
    // The text with a trailing and a leading "/": "pub" gives "/pub/", the
    // empty text "/".
    static std::string Normalise(const std::string& text);
    // Normalises text, removes the first history entry equal to the result
    // and puts the result first. Returns the result.
    static std::string Remember(const std::string& text, std::vector<std::string>& history);
};

}  // namespace velloran
