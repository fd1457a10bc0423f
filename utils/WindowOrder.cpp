// Foreground and always-on-top through Qt. The window system has the last
// word: a compositor with focus-stealing prevention may only mark the window
// as demanding attention.
#include "utils/WindowOrder.h"

#include "utils/WidgetApp.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace quorvantell::exports {

int32_t ForceForeground(void* window)
{
    QWidget* widget = WidgetFromHandle(window);
    if (widget == nullptr || !CanShowWindows())
        return 0;
    widget = widget->window();
    if (!widget->isVisible())
        return 0;
    if (QApplication::activeWindow() == widget)
        return 1;
    widget->raise();
    widget->activateWindow();
    return 1;
}

// Changing a shown widget's window flags re-creates (and hides) its native
// window; telling the existing native window keeps it where and as it is.
int32_t SetTopMost(void* window, int16_t topMost)
{
    QWidget* widget = WidgetFromHandle(window);
    if (widget == nullptr || !CanShowWindows())
        return 0;
    widget = widget->window();
    Qt::WindowFlags flags = widget->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topMost != 0);
    if (QWindow* native = widget->windowHandle()) {
        widget->overrideWindowFlags(flags);
        native->setFlags(flags);
    } else {
        widget->setWindowFlags(flags);
    }
    return 1;
}

}  // namespace quorvantell::exports
