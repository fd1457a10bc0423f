// FolderModel. Each row's node owns its children; a node is found again from
// a path by walking names down from the root, so a read that comes back for
// a folder removed meanwhile finds nothing and is dropped.
#include "app/views/FolderModel.h"

#include "classlib/files/FolderEntries.h"

#include <QFile>
#include <QIcon>

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <utility>

namespace velloran {

namespace {

// Long enough to gather a burst of changes (a copy into the folder) into
// one read, short enough to look immediate.
constexpr int kRereadDelayMs = 150;

QCollator FolderCollator()
{
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// Folder order: by the collator (case-insensitive, numbers by value), and
// names it holds equal by their bytes, so the order is total and the same
// on every thread.
bool Before(const QCollator& collator, const QString& a, const QByteArray& aBytes, const QString& b,
            const QByteArray& bBytes)
{
    const int order = collator.compare(a, b);
    return order != 0 ? order < 0 : aBytes < bBytes;
}

std::vector<QByteArray> SortedFolders(const std::vector<std::string>& names)
{
    std::vector<std::pair<QString, QByteArray>> keyed;
    keyed.reserve(names.size());
    for (const std::string& name : names) {
        QByteArray bytes = QByteArray::fromStdString(name);
        keyed.emplace_back(QFile::decodeName(bytes), std::move(bytes));
    }
    const QCollator collator = FolderCollator();
    std::sort(keyed.begin(), keyed.end(), [&collator](const auto& a, const auto& b) {
        return Before(collator, a.first, a.second, b.first, b.second);
    });
    std::vector<QByteArray> sorted;
    sorted.reserve(keyed.size());
    for (auto& [text, bytes] : keyed)
        sorted.push_back(std::move(bytes));
    return sorted;
}

QByteArray Join(const QByteArray& folder, const QByteArray& name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// The names of an absolute path; false for a relative path or one that
// holds "." or "..", which would make the rows disagree with the path.
bool SplitPath(const QByteArray& path, QList<QByteArray>& names)
{
    names.clear();
    if (!path.startsWith('/'))
        return false;
    for (const QByteArray& name : path.split('/')) {
        if (name == "." || name == "..")
            return false;
        if (!name.isEmpty())
            names.append(name);
    }
    return true;
}

}  // namespace

struct FolderModel::Node {
    QByteArray name;  // empty for the root
    Node* parent = nullptr;
    int row = 0;
    std::vector<std::unique_ptr<Node>> children;
    bool read = false;     // the sub-folders are in
    bool reading = false;
    bool stale = false;    // changed on disk while being read
    uint64_t serial = 0;   // of the read under way
};

// What a worker hands back: the sub-folders of one folder, sorted, and the
// same names as a set for merging. `read` false: the folder could not be read.
struct FolderModel::Listing {
    QByteArray path;
    uint64_t serial = 0;
    bool read = false;
    std::vector<QByteArray> names;
    QSet<QByteArray> present;
};

FolderModel::FolderModel(QObject* parent)
    : QAbstractItemModel(parent), m_collator(FolderCollator()), m_root(std::make_unique<Node>())
{
    connect(&m_watcher, &FolderWatcher::Changed, this, [this](const QByteArray& folder) {
        m_changed.insert(folder);
        if (!m_reread.isActive())
            m_reread.start();
    });
    m_reread.setSingleShot(true);
    m_reread.setInterval(kRereadDelayMs);
    connect(&m_reread, &QTimer::timeout, this, &FolderModel::Reread);
}

FolderModel::~FolderModel()
{
    m_readers.clear();
    m_readers.waitForDone();
}

QModelIndex FolderModel::index(const QByteArray& path)
{
    QList<QByteArray> names;
    struct stat info {};
    if (!SplitPath(path, names) || stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return {};
    // Every folder above a folder that could be reached is a folder too.
    Node* node = m_root.get();
    for (const QByteArray& name : names) {
        Node* child = Child(node, name);
        node = child != nullptr ? child : AddChild(node, name);
    }
    return IndexOf(node);
}

QByteArray FolderModel::filePath(const QModelIndex& index) const
{
    return index.isValid() ? PathOf(NodeOf(index)) : QByteArray();
}

QModelIndex FolderModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, m_root.get());
    return createIndex(row, column, NodeOf(parent)->children[static_cast<size_t>(row)].get());
}

QModelIndex FolderModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    return IndexOf(NodeOf(child)->parent);
}

int FolderModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return 1;
    if (parent.column() != 0)
        return 0;
    return static_cast<int>(NodeOf(parent)->children.size());
}

int FolderModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool FolderModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return true;
    const Node* node = NodeOf(parent);
    return !node->read || !node->children.empty();
}

QVariant FolderModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Node* node = NodeOf(index);
    const bool root = node == m_root.get();
    if (role == Qt::DisplayRole)
        return root ? QStringLiteral("/") : QFile::decodeName(node->name);
    if (role == Qt::DecorationRole)
        return root ? m_icons.Drive() : m_icons.Folder();
    return {};
}

Qt::ItemFlags FolderModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool FolderModel::canFetchMore(const QModelIndex& parent) const
{
    return parent.isValid() && !NodeOf(parent)->read;
}

void FolderModel::fetchMore(const QModelIndex& parent)
{
    if (!parent.isValid())
        return;
    Node* node = NodeOf(parent);
    if (!node->read && !node->reading)
        StartRead(node);
}

FolderModel::Node* FolderModel::NodeOf(const QModelIndex& index) const
{
    return static_cast<Node*>(index.internalPointer());
}

QModelIndex FolderModel::IndexOf(const Node* node) const
{
    return node != nullptr ? createIndex(node->row, 0, const_cast<Node*>(node)) : QModelIndex();
}

QByteArray FolderModel::PathOf(const Node* node)
{
    if (node->parent == nullptr)
        return QByteArrayLiteral("/");
    return Join(PathOf(node->parent), node->name);
}

FolderModel::Node* FolderModel::Child(const Node* node, const QByteArray& name)
{
    const auto found = std::find_if(node->children.begin(), node->children.end(),
                                    [&name](const std::unique_ptr<Node>& child) { return child->name == name; });
    return found != node->children.end() ? found->get() : nullptr;
}

FolderModel::Node* FolderModel::Find(const QByteArray& path) const
{
    QList<QByteArray> names;
    if (!SplitPath(path, names))
        return nullptr;
    Node* node = m_root.get();
    for (qsizetype i = 0; i < names.size() && node != nullptr; ++i)
        node = Child(node, names[i]);
    return node;
}

// One row made ahead of its parent's read, in its sorted place.
FolderModel::Node* FolderModel::AddChild(Node* parent, const QByteArray& name)
{
    const QString text = QFile::decodeName(name);
    const auto at = std::upper_bound(parent->children.begin(), parent->children.end(), name,
                                     [this, &text](const QByteArray& bytes, const std::unique_ptr<Node>& child) {
                                         return Before(m_collator, text, bytes, QFile::decodeName(child->name),
                                                       child->name);
                                     });
    const int row = static_cast<int>(at - parent->children.begin());
    InsertRows(parent, row, &name, &name + 1);
    return parent->children[static_cast<size_t>(row)].get();
}

// The folder is watched before it is read, so a change during the read
// is not missed.
void FolderModel::StartRead(Node* node)
{
    node->reading = true;
    node->serial = ++m_serial;
    const QByteArray path = PathOf(node);
    m_watcher.Watch(path);
    m_readers.start([this, path, serial = node->serial] {
        const std::shared_ptr<const Listing> listing = ReadListing(path, serial);
        QMetaObject::invokeMethod(this, [this, listing] { Apply(*listing); }, Qt::QueuedConnection);
    });
}

