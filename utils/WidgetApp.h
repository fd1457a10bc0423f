// What the window and dialog exports need before they touch a widget: a
// widget application whose thread is the calling one.
#pragma once

class QWidget;

namespace quorvantell::exports {

// True when a QApplication exists and this is its thread.
bool CanShowWindows();

// A window handle of the C interface.
inline QWidget* WidgetFromHandle(void* handle)
{
    return static_cast<QWidget*>(handle);
}

}  // namespace quorvantell::exports
