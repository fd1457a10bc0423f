// FileTypeIcons: which icon a file shows and the picture of it. Files show
// the icon of their type, named by the MIME type (lower case) that their
// name gives, and shared by every file of that type; a folder, a device or
// another special file has the type of its kind, a file without an
// extension whose mode makes it executable is an executable, and a path
// that does not exist has the type "Default". Files that carry an icon of
// their own (ani, cur, exe, ico, lnk, and desktop entries, whose Icon line
// names one) are keyed by their full path; pictures are read from ico and cur
// files and desktop entries, the others show their type's icon. The type of
// a name is looked up once per distinct name ending (all from the first
// dot), since the type database is slow next to filling a list.
#pragma once

#include <QMimeDatabase>
#include <QPixmap>

#include <string>
#include <string_view>
#include <unordered_map>

namespace velloran {

class FileTypeIcons {
public:
    struct FileType {
        std::string key;       // the image list key
        bool ownIcon = false;  // the key is the path of a file with its own icon
    };

    // byName: the name alone decides (the file need not exist, and no file
    // is keyed by its path).
    FileType TypeOf(const std::string& path, bool byName);
    // Whether the name alone gives the type of a regular file of that name,
    // as it does for one with an extension and no icon of its own: such a
    // file known to exist needs no look at it.
    static bool NameSettlesFileType(std::string_view name);
    QPixmap Picture(const FileType& type, const std::string& path, QSize size);

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };

    std::string TypeOfName(std::string_view name);
    QPixmap OwnPicture(const std::string& path, QSize size) const;
    QPixmap TypePicture(const std::string& key, QSize size) const;

    QMimeDatabase m_database;
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> m_byEnding;
};

}  // namespace velloran
