// FolderTreeview. QFileSystemModel reads a folder on a background thread when
// its branch is first opened; the tree shows only the name column.
#include "app/views/FolderTreeview.h"

#include "app/views/FolderIconProvider.h"
#include "controls/Twips.h"

#include <QFile>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <sys/stat.h>

#include <cmath>

namespace velloran {

using quorvantell::Twips;

namespace {

QString ToText(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

bool StatFolder(const std::string& path, struct stat& info)
{
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int ButtonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int ShiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

}  // namespace

FolderTreeview::FolderTreeview(QWidget* parent)
    : QWidget(parent), m_icons(new FolderIconProvider), m_model(new QFileSystemModel(this)), m_tree(new QTreeView(this))
{
    m_model->setIconProvider(m_icons);
    m_model->setOption(QFileSystemModel::DontUseCustomDirectoryIcons);
    m_model->setFilter(QDir::Dirs | QDir::Drives | QDir::Hidden | QDir::NoDotAndDotDot);
    m_model->setRootPath(QString());
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->setUniformRowHeights(true);  // keeps long folders quick to lay out
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->viewport()->installEventFilter(this);
    // A folder selected before its branch was read is shown once the rows
    // above it are there and sorted; the model reads and sorts in steps.
    m_scroll.setSingleShot(true);
    connect(&m_scroll, &QTimer::timeout, this, [this] {
        if (m_pendingScroll.isValid())
            m_tree->scrollTo(m_pendingScroll, QAbstractItemView::PositionAtCenter);
    });
    const auto scrollSoon = [this] {
        if (m_pendingScroll.isValid())
            m_scroll.start(0);
    };
    connect(m_model, &QFileSystemModel::directoryLoaded, this, scrollSoon);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, scrollSoon);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, scrollSoon);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
}

// The model refers to the icon provider until it goes; the provider goes last.
FolderTreeview::~FolderTreeview()
{
    m_tree->viewport()->removeEventFilter(this);
    delete m_tree;
    delete m_model;
    delete m_icons;
}

std::string FolderTreeview::Path() const
{
    const QModelIndex current = m_tree->currentIndex();
    if (!current.isValid())
        return {};
    return QFile::encodeName(m_model->filePath(current)).toStdString();
}

void FolderTreeview::SetPath(const std::string& path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const QModelIndex index = m_model->index(ToText(trimmed));
    if (!index.isValid() || !m_model->isDir(index))
        return;
    // Every branch above the folder opens, so each is read at once, in the
    // background, rather than when the view first asks for its rows.
    for (QModelIndex above = index.parent(); above.isValid(); above = above.parent())
        m_tree->expand(above);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_pendingScroll = index;
}

void FolderTreeview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The view can place the selection only once it has a size.
    if (m_pendingScroll.isValid())
        m_scroll.start(0);
}

bool FolderTreeview::SameFolder(const FolderTreeview& other) const
{
    struct stat mine {}, theirs {};
    return StatFolder(Path(), mine) && StatFolder(other.Path(), theirs) && mine.st_dev == theirs.st_dev &&
           mine.st_ino == theirs.st_ino;
}

void FolderTreeview::Move(int32_t left, int32_t top, int32_t width, int32_t height)
{
    setGeometry(Twips::ToPixelsX(left, this), Twips::ToPixelsY(top, this), Twips::ToPixelsX(width, this),
                Twips::ToPixelsY(height, this));
}

QTreeView* FolderTreeview::TreeHWnd() const
{
    return m_tree;
}

bool FolderTreeview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return false;
    if (watched != m_tree->viewport())
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF at = m_tree->viewport()->mapTo(m_tree, mouse->position());
    const int x = static_cast<int>(std::lround(Twips::FromPixelsX(at.x(), this)));
    const int y = static_cast<int>(std::lround(Twips::FromPixelsY(at.y(), this)));
    if (event->type() == QEvent::MouseButtonPress) {
        m_pendingScroll = QPersistentModelIndex();  // the user looks elsewhere now
        emit MouseDown(ButtonNumber(mouse->button()), ShiftState(mouse->modifiers()), x, y);
    } else {
        emit MouseUp(ButtonNumber(mouse->button()), ShiftState(mouse->modifiers()), x, y);
    }
    return false;
}

}  // namespace velloran
