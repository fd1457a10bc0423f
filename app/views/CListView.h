// CListView: a report-style file list - rows addressed by key or 1-based
// index, 1-based columns (1 is the row's text), column widths, order and
// sort state remembered under "Window" in the settings, a primary and a
// secondary sort column with an arrow in the header, per-row colours, state
// images, overlays, check boxes and file icons cached in a shared image
// list. It drives a QTreeView through a model of its own that keeps the
// rows compactly, so hundreds of thousands of rows cost little memory and
// appear at once.
//
// Columns sort by their text, except where a row carries a sort value for
// the column (sizes in bytes, times as raw file times): those sort by number.
#pragma once

#include <QObject>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QEvent;
class QPixmap;
class QTreeView;

namespace velloran {

class ListImages;
class ListModel;

// A row's two colours, 0x00BBGGRR.
struct CItemState {
    uint32_t ForeColor = 0;
    uint32_t BackColor = 0;
};

// A row's address: its key, or its 1-based index.
class KeyOrIndex {
public:
    KeyOrIndex(const std::string& key) : m_key(key) {}  // NOLINT: rows are named either way
    KeyOrIndex(const char* key) : m_key(key) {}         // NOLINT
    KeyOrIndex(int32_t index) : m_index(index) {}        // NOLINT
    bool IsKey() const { return m_index == 0; }
    const std::string& Key() const { return m_key; }
    int32_t Index() const { return m_index; }

private:
    std::string m_key;
    int32_t m_index = 0;
};

class CListView : public QObject {
    Q_OBJECT

public:
    explicit CListView(QObject* parent = nullptr);
    ~CListView() override;

    // Takes over the list: its model, header (drag to reorder, sort arrows,
    // hot tracking; a click on a column's header is ColumnClick), full-row
    // selection and hot-tracked rows. lstImg holds the icons by key and may
    // be shared by several lists.
    void Init(QTreeView* list, int32_t nCols, ListImages* lstImg);
    // The column captions of the header.
    void SetColumnCaptions(const std::vector<std::string>& captions);

    // Rows. A missing key or index fails the single operation (returns 0,
    // an empty text or nothing). Keys are unique; rows added without a key
    // are found by index only.
    //
    // AddItem fails (0) when another row has the key; otherwise it returns
    // the row's index. Rows added wait at the end, unseen by the view, until
    // the list is next drawn or a row is addressed by index: then they all
    // appear and, in a sorted list, take their sorted places in one sort. So
    // a sorted list's new row is at the index returned only until then: find
    // it by key. Filling costs the view one insertion and one sort when the
    // list is not drawn meanwhile: turn its updates off (or hide it) while
    // filling.
    int32_t AddItem(const std::string& key, const std::vector<std::string>& items);
    // At 1 .. Count() + 1 in an unsorted list; a sorted list sorts it in.
    int32_t AddItemByIndex(int32_t position, const std::vector<std::string>& items);
    // Changing a cell's text drops its sort value (set it again after), and
    // no row moves before the list is sorted again.
    void SetItem(const KeyOrIndex& row, const std::vector<std::string>& items);
    std::string Item(const KeyOrIndex& row, int32_t colIndex) const;
    void SetItemText(const KeyOrIndex& row, int32_t colIndex, const std::string& text);
    // The number that sorts the cell instead of its text; none by default
    // (INT64_MIN stands for none). Cells without one sort before those with
    // one.
    std::optional<int64_t> SortValue(const KeyOrIndex& row, int32_t colIndex) const;
    void SetSortValue(const KeyOrIndex& row, int32_t colIndex, int64_t value);
    // A row's tag ("D" marks a folder row in the details lists).
    std::string Tag(const KeyOrIndex& row) const;
    void SetTag(const KeyOrIndex& row, const std::string& tag);
    int32_t IndexOfKey(const std::string& key) const;
    std::string KeyOfIndex(int32_t index) const;
    // Nothing when no row has oldKey or another row has newKey. Row colours
    // are kept by key: the row takes those of its new key.
    void ReplaceKey(const std::string& oldKey, const std::string& newKey);
    // Removes the row; nothing when there is none.
    void RemoveItem(const KeyOrIndex& row);
    int32_t Count() const;
    void Clear();
    void PreAllocate(int32_t count);

