// ppgControl: the property page of a qvImageList's icon size (16, 24, 32,
// 48, 72 or a size of the user's own) and colour depth. Changes apply with
// OK or Apply, after the questions about images already in the list.
#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QSpinBox;

namespace quorvantell {

class qvImageList;

class ppgControl : public QDialog {
    Q_OBJECT

public:
    explicit ppgControl(qvImageList* list, QWidget* parent = nullptr);

    // Applies the page to the list; false when the user keeps it open (an
    // invalid size) - a change the user declines is simply left out.
    bool ApplyChanges();

    void accept() override;

private:
    static constexpr int kCustom = 0;  // the free size's button; the others carry their size

    void ShowList();
    bool ApplySize();
    void ApplyDepth();
    bool Confirmed(const QString& question);

    qvImageList* m_list;
    QButtonGroup* m_sizes;
    QSpinBox* m_width;
    QSpinBox* m_height;
    QComboBox* m_depth;
};

}  // namespace quorvantell
