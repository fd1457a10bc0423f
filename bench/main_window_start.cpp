// main_window_start: what the program does at a first start, up to the main
// window shown with both folder trees filled at their selected folders;
// prints the seconds since the process began (library loading included).
// With --stall FOLDER it then selects and opens FOLDER in the left tree and
// prints the longest pause of the event loop in the next three seconds,
// while the tree reads it.
// usage: main_window_start LEFT RIGHT [--stall FOLDER]
#include "app/shell/frmMain.h"
#include "app/views/FolderTreeview.h"
#include "classlib/general/ClassLibrary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeView>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr int kStallWindowMs = 3000;

// Seconds since this process began, from the kernel's start time.
double SinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string field;
    for (int i = 1; i <= 22 && stat >> field; ++i) {
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double started = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - started;
}

// Whether the tree shows its selected folder's branch read.
bool Filled(velloran::FolderTreeview* tree)
{
    const QModelIndex current = tree->TreeHWnd()->currentIndex();
    return current.isValid() && !tree->TreeHWnd()->model()->canFetchMore(current.parent());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 5)
        return 2;
    QApplication app(argc, argv);
    quorvantell::ClassLibrary::Shared();
    velloran::frmMain window;
    window.Load();
    window.SetSelectedFolder(0, argv[1]);
    window.SetSelectedFolder(1, argv[2]);
    window.show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!Filled(window.ftv(0)) || !Filled(window.ftv(1)))
            return;
        poll.stop();
        std::printf("%.3f\n", SinceProcessStart());
        if (argc == 3) {
            app.quit();
            return;
        }
        // The longest gap between two turns of the event loop while the
        // left tree reads a folder of many entries, opened.
        auto* ticks = new QTimer(&app);
        auto* clock = new QElapsedTimer;
        clock->start();
        auto* worst = new double(0);
        QObject::connect(ticks, &QTimer::timeout, [clock, worst] {
            *worst = std::max(*worst, static_cast<double>(clock->restart()) / 1000.0);
        });
        // Measured over a few seconds, well past the moment the folder's
        // rows are in.
        QTimer::singleShot(kStallWindowMs, &app, [&app, ticks, worst] {
            ticks->stop();
            std::printf("%.3f\n", *worst);
            app.quit();
        });
        ticks->start(0);
        window.SetSelectedFolder(0, argv[4]);
        window.ftv(0)->TreeHWnd()->expand(window.ftv(0)->TreeHWnd()->currentIndex());
    });
    poll.start(0);
    return app.exec();
}
