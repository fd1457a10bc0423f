// The style's standard icons: a folder, a drive for the root, a file.
#include "app/views/FolderIconProvider.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

namespace velloran {

FolderIconProvider::FolderIconProvider()
    : m_folder(QApplication::style()->standardIcon(QStyle::SP_DirIcon)),
      m_drive(QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon)),
      m_file(QApplication::style()->standardIcon(QStyle::SP_FileIcon))
{
}

QIcon FolderIconProvider::icon(IconType type) const
{
    switch (type) {
    case Computer:
    case Drive: return m_drive;
    case File: return m_file;
    default: return m_folder;
    }
}

QIcon FolderIconProvider::icon(const QFileInfo& info) const
{
    if (info.isRoot())
        return m_drive;
    return info.isDir() ? m_folder : m_file;
}

QString FolderIconProvider::type(const QFileInfo& info) const
{
    return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
}

}  // namespace velloran
