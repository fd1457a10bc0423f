// FolderTreeview. The model reads a folder on a worker thread when its
// branch is first opened.
#include "app/views/FolderTreeview.h"

#include "app/views/FolderModel.h"
#include "controls/Twips.h"

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
    : QWidget(parent), m_model(new FolderModel(this)), m_tree(new QTreeView(this))
{
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);  // keeps long folders quick to lay out
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->viewport()->installEventFilter(this);
    // A folder selected before its branch was read is shown once the rows
    // around it are there; its siblings arrive in the background.
    m_scroll.setSingleShot(true);
    connect(&m_scroll, &QTimer::timeout, this, [this] {
        if (m_pendingScroll.isValid())
            m_tree->scrollTo(m_pendingScroll, QAbstractItemView::PositionAtCenter);
    });
    const auto scrollSoon = [this] {
        if (m_pendingScroll.isValid())
            m_scroll.start(0);
    };
    connect(m_model, &FolderModel::directoryLoaded, this, scrollSoon);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, scrollSoon);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
}

// No mouse event may reach this half-destroyed widget while the view goes.
FolderTreeview::~FolderTreeview()
{
    m_tree->viewport()->removeEventFilter(this);
}

std::string FolderTreeview::Path() const
{
    const QModelIndex current = m_tree->currentIndex();
    if (!current.isValid())
        return {};
    return m_model->filePath(current).toStdString();
}

void FolderTreeview::SetPath(const std::string& path)
{
    const QModelIndex index = m_model->index(QByteArray::fromStdString(path));
    if (!index.isValid())
        return;
    // Every branch above the folder opens, so each is read at once, in the
    // background, rather than when the view first asks for its rows.
    for (QModelIndex above = index.parent(); above.isValid(); above = above.parent()) {
        m_model->fetchMore(above);  // also while the view is hidden and lays out nothing
        m_tree->expand(above);
    }
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
