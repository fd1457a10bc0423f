// CMenu: menu handles (QMenu) by position, and radio-check items.
#pragma once

#include "classlib/ClassLibObject.h"

#include <cstdint>
#include <string>

class QMenu;
class QWidget;

namespace quorvantell {

class CMenu : public ClassLibObject {
public:
    // The item at position Y (0-based, separators counted) gets the caption
    // and is drawn with a bullet instead of a tick when checked.
    void SetRadioMenuChecks(QMenu* hMenu, const std::string& mnuCaption, int32_t Y) const;
    // The sub-menu at position X of the window's menu bar; null when none.
    QMenu* GetMenuHWnd(QWidget* hWndOwner, int32_t X) const;
    // The sub-menu at position X of a menu; null when none.
    QMenu* GetSubMenuHWnd(QMenu* hWndOwner, int32_t X) const;
};

}  // namespace quorvantell
