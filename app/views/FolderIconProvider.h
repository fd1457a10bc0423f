// Icons and type names for the folder tree that cost no file access: the
// file-system model asks for them for every entry of a folder, files
// included, so a MIME lookup or an icon decoded per entry would make large
// folders slow. The three icons are made once.
#pragma once

#include <QAbstractFileIconProvider>
#include <QIcon>

namespace velloran {

class FolderIconProvider : public QAbstractFileIconProvider {
public:
    FolderIconProvider();

    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    QIcon m_folder, m_drive, m_file;
};

}  // namespace velloran
