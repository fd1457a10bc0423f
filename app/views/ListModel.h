// ListModel: the Qt model of one report list over its compact rows
// (ListRows): texts decoded only for display, the row's icon from the shared
// image list, check boxes, and the row's colours once colouring is on. It
// keeps the rows in the list's order: sorted by a chain of columns or in
// the order they were added. Rows added wait, unseen by the view, until
// Place shows them all at once and, in a sorted list, puts them in their
// places in one sort; the owner calls it before the list is drawn or a row
// is addressed by its position. So filling a list costs the view one
// insertion and one sort, not one relayout per row.
#pragma once

#include "app/views/ListRows.h"
#include "app/views/RowOrder.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velloran {

class ListImages;

class ListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The row's state image (0 while check boxes show) and indentation.
    static constexpr int kStateImageRole = Qt::UserRole + 1;
    static constexpr int kIndentRole = Qt::UserRole + 2;

    ListModel(int32_t columns, const ListImages* images, QObject* parent = nullptr);

    const ListRows& Rows() const { return m_rows; }
    // A row changed through Rows() is announced with Changed.
    ListRows& Rows() { return m_rows; }
    void Changed(uint32_t position);
    // Changes every row and announces it.
    void ChangeAll(const std::function<void(ListRows::Row&)>& change);

    // False when another row has the key (see ListRows::Insert). The row
    // waits for Place; Waiting is emitted when the first one starts to.
    bool Append(std::string_view key, const std::vector<std::string>& texts);
    // A row without key at position (at most the row count) of an unsorted
    // list, which takes it into its insertion order there; a sorted list
    // takes it as an appended row.
    void Insert(uint32_t position, const std::vector<std::string>& texts);
    void Remove(uint32_t position);
    void Clear();

    // Sorts now and keeps the list sorted; nothing: the insertion order.
    void SetOrder(const std::optional<RowOrder::Keys>& keys);
    // Rows waiting are shown and, in a sorted list, go to their places.
    void Place();

    void SetCaptions(const std::vector<std::string>& captions);
    bool CheckBoxes() const { return m_checkBoxes; }
    // Turned on: every row shows an unchecked box (state image 1); turned
    // off: no row keeps a state image.
    void SetCheckBoxes(bool on);
    void EnableColouring();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void Waiting();

private:
    void Show();
    void Reorder(std::vector<uint32_t> order);
    QVariant Colour(uint32_t position, bool text) const;

    ListRows m_rows;
    const ListImages* m_images;
    std::vector<QString> m_captions;
    std::optional<RowOrder::Keys> m_keys;
    bool m_unsorted = false;  // rows were added to the sorted list
    uint32_t m_shown = 0;   // rows the view knows of: rowCount()
    bool m_checkBoxes = false;
    bool m_colouring = false;
};

}  // namespace velloran
