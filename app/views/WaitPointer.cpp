// The wait pointer as an override cursor. Only the user-interface thread
// may touch it; the hook keeps track of the one override it set, so other
// override cursors are left alone.
#include "app/views/WaitPointer.h"

#include "classlib/misc/CWaitCursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QThread>

namespace velloran {

namespace {

bool g_shown = false;

void ShowPointer(int32_t pointer)
{
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr || QThread::currentThread() != app->thread())
        return;
    const bool hourglass = pointer == quorvantell::CWaitCursor::kHourglassPointer;
    if (hourglass && !g_shown)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else if (!hourglass && g_shown)
        QGuiApplication::restoreOverrideCursor();
    g_shown = hourglass;
}

}  // namespace

void InstallWaitPointer()
{
    quorvantell::CWaitCursor::SetPointerHook(&ShowPointer);
}

}  // namespace velloran
