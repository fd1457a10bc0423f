// CControls: tweaks of combo boxes and edit boxes by window handle (the
// QComboBox or QLineEdit itself). A handle of another kind is ignored.
#pragma once

#include "classlib/ClassLibObject.h"

#include <cstdint>

class QWidget;

namespace quorvantell {

class CControls : public ClassLibObject {
public:
    // Opens the combo box's list unless it is open already.
    void ComboDropDown(QWidget* hWnd) const;
    // The combo box's edit box; null when it has none.
    QWidget* ComboGetEditHWnd(QWidget* hWnd) const;
    // 0 (or less) lifts the limit back to the edit box's default.
    void ComboSetMaxLength(QWidget* hWnd, int32_t maxLength) const;
    // The least width of the opened list, in twips.
    void ComboSetWidth(QWidget* hWnd, int32_t width) const;
    // Edit boxes (a QLineEdit, or an editable combo box's edit box).
    void TextSetLowerOnly(QWidget* hWnd) const;
    void TextSetNumberOnly(QWidget* hWnd) const;
    void TextSetUpperOnly(QWidget* hWnd) const;
};

}  // namespace quorvantell
