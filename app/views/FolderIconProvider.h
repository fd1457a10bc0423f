// Icons and type names for the folder tree that cost no file access: the
// file-system model asks for them for every entry of a folder, files
// included, and a MIME lookup each would make large folders slow.
#pragma once

#include <QAbstractFileIconProvider>

namespace velloran {

class FolderIconProvider : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

}  // namespace velloran
