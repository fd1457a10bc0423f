// FolderTreeview: the folder tree of the main window. Folders only (hidden
// ones included), read lazily as branches open, on FolderModel. The
// selected folder is read and written as a path; a path that cannot be
// shown leaves the selection where it was, which callers detect by reading
// it back. Paths travel as bytes, also those that are not valid UTF-8.
#pragma once

#include <QPersistentModelIndex>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <string>

class QTreeView;

namespace velloran {

class FolderModel;

class FolderTreeview : public QWidget {
    Q_OBJECT

public:
    explicit FolderTreeview(QWidget* parent = nullptr);
    ~FolderTreeview() override;

    // The selected folder's full path, without a trailing "/" (except the
    // root "/"); empty when nothing is selected.
    std::string Path() const;
    // Expands the tree to the folder and selects it. A trailing "/" is
    // allowed.
    void SetPath(const std::string& path);
    // True when both selections are the same folder (same device and inode,
    // so a link to a folder is that folder).
    bool SameFolder(const FolderTreeview& other) const;
    // Position and size in twips, within the parent.
    void Move(int32_t left, int32_t top, int32_t width, int32_t height);
    // The tree view that draws the folders (for colours).
    QTreeView* TreeHWnd() const;

signals:
    // Mouse buttons on the tree, with the platform's numbers (1 left, 2
    // right, 4 middle), the Shift/Ctrl/Alt state (1, 2, 4) and the position
    // in twips within the tree.
    void MouseDown(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    FolderModel* m_model;
    QTreeView* m_tree;
    // The folder last selected by SetPath, until the user picks another,
    // and the timer that scrolls it into view once the rows settle.
    QPersistentModelIndex m_pendingScroll;
    QTimer m_scroll;
};

}  // namespace velloran