    // Selection.
    int32_t SelectedItem() const;  // the focused selected row; 0 for none
    void SetSelectedItem(const KeyOrIndex& row);
    bool Selected(int32_t index) const;
    void SetSelectAll(bool selected);

    // Check boxes: state image 2 checked, 1 unchecked.
    bool CheckBoxes() const;
    void SetCheckBoxes(bool on);
    bool Checked(int32_t index) const;
    void SetChecked(int32_t index, bool checked);
    void CheckAll(bool checked);
    void InvertCheckboxes();

    // Pictures: the state image (0 none, 1..5, set ignored while check
    // boxes show), the icon key in the image list, an overlay drawn over
    // the icon (composite keys "OL" + overlay + "." + base key), the
    // indentation in icon widths, and the row's icon as a picture.
    int32_t StateImage(const KeyOrIndex& row) const;
    void SetStateImage(const KeyOrIndex& row, int32_t iconIdx);
    std::string Icon(const KeyOrIndex& row) const;
    void SetIcon(const KeyOrIndex& row, const std::string& iconName);
    std::string Overlay(const KeyOrIndex& row) const;
    void SetOverlay(const KeyOrIndex& row, const std::string& iconName);
    int32_t Indent(const KeyOrIndex& row) const;
    void SetIndent(const KeyOrIndex& row, int32_t indent);
    QPixmap ItemImage(int32_t index) const;
    // The icon of an existing file or folder, or of a name by its type; one
    // icon per type is looked up once (executables and icons by path).
    void SetFileIcon(const KeyOrIndex& row, const std::string& path);
    void SetFileIconByExt(const KeyOrIndex& row, const std::string& name);

    // Row colours, drawn once EnableItemColoring was called. They are kept
    // by key, also for keys no row has (yet or any more), until Clear.
    std::optional<CItemState> State(const std::string& key) const;
    void SetState(const std::string& key, const CItemState& state);
    void RemoveState(const std::string& key);
    void EnableItemColoring();

    // Sorting: ascending, descending, not sorted on repeated clicks of the
    // sort column's header; another column starts ascending.
    void ColumnClick(int32_t colIndex);
    bool Sorted() const;
    void SetSorted(bool sorted);
    int32_t secondSort() const;
    void SetSecondSort(int32_t column);

    // Widths, order and sort state under "Window": listName + "lv" + ...
    void ReadSettings(const std::string& listName, bool startSorted, const std::vector<int32_t>& defaultWidths);
    void SaveSettings(const std::string& listName) const;
    void Terminate();

    QTreeView* List() const { return m_list; }
    ListImages* Images() const { return m_images; }

protected:
    // Rows added to a sorted list take their places before it is drawn.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The row's 0-based position; nothing for a missing key or index.
    std::optional<uint32_t> Position(const KeyOrIndex& row) const;
    void SetRowIcon(const KeyOrIndex& row, int32_t icon);
    bool ValidColumn(int32_t column) const { return column >= 1 && column <= m_columns; }
    void ApplySort();
    void ShowArrow();
    void ApplyOrder(const std::string& prefix);

    QTreeView* m_list = nullptr;
    ListImages* m_images = nullptr;
    ListModel* m_model = nullptr;
    int32_t m_columns = 0;
    int32_t m_sortColumn = 0;     // 1-based; 0 for none
    int32_t m_sortState = 0;      // 0 ascending, 1 descending, 2 not sorted
    int32_t m_secondColumn = -1;  // 1-based; -1 for none
    bool m_sorted = false;
};

}  // namespace velloran
