// FileTypeIcons. Types come from the shared MIME database by name only: the
// contents of a file are never read to type it (a list of many files would
// wait on the disk, and a FIFO would block).
#include "app/views/FileTypeIcons.h"

#include "classlib/files/DesktopEntry.h"

#include <QFile>
#include <QFileIconProvider>
#include <QIcon>
#include <QImageReader>

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace velloran {

namespace {

constexpr const char* kDefault = "Default";
constexpr const char* kExecutable = "application/x-executable";
constexpr const char* kFolder = "inode/directory";

std::string_view NameOf(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string LowerExtension(std::string_view name)
{
    const size_t dot = name.rfind('.');
    std::string extension(dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool CarriesOwnIcon(std::string_view name)
{
    static constexpr std::array<std::string_view, 6> kOwn{"ani", "cur", "exe", "ico", "lnk", "desktop"};
    const std::string extension = LowerExtension(name);
    return std::find(kOwn.begin(), kOwn.end(), extension) != kOwn.end();
}

// The type of what is not a regular file; nothing for a regular file.
const char* KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return kFolder;
    if (S_ISCHR(mode))
        return "inode/chardevice";
    if (S_ISBLK(mode))
        return "inode/blockdevice";
    if (S_ISFIFO(mode))
        return "inode/fifo";
    if (S_ISSOCK(mode))
        return "inode/socket";
    return nullptr;
}

QPixmap ThemeOrPathPicture(const std::string& icon, QSize size)
{
    const QString name = QFile::decodeName(QByteArray::fromStdString(icon));
    const QIcon picture = name.startsWith('/') ? QIcon(name) : QIcon::fromTheme(name);
    return picture.isNull() ? QPixmap() : picture.pixmap(size);
}

}  // namespace

FileTypeIcons::FileType FileTypeIcons::TypeOf(const std::string& path, bool byName)
{
    const std::string_view name = NameOf(path);
    if (byName)
        return {TypeOfName(name)};
    if (CarriesOwnIcon(name))
        return {path, true};
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return {kDefault};
    if (const char* kind = KindOf(status.st_mode))
        return {kind};
    if (name.find('.') == std::string_view::npos && (status.st_mode & 0111) != 0)
        return {kExecutable};
    return {TypeOfName(name)};
}

bool FileTypeIcons::NameSettlesFileType(std::string_view name)
{
    name = NameOf(name);
    return name.find('.') != std::string_view::npos && !CarriesOwnIcon(name);
}

QPixmap FileTypeIcons::Picture(const FileType& type, const std::string& path, QSize size)
{
    if (!type.ownIcon)
        return TypePicture(type.key, size);
    const QPixmap own = OwnPicture(path, size);
    return own.isNull() ? TypePicture(TypeOfName(NameOf(path)), size) : own;
}

std::string FileTypeIcons::TypeOfName(std::string_view name)
{
    const size_t dot = name.find('.');
    const std::string_view ending = dot == std::string_view::npos ? name : name.substr(dot);
    if (const auto found = m_byEnding.find(ending); found != m_byEnding.end())
        return found->second;
    // A stand-in stem, so that the type follows the ending alone.
    const std::string probe = dot == std::string_view::npos ? std::string(name) : "x" + std::string(ending);
    const QMimeType type =
        m_database.mimeTypeForFile(QFile::decodeName(QByteArray::fromStdString(probe)), QMimeDatabase::MatchExtension);
    const std::string key = type.name().toLower().toStdString();
    m_byEnding.emplace(ending, key);
    return key;
}

QPixmap FileTypeIcons::OwnPicture(const std::string& path, QSize size) const
{
    const std::string extension = LowerExtension(NameOf(path));
    if (extension == "desktop") {
        const std::optional<quorvantell::DesktopEntry> entry = quorvantell::DesktopEntry::Read(path);
        return entry && !entry->Icon().empty() ? ThemeOrPathPicture(entry->Icon(), size) : QPixmap();
    }
    if (extension != "ico" && extension != "cur")
        return {};
    QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path)));
    const QImage image = reader.read();
    return image.isNull() ? QPixmap()
                          : QPixmap::fromImage(image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QPixmap FileTypeIcons::TypePicture(const std::string& key, QSize size) const
{
    const QMimeType type = m_database.mimeTypeForName(QString::fromStdString(key));
    QIcon icon;
    if (type.isValid()) {
        icon = QIcon::fromTheme(type.iconName());
        if (icon.isNull())
            icon = QIcon::fromTheme(type.genericIconName());
    }
    if (icon.isNull()) {
        const auto kind = key == kFolder ? QAbstractFileIconProvider::Folder : QAbstractFileIconProvider::File;
        icon = QFileIconProvider().icon(kind);
    }
    return icon.pixmap(size);
}

}  // namespace velloran