// On a worker thread: everything that grows with the folder's entries
// happens here, the reading, the sorting and the set for merging.
std::shared_ptr<const FolderModel::Listing> FolderModel::ReadListing(const QByteArray& path, uint64_t serial)
{
    auto listing = std::make_shared<Listing>();
    listing->path = path;
    listing->serial = serial;
    std::vector<std::string> names;
    listing->read = quorvantell::ReadSubfolderNames(path.toStdString(), names);
    listing->names = SortedFolders(names);
    listing->present = QSet<QByteArray>(listing->names.begin(), listing->names.end());
    return listing;
}

// A folder that could not be read keeps the rows it has: unknown is not
// empty.
void FolderModel::Apply(const Listing& listing)
{
    Node* node = Find(listing.path);
    if (node == nullptr || !node->reading || node->serial != listing.serial)
        return;
    const QModelIndex index = IndexOf(node);
    const bool hadChildren = hasChildren(index);
    node->reading = false;
    node->read = true;
    if (listing.read)
        Merge(node, listing);
    if (hasChildren(index) != hadChildren)
        emit dataChanged(index, index);  // the view redraws the expand arrow
    emit directoryLoaded(listing.path);
    if (std::exchange(node->stale, false))
        StartRead(node);
}

// The rows and the fresh names are walked side by side, both in folder
// order, with no comparison but for equality: a row whose name is not among
// the names goes, names up to the next row come in, runs of either in one
// step. Rows that stay keep their identity; whatever the order, the rows
// end up exactly the names, none lost or doubled.
void FolderModel::Merge(Node* node, const Listing& listing)
{
    const std::vector<QByteArray>& names = listing.names;
    const auto& children = node->children;
    const auto gone = [&](size_t row) { return !listing.present.contains(children[row]->name); };
    size_t row = 0;
    for (size_t i = 0; i < names.size() || row < children.size();) {
        if (i == names.size() || (row < children.size() && children[row]->name != names[i] && gone(row))) {
            size_t last = row;
            while (last + 1 < children.size() && (i == names.size() || gone(last + 1)))
                ++last;
            RemoveRows(node, static_cast<int>(row), static_cast<int>(last));
        } else if (row < children.size() && children[row]->name == names[i]) {
            ++row;
            ++i;
        } else {
            size_t end = i;
            while (end < names.size() && (row == children.size() || names[end] != children[row]->name))
                ++end;
            InsertRows(node, static_cast<int>(row), names.data() + i, names.data() + end);
            row += end - i;
            i = end;
        }
    }
}

void FolderModel::RemoveRows(Node* node, int first, int last)
{
    beginRemoveRows(IndexOf(node), first, last);
    auto& children = node->children;
    for (int row = first; row <= last; ++row) {
        const Node* child = children[static_cast<size_t>(row)].get();
        if (child->read || child->reading)
            m_watcher.Unwatch(PathOf(child));
    }
    children.erase(children.begin() + first, children.begin() + last + 1);
    for (size_t row = static_cast<size_t>(first); row < children.size(); ++row)
        children[row]->row = static_cast<int>(row);
    endRemoveRows();
}

void FolderModel::InsertRows(Node* node, int at, const QByteArray* first, const QByteArray* last)
{
    beginInsertRows(IndexOf(node), at, at + static_cast<int>(last - first) - 1);
    std::vector<std::unique_ptr<Node>> rows;
    rows.reserve(static_cast<size_t>(last - first));
    for (const QByteArray* name = first; name != last; ++name) {
        rows.push_back(std::make_unique<Node>());
        rows.back()->name = *name;
        rows.back()->parent = node;
    }
    auto& children = node->children;
    children.insert(children.begin() + at, std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    for (size_t row = static_cast<size_t>(at); row < children.size(); ++row)
        children[row]->row = static_cast<int>(row);
    endInsertRows();
}

// A folder still being read is read once more when that read is in.
void FolderModel::Reread()
{
    for (const QByteArray& folder : std::exchange(m_changed, {})) {
        Node* node = Find(folder);
        if (node == nullptr)
            continue;
        if (node->reading)
            node->stale = true;
        else if (node->read)
            StartRead(node);
    }
}

}  // namespace velloran
