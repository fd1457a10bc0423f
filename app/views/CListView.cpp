// CListView over ListModel; the sort arrow is the header's own sort
// indicator, and the settings go through the shared CRegistry.
#include "app/views/CListView.h"

#include "app/views/ListDelegate.h"
#include "app/views/ListImages.h"
#include "app/views/ListModel.h"
#include "app/views/WindowSettings.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

#include <algorithm>
#include <limits>

namespace velloran {

namespace {

constexpr int32_t kMinWidth = 8;
constexpr int32_t kAscending = 0;
constexpr int32_t kDescending = 1;
constexpr int32_t kUnsorted = 2;
constexpr uint8_t kUnchecked = 1;
constexpr uint8_t kChecked = 2;
constexpr int32_t kMaxStateImage = 15;  // four bits of the item state

int32_t ReadNumber(const std::string& name, int32_t fallback)
{
    return Registry().GetKeyWord(quorvantell::eRegBaseKey::HKCU, kWindowKey, name, fallback);
}

void WriteNumber(const std::string& name, int32_t value)
{
    Registry().SetKeyWord(quorvantell::eRegBaseKey::HKCU, kWindowKey, name, value);
}

// The base key of an icon key: the part after the first "." of an
// "OL" + overlay + "." + base key, or the key itself.
std::string BaseKey(const std::string& key)
{
    const size_t dot = key.find('.');
    return key.rfind("OL", 0) == 0 && dot != std::string::npos ? key.substr(dot + 1) : key;
}

}  // namespace

CListView::CListView(QObject* parent) : QObject(parent) {}

CListView::~CListView() = default;

void CListView::Init(QTreeView* list, int32_t nCols, ListImages* lstImg)
{
    m_list = list;
    m_images = lstImg;
    m_columns = std::max(nCols, 1);
    m_model = new ListModel(m_columns, lstImg, list);
    list->setModel(m_model);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSortingEnabled(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setIconSize(lstImg != nullptr ? lstImg->ImageSize() : QSize(16, 16));
    list->setMouseTracking(true);
    list->viewport()->setAttribute(Qt::WA_Hover);
    list->setItemDelegate(new ListDelegate(list));
    list->viewport()->installEventFilter(this);
    connect(m_model, &ListModel::Waiting, list->viewport(), qOverload<>(&QWidget::update));

    QHeaderView* header = list->header();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(kMinWidth);
    header->setAttribute(Qt::WA_Hover);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    connect(header, &QHeaderView::sectionClicked, this, [this](int logical) { ColumnClick(logical + 1); });
}

void CListView::SetColumnCaptions(const std::vector<std::string>& captions)
{
    if (m_model != nullptr)
        m_model->SetCaptions(captions);
}

int32_t CListView::AddItem(const std::string& key, const std::vector<std::string>& items)
{
    return m_model != nullptr && m_model->Append(key, items) ? Count() : 0;
}

int32_t CListView::AddItemByIndex(int32_t position, const std::vector<std::string>& items)
{
    if (m_model == nullptr || position < 1 || position > Count() + 1)
        return 0;
    m_model->Insert(static_cast<uint32_t>(position - 1), items);
    return m_sorted ? Count() : position;
}

void CListView::SetItem(const KeyOrIndex& row, const std::vector<std::string>& items)
{
    if (const std::optional<uint32_t> position = Position(row)) {
        m_model->Rows().SetTexts(*position, items);
        m_model->Changed(*position);
    }
}

std::string CListView::Item(const KeyOrIndex& row, int32_t colIndex) const
{
    const std::optional<uint32_t> position = Position(row);
    return position && ValidColumn(colIndex) ? std::string(m_model->Rows().Text(*position, colIndex)) : std::string();
}

void CListView::SetItemText(const KeyOrIndex& row, int32_t colIndex, const std::string& text)
{
    const std::optional<uint32_t> position = Position(row);
    if (!position || !ValidColumn(colIndex))
        return;
    m_model->Rows().SetText(*position, colIndex, text);
    m_model->Changed(*position);
}

std::optional<int64_t> CListView::SortValue(const KeyOrIndex& row, int32_t colIndex) const
{
    const std::optional<uint32_t> position = Position(row);
    return position && ValidColumn(colIndex) ? m_model->Rows().SortValue(*position, colIndex) : std::nullopt;
}

void CListView::SetSortValue(const KeyOrIndex& row, int32_t colIndex, int64_t value)
{
    const std::optional<uint32_t> position = Position(row);
    if (position && ValidColumn(colIndex))
        m_model->Rows().SetSortValue(*position, colIndex, value);
}

std::string CListView::Tag(const KeyOrIndex& row) const
{
    const std::optional<uint32_t> position = Position(row);
    return position ? std::string(m_model->Rows().Tag(*position)) : std::string();
}

void CListView::SetTag(const KeyOrIndex& row, const std::string& tag)
{
    if (const std::optional<uint32_t> position = Position(row))
        m_model->Rows().SetTag(*position, tag);
}

int32_t CListView::IndexOfKey(const std::string& key) const
{
    if (m_model == nullptr)
        return 0;
    m_model->Place();
    const std::optional<uint32_t> position = m_model->Rows().Find(key);
    return position ? static_cast<int32_t>(*position) + 1 : 0;
}

std::string CListView::KeyOfIndex(int32_t index) const
{
    const std::optional<uint32_t> position = Position(index);
    return position ? std::string(m_model->Rows().Key(*position)) : std::string();
}

void CListView::ReplaceKey(const std::string& oldKey, const std::string& newKey)
{
    const std::optional<uint32_t> position = Position(oldKey);
    if (position && m_model->Rows().SetKey(*position, newKey))
        m_model->Changed(*position);
}

void CListView::RemoveItem(const KeyOrIndex& row)
{
    if (const std::optional<uint32_t> position = Position(row))
        m_model->Remove(*position);
}

int32_t CListView::Count() const
{
    return m_model != nullptr ? static_cast<int32_t>(m_model->Rows().Count()) : 0;
}

void CListView::Clear()
{
    if (m_model != nullptr)
        m_model->Clear();
}

void CListView::PreAllocate(int32_t count)
{
    if (m_model != nullptr && count > 0)
        m_model->Rows().Reserve(static_cast<uint32_t>(count));
}

int32_t CListView::SelectedItem() const
{
    if (m_model == nullptr)
        return 0;
    m_model->Place();
    const QModelIndex current = m_list->currentIndex();
    return current.isValid() && m_list->selectionModel()->isRowSelected(current.row()) ? current.row() + 1 : 0;
}

void CListView::SetSelectedItem(const KeyOrIndex& row)
{
    if (m_model == nullptr)
        return;
    m_model->Place();
    const std::optional<uint32_t> position = Position(row);
    if (!position)
        return;
    const QModelIndex index = m_model->index(static_cast<int>(*position), 0);
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->scrollTo(index);
}

bool CListView::Selected(int32_t index) const
{
    const std::optional<uint32_t> position = Position(index);
    return position && m_list->selectionModel()->isRowSelected(static_cast<int>(*position));
}

void CListView::SetSelectAll(bool selected)
{
    if (m_model == nullptr)
        return;
    m_model->Place();
    if (!selected || Count() == 0) {
        m_list->selectionModel()->clearSelection();
        return;
    }
    const QItemSelection all(m_model->index(0, 0), m_model->index(Count() - 1, m_columns - 1));
    m_list->selectionModel()->select(all, QItemSelectionModel::Select);
}

bool CListView::CheckBoxes() const
{
    return m_model != nullptr && m_model->CheckBoxes();
}

void CListView::SetCheckBoxes(bool on)
{
    if (m_model != nullptr)
        m_model->SetCheckBoxes(on);
}

bool CListView::Checked(int32_t index) const
{
    const std::optional<uint32_t> position = Position(index);
    return position && m_model->Rows().At(*position).stateImage == kChecked;
}

void CListView::SetChecked(int32_t index, bool checked)
{
    if (const std::optional<uint32_t> position = Position(index)) {
        m_model->Rows().At(*position).stateImage = checked ? kChecked : kUnchecked;
        m_model->Changed(*position);
    }
}

void CListView::CheckAll(bool checked)
{
    if (m_model != nullptr)
        m_model->ChangeAll([checked](ListRows::Row& row) { row.stateImage = checked ? kChecked : kUnchecked; });
}

void CListView::InvertCheckboxes()
{
    if (CheckBoxes())
        m_model->ChangeAll([](ListRows::Row& row) { row.stateImage = row.stateImage == kChecked ? kUnchecked : kChecked; });
}

int32_t CListView::StateImage(const KeyOrIndex& row) const
{
    const std::optional<uint32_t> position = Position(row);
    return position ? m_model->Rows().At(*position).stateImage : 0;
}

void CListView::SetStateImage(const KeyOrIndex& row, int32_t iconIdx)
{
    if (CheckBoxes() || iconIdx < 0 || iconIdx > kMaxStateImage)
        return;
    if (const std::optional<uint32_t> position = Position(row)) {
        m_model->Rows().At(*position).stateImage = static_cast<uint8_t>(iconIdx);
        m_model->Changed(*position);
    }
}

std::string CListView::Icon(const KeyOrIndex& row) const
{
    const std::optional<uint32_t> position = Position(row);
    return position && m_images != nullptr ? m_images->Key(static_cast<int32_t>(m_model->Rows().At(*position).icon))
                                           : std::string();
}

void CListView::SetIcon(const KeyOrIndex& row, const std::string& iconName)
{
    if (m_images == nullptr)
        return;
    const int32_t icon = m_images->IndexOfKey(iconName);
    if (icon != 0 || iconName.empty())
        SetRowIcon(row, icon);
}

std::string CListView::Overlay(const KeyOrIndex& row) const
{
    const std::string key = Icon(row);
    const size_t dot = key.find('.');
    return key.rfind("OL", 0) == 0 && dot != std::string::npos ? key.substr(2, dot - 2) : std::string();
}

void CListView::SetOverlay(const KeyOrIndex& row, const std::string& iconName)
{
    if (m_images == nullptr || !Position(row))
        return;
    const std::string base = BaseKey(Icon(row));
    const int32_t icon = iconName.empty() ? m_images->IndexOfKey(base) : m_images->Overlaid(base, iconName);
    if (icon != 0)
        SetRowIcon(row, icon);
}

int32_t CListView::Indent(const KeyOrIndex& row) const
{
    const std::optional<uint32_t> position = Position(row);
    return position ? m_model->Rows().At(*position).indent : 0;
}

void CListView::SetIndent(const KeyOrIndex& row, int32_t indent)
{
    if (const std::optional<uint32_t> position = Position(row)) {
        const int32_t kept = std::clamp<int32_t>(indent, 0, std::numeric_limits<int16_t>::max());
        m_model->Rows().At(*position).indent = static_cast<int16_t>(kept);
        m_model->Changed(*position);
    }
}

QPixmap CListView::ItemImage(int32_t index) const
{
    const std::optional<uint32_t> position = Position(index);
    return position && m_images != nullptr ? m_images->Picture(static_cast<int32_t>(m_model->Rows().At(*position).icon))
                                           : QPixmap();
}

void CListView::SetFileIcon(const KeyOrIndex& row, const std::string& path)
{
    if (m_images != nullptr && !path.empty() && Position(row))
        SetRowIcon(row, m_images->FileIcon(path, false));
}

void CListView::SetFileIconByExt(const KeyOrIndex& row, const std::string& name)
{
    if (m_images != nullptr && !name.empty() && Position(row))
        SetRowIcon(row, m_images->FileIcon(name, true));
}

std::optional<CItemState> CListView::State(const std::string& key) const
{
    return m_model != nullptr ? m_model->Rows().State(key) : std::nullopt;
}

void CListView::SetState(const std::string& key, const CItemState& state)
{
    if (m_model == nullptr)
        return;
    m_model->Rows().SetState(key, state);
    if (const std::optional<uint32_t> position = m_model->Rows().Find(key))
        m_model->Changed(*position);
}

void CListView::RemoveState(const std::string& key)
{
    if (m_model == nullptr)
        return;
    m_model->Rows().RemoveState(key);
    if (const std::optional<uint32_t> position = m_model->Rows().Find(key))
        m_model->Changed(*position);
}

void CListView::EnableItemColoring()
{
    if (m_model != nullptr)
        m_model->EnableColouring();
}

void CListView::ColumnClick(int32_t colIndex)
{
    if (m_model == nullptr || !ValidColumn(colIndex))
        return;
    if (colIndex != m_sortColumn) {
        m_sortColumn = colIndex;
        m_sortState = kAscending;
        SetSorted(true);
    } else if (m_sortState == kAscending) {
        m_sortState = kDescending;
        SetSorted(true);
    } else {
        SetSorted(m_sortState == kUnsorted);
    }
    if (const int32_t selected = SelectedItem())
        m_list->scrollTo(m_model->index(selected - 1, 0));
}

bool CListView::Sorted() const
{
    return m_sorted;
}

void CListView::SetSorted(bool sorted)
{
    if (m_model == nullptr)
        return;
    m_sorted = sorted;
    if (sorted && m_sortState == kUnsorted)
        m_sortState = kAscending;
    if (!sorted)
        m_sortState = kUnsorted;
    ApplySort();
    ShowArrow();
}

int32_t CListView::secondSort() const
{
    return m_secondColumn;
}

void CListView::SetSecondSort(int32_t column)
{
    if (m_model == nullptr || (column != -1 && !ValidColumn(column)))
        return;
    m_secondColumn = column;
    if (m_sorted)
        ApplySort();
}

void CListView::ReadSettings(const std::string& listName, bool startSorted, const std::vector<int32_t>& defaultWidths)
{
    if (m_model == nullptr)
        return;
    const std::string prefix = listName + "lv";
    QHeaderView* header = m_list->header();
    for (int32_t column = 0; column < m_columns; ++column) {
        const int32_t fallback =
            column < static_cast<int32_t>(defaultWidths.size()) ? defaultWidths[column] : header->sectionSize(column);
        header->resizeSection(column, std::max(kMinWidth, ReadNumber(prefix + std::to_string(column), fallback)));
    }
    ApplyOrder(prefix);
    const int32_t sortColumn = ReadNumber(prefix + "SortIdx", 1);
    const int32_t sortState = ReadNumber(prefix + "SortOrd", kAscending);
    const int32_t secondColumn = ReadNumber(prefix + "SecSort", -1);
    // A stored number that fits no column or state reads as its default.
    m_sortColumn = ValidColumn(sortColumn) ? sortColumn : 1;
    m_sortState = sortState >= kAscending && sortState <= kUnsorted ? sortState : kAscending;
    m_secondColumn = ValidColumn(secondColumn) ? secondColumn : -1;
    SetSorted(ReadNumber(prefix + "Sorted", startSorted ? -1 : 0) != 0);
}

void CListView::SaveSettings(const std::string& listName) const
{
    if (m_model == nullptr)
        return;
    const std::string prefix = listName + "lv";
    const QHeaderView* header = m_list->header();
    for (int32_t column = 0; column < m_columns; ++column)
        WriteNumber(prefix + std::to_string(column), header->sectionSize(column));
    for (int32_t column = 1; column <= m_columns; ++column)
        WriteNumber(prefix + "Col" + std::to_string(column), header->visualIndex(column - 1));
    WriteNumber(prefix + "SortIdx", m_sortColumn);
    WriteNumber(prefix + "SortOrd", m_sortState);
    WriteNumber(prefix + "SecSort", m_secondColumn);
    WriteNumber(prefix + "Sorted", m_sorted ? -1 : 0);
}

void CListView::Terminate()
{
    if (m_list == nullptr)
        return;
    m_list->viewport()->removeEventFilter(this);
    disconnect(m_list->header(), nullptr, this, nullptr);
}

bool CListView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && m_model != nullptr)
        m_model->Place();
    return QObject::eventFilter(watched, event);
}

