// The widget-application check of the window and dialog exports.
#include "utils/WidgetApp.h"

#include <QApplication>
#include <QThread>

namespace quorvantell::exports {

bool CanShowWindows()
{
    const auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace quorvantell::exports
