// The error log is opened the way the main window opens it, over a main
// window of its own that goes when the page goes.
#include "tools/gallery/WindowPages.h"

#include "app/shell/frmAbout.h"
#include "app/shell/frmMain.h"
#include "app/windows/frmLog.h"

namespace velloran::gallery {

namespace {

// Lines as a copy with trouble leaves them.
constexpr const char* kErrors =
    "Error writing file /home/anna/Backup/Work/reports/2026/q1-figures.ods\r\n"
    "Warning: Target /home/anna/Backup/Work/letters/bank.odtis newer than the source file.\r\n"
    "Warning: The file \"photos/holiday/beach.jpg\" has the same file change date on each side but different "
    "sizes!\r\n"
    "Error deleting file /home/anna/Backup/Work/old/draft.txt\r\n";

}  // namespace

void WindowPages::AddTo(GalleryPages& pages)
{
    pages.Add(QStringLiteral("error-log"), QStringLiteral("Error log"), &WindowPages::ErrorLog);
    pages.Add(QStringLiteral("about"), QStringLiteral("About"), &WindowPages::About);
}

QWidget* WindowPages::ErrorLog()
{
    auto* owner = new frmMain;
    frmLog::ShowErrors(owner, owner->Sync(), kErrors);
    frmLog* log = frmLog::Instance();
    QObject::connect(log, &QObject::destroyed, owner, &QObject::deleteLater);
    return log;
}

QWidget* WindowPages::About()
{
    return new frmAbout(nullptr);
}

}  // namespace velloran::gallery
