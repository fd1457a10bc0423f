// ListModel. Reordering moves the rows and then the view's persistent
// indexes (selection, current row) with them, so they follow their rows.
#include "app/views/ListModel.h"

#include "app/views/ListImages.h"
#include "controls/OleColor.h"

#include <QBrush>
#include <QFile>

namespace velloran {

namespace {

constexpr uint8_t kUnchecked = 1;
constexpr uint8_t kChecked = 2;

}  // namespace

ListModel::ListModel(int32_t columns, const ListImages* images, QObject* parent)
    : QAbstractTableModel(parent), m_rows(columns), m_images(images)
{
}

void ListModel::Changed(uint32_t position)
{
    if (position >= m_shown)
        return;
    const int row = static_cast<int>(position);
    emit dataChanged(index(row, 0), index(row, m_rows.Columns() - 1));
}

void ListModel::ChangeAll(const std::function<void(ListRows::Row&)>& change)
{
    for (uint32_t position = 0; position < m_rows.Count(); ++position)
        change(m_rows.At(position));
    if (m_shown > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, m_rows.Columns() - 1));
}

bool ListModel::Append(std::string_view key, const std::vector<std::string>& texts)
{
    if (m_rows.Find(key))
        return false;
    m_rows.Insert(m_rows.Count(), key, texts);
    if (m_checkBoxes)
        m_rows.At(m_rows.Count() - 1).stateImage = kUnchecked;
    m_unsorted = m_keys.has_value();
    if (m_rows.Count() == m_shown + 1)
        emit Waiting();
    return true;
}

void ListModel::Insert(uint32_t position, const std::vector<std::string>& texts)
{
    if (m_keys) {
        Append({}, texts);
        return;
    }
    const bool seen = position <= m_shown;
    if (seen)
        beginInsertRows({}, static_cast<int>(position), static_cast<int>(position));
    m_rows.Insert(position, {}, texts);
    if (m_checkBoxes)
        m_rows.At(position).stateImage = kUnchecked;
    m_rows.RenumberInsertionOrder();
    if (seen) {
        ++m_shown;
        endInsertRows();
    } else if (m_rows.Count() == m_shown + 1) {
        emit Waiting();
    }
}

void ListModel::Remove(uint32_t position)
{
    const bool seen = position < m_shown;
    if (seen)
        beginRemoveRows({}, static_cast<int>(position), static_cast<int>(position));
    m_rows.Remove(position);
    if (seen) {
        --m_shown;
        endRemoveRows();
    }
}

void ListModel::Clear()
{
    beginResetModel();
    m_rows.Clear();
    m_shown = 0;
    m_unsorted = false;
    endResetModel();
}

void ListModel::SetOrder(const std::optional<RowOrder::Keys>& keys)
{
    Show();
    m_keys = keys;
    Reorder(keys ? RowOrder::Sorted(m_rows, *keys) : RowOrder::Insertion(m_rows));
    m_unsorted = false;
}

void ListModel::Place()
{
    Show();
    if (m_unsorted)
        SetOrder(m_keys);
}

void ListModel::SetCaptions(const std::vector<std::string>& captions)
{
    m_captions.clear();
    for (const std::string& caption : captions)
        m_captions.push_back(QString::fromStdString(caption));
    emit headerDataChanged(Qt::Horizontal, 0, m_rows.Columns() - 1);
}

void ListModel::SetCheckBoxes(bool on)
{
    if (on == m_checkBoxes)
        return;
    m_checkBoxes = on;
    ChangeAll([on](ListRows::Row& row) { row.stateImage = on ? kUnchecked : 0; });
}

void ListModel::EnableColouring()
{
    m_colouring = true;
    ChangeAll([](ListRows::Row&) {});
}

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown);
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.Columns();
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const auto position = static_cast<uint32_t>(index.row());
    const ListRows::Row& row = m_rows.At(position);
    const bool first = index.column() == 0;
    switch (role) {
    case Qt::DisplayRole: {
        const std::string_view text = m_rows.Text(position, index.column() + 1);
        return QFile::decodeName(QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())));
    }
    case Qt::DecorationRole:
        return first && row.icon != 0 && m_images != nullptr ? QVariant(m_images->Picture(static_cast<int32_t>(row.icon)))
                                                             : QVariant();
    case Qt::CheckStateRole:
        return first && m_checkBoxes ? QVariant(row.stateImage == kChecked ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
        return Colour(position, role == Qt::ForegroundRole);
    case kStateImageRole:
        return m_checkBoxes ? 0 : row.stateImage;
    case kIndentRole:
        return row.indent;
    default:
        return {};
    }
}

bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole || !m_checkBoxes)
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    m_rows.At(static_cast<uint32_t>(index.row())).stateImage = checked ? kChecked : kUnchecked;
    Changed(static_cast<uint32_t>(index.row()));
    return true;
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_checkBoxes && index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(m_captions.size()))
        return {};
    return m_captions[section];
}

void ListModel::Show()
{
    if (m_shown == m_rows.Count())
        return;
    beginInsertRows({}, static_cast<int>(m_shown), static_cast<int>(m_rows.Count()) - 1);
    m_shown = m_rows.Count();
    endInsertRows();
}

void ListModel::Reorder(std::vector<uint32_t> order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<uint32_t> moved(order.size());
    for (uint32_t to = 0; to < order.size(); ++to)
        moved[order[to]] = to;
    m_rows.Reorder(std::move(order));
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from)
        to.append(index(static_cast<int>(moved[static_cast<uint32_t>(old.row())]), old.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QVariant ListModel::Colour(uint32_t position, bool text) const
{
    if (!m_colouring)
        return {};
    const std::optional<CItemState> state = m_rows.RowState(position);
    if (!state)
        return {};
    return QBrush(quorvantell::OleColor::ToQColor(text ? state->ForeColor : state->BackColor));
}

}  // namespace velloran