std::optional<uint32_t> CListView::Position(const KeyOrIndex& row) const
{
    if (m_model == nullptr)
        return std::nullopt;
    if (row.IsKey())
        return m_model->Rows().Find(row.Key());
    m_model->Place();
    if (row.Index() < 1 || row.Index() > Count())
        return std::nullopt;
    return static_cast<uint32_t>(row.Index() - 1);
}

void CListView::SetRowIcon(const KeyOrIndex& row, int32_t icon)
{
    if (const std::optional<uint32_t> position = Position(row)) {
        m_model->Rows().At(*position).icon = static_cast<uint32_t>(icon);
        m_model->Changed(*position);
    }
}

void CListView::ApplySort()
{
    if (!m_sorted) {
        m_model->SetOrder(std::nullopt);
        return;
    }
    // Three stable sorts by the first, the secondary and the sort column
    // give this order: the sort column decides, then the secondary column,
    // then the first.
    RowOrder::Keys keys;
    for (const int32_t column : {m_sortColumn, m_secondColumn, 1}) {
        if (ValidColumn(column))
            keys.columns.push_back(column);
    }
    keys.descending = m_sortState == kDescending;
    m_model->SetOrder(keys);
}

void CListView::ShowArrow()
{
    QHeaderView* header = m_list->header();
    const bool shown = m_sorted && ValidColumn(m_sortColumn);
    header->setSortIndicator(shown ? m_sortColumn - 1 : -1,
                             m_sortState == kDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void CListView::ApplyOrder(const std::string& prefix)
{
    // Display positions by column; a stored set that is no arrangement of
    // the columns leaves them in their natural order.
    std::vector<int32_t> logicalAt(m_columns, -1);
    bool valid = true;
    for (int32_t column = 0; column < m_columns && valid; ++column) {
        const int32_t visual = ReadNumber(prefix + "Col" + std::to_string(column + 1), column);
        valid = visual >= 0 && visual < m_columns && logicalAt[visual] == -1;
        if (valid)
            logicalAt[visual] = column;
    }
    QHeaderView* header = m_list->header();
    for (int32_t visual = 0; visual < m_columns; ++visual) {
        const int32_t logical = valid ? logicalAt[visual] : visual;
        header->moveSection(header->visualIndex(logical), visual);
    }
}

}  // namespace velloran
