// The style's standard icons, from the running application's style.
#include "app/views/FolderIconProvider.h"

#include <QApplication>
#include <QStyle>

namespace velloran {

FolderIconProvider::FolderIconProvider()
    : m_drive(QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon)),
      m_folder(QApplication::style()->standardIcon(QStyle::SP_DirIcon))
{
}

}  // namespace velloran
