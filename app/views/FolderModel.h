// FolderModel: the folders of the file system as a tree under one top-level
// row "/". A folder's sub-folders (real folders and links to folders, hidden
// ones included) are read when its branch first opens, on a worker thread
// that never looks at a file, and arrive sorted in one insertion, so a
// folder of many files costs the window nothing. A folder once read is
// watched; when it changes on disk it is read again and the difference
// merged in, rows removed and inserted, so the rows that stay keep their
// identity. Paths are the bytes the file system has; only display decodes.
#pragma once

#include "app/views/FolderIconProvider.h"
#include "app/views/FolderWatcher.h"

#include <QAbstractItemModel>
#include <QByteArray>
#include <QCollator>
#include <QSet>
#include <QThreadPool>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

namespace velloran {

class FolderModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit FolderModel(QObject* parent = nullptr);
    // Waits for reads under way; their results are dropped.
    ~FolderModel() override;

    // The row of an absolute folder path (trailing "/" allowed). Rows missing
    // along the way are made at once, before their parents are read, and
    // stay when the parents' other sub-folders arrive. Invalid when the
    // path names no folder now, is relative or holds "." or "..".
    QModelIndex index(const QByteArray& path);
    // The folder's path; empty for an invalid index.
    QByteArray filePath(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // True for a folder not read yet, so it shows an expand arrow.
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A folder can fetch more until its sub-folders are in.
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // The folder's sub-folders are in (after each read).
    void directoryLoaded(const QByteArray& path);

private:
    struct Node;
    struct Listing;

    Node* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const Node* node) const;
    static QByteArray PathOf(const Node* node);
    static Node* Child(const Node* node, const QByteArray& name);
    Node* Find(const QByteArray& path) const;
    Node* AddChild(Node* parent, const QByteArray& name);
    void StartRead(Node* node);
    static std::shared_ptr<const Listing> ReadListing(const QByteArray& path, uint64_t serial);
    void Apply(const Listing& listing);
    void Merge(Node* node, const Listing& listing);
    void RemoveRows(Node* node, int first, int last);
    void InsertRows(Node* node, int at, const QByteArray* first, const QByteArray* last);
    void Reread();

    FolderIconProvider m_icons;
    QCollator m_collator;
    std::unique_ptr<Node> m_root;
    FolderWatcher m_watcher;
    // Folders changed on disk, read again together after a short delay so
    // a burst of changes costs one read.
    QSet<QByteArray> m_changed;
    QTimer m_reread;
    uint64_t m_serial = 0;
    QThreadPool m_readers;
};

}  // namespace velloran
