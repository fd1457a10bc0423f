// Desktop entries by desktop file id: the path below applications/ with "/"
// turned into "-" (kde/okular.desktop is kde-okular.desktop).
#include "classlib/files/DesktopApplications.h"

#include "classlib/files/FolderEntries.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string_view>

namespace quorvantell {

namespace {

constexpr std::string_view kDesktopSuffix = ".desktop";

struct Installed {
    DesktopEntry entry;
    std::set<std::string> cachedTypes;  // what its folder's mimeinfo.cache says it opens
};

std::vector<std::string> ApplicationFolders()
{
    std::vector<std::string> folders;
    const char* home = std::getenv("XDG_DATA_HOME");
    const char* userHome = std::getenv("HOME");
    if (home != nullptr && *home != '\0')
        folders.push_back(std::string(home) + "/applications");
    else if (userHome != nullptr)
        folders.push_back(std::string(userHome) + "/.local/share/applications");
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    const std::string list = dirs != nullptr && *dirs != '\0' ? dirs : "/usr/local/share:/usr/share";
    for (size_t start = 0; start < list.size();) {
        const size_t end = std::min(list.find(':', start), list.size());
        if (end > start)
            folders.push_back(list.substr(start, end - start) + "/applications");
        start = end + 1;
    }
    return folders;
}

// The desktop files below folder by id; ids already known keep their file.
void CollectFiles(const std::string& folder, const std::string& idPrefix, std::map<std::string, std::string>& files)
{
    std::vector<FolderEntry> entries;
    if (!ReadFolderEntries(folder, entries))
        return;
    for (const FolderEntry& e : entries) {
        const std::string path = folder + "/" + e.name;
        if (e.isDir)
            CollectFiles(path, idPrefix + e.name + "-", files);
        else if (e.name.size() > kDesktopSuffix.size() && e.name.ends_with(kDesktopSuffix))
            files.emplace(idPrefix + e.name, path);
    }
}

// The [MIME Cache] lines of the folder's mimeinfo.cache: type=id;id;...
void ReadCache(const std::string& folder, const std::map<std::string, std::string>& ownFiles,
               std::map<std::string, Installed>& installed)
{
    std::ifstream in(folder + "/mimeinfo.cache");
    std::string line;
    bool inGroup = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '[') {
            inGroup = line.starts_with("[MIME Cache]");
            continue;
        }
        const size_t equals = line.find('=');
        if (!inGroup || equals == std::string::npos)
            continue;
        const std::string type = line.substr(0, equals);
        for (size_t start = equals + 1; start < line.size();) {
            const size_t end = std::min(line.find(';', start), line.size());
            const auto it = installed.find(line.substr(start, end - start));
            // Only for an id whose entry lies in this folder.
            if (it != installed.end() && ownFiles.count(it->first) != 0)
                it->second.cachedTypes.insert(type);
            start = end + 1;
        }
    }
}

std::map<std::string, Installed> InstalledApplications()
{
    std::map<std::string, Installed> installed;
    std::set<std::string> seen;  // ids found in an earlier folder, usable or not
    for (const std::string& folder : ApplicationFolders()) {
        std::map<std::string, std::string> files;
        CollectFiles(folder, "", files);
        std::erase_if(files, [&seen](const auto& file) { return !seen.insert(file.first).second; });
        for (const auto& [id, path] : files) {
            if (std::optional<DesktopEntry> entry = DesktopEntry::Read(path); entry && entry->Usable())
                installed.emplace(id, Installed{*entry, {}});
        }
        ReadCache(folder, files, installed);
    }
    return installed;
}

}  // namespace

std::vector<DesktopEntry> DesktopApplications::For(const std::vector<std::string>& mimeTypes)
{
    std::map<std::string, Installed> installed = InstalledApplications();
    std::vector<DesktopEntry> found;
    for (const std::string& type : mimeTypes) {
        std::vector<DesktopEntry> forType;
        for (auto it = installed.begin(); it != installed.end();) {
            const Installed& app = it->second;
            if (app.entry.Opens(type) || app.cachedTypes.count(type) != 0) {
                forType.push_back(app.entry);
                it = installed.erase(it);
            } else {
                ++it;
            }
        }
        std::stable_sort(forType.begin(), forType.end(),
                         [](const DesktopEntry& a, const DesktopEntry& b) { return a.Name() < b.Name(); });
        found.insert(found.end(), forType.begin(), forType.end());
    }
    return found;
}

}  // namespace quorvantell
