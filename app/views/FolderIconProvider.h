// Icons for the folder tree that cost no file access: the style's standard
// drive and folder icons, made once and handed out for every row.
#pragma once

#include <QIcon>

namespace velloran {

class FolderIconProvider {
public:
    FolderIconProvider();

    // The root "/".
    const QIcon& Drive() const { return m_drive; }
    // Every folder below it.
    const QIcon& Folder() const { return m_folder; }

private:
    QIcon m_drive, m_folder;
};

}  // namespace velloran
