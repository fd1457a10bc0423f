// The style's standard icons: a folder, a drive for the root, a file.
#include "app/views/FolderIconProvider.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

namespace velloran {

QIcon FolderIconProvider::icon(IconType type) const
{
    switch (type) {
    case Computer:
    case Drive: return QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon);
    case File: return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    default: return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    }
}

QIcon FolderIconProvider::icon(const QFileInfo& info) const
{
    if (info.isRoot())
        return icon(Drive);
    return icon(info.isDir() ? Folder : File);
}

QString FolderIconProvider::type(const QFileInfo& info) const
{
    return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
}

}  // namespace velloran
