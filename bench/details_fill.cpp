// details_fill: the file details window's all-files view of two trees, as
// the main window's "&View files..." opens it (offscreen): the real window
// over the real engine, PopulateList scanning, comparing and filling both
// lists. Measured from the end of the comparison - the moment the status
// line first reads "Populating window...", seen by a timer that looks at it
// on every turn of the event loop - until both lists are filled and drawn.
// Prints "fill_seconds fill_cpu_seconds rss_bytes_per_row heap_bytes_per_row
// scan_seconds": the window thread's processor time of the filling (what the
// wall time comes to on an idle machine), the resident memory and the heap
// in use (main arena and mapped blocks) the filling added, per row of both
// lists, so the engine's lists, complete by then, are not counted; and the
// scan and comparison before. Then "column seconds cpu_seconds" for a click
// on the left list's header of Size, Modified and File (in that order: it
// starts sorted by File), each sorting its rows and drawing the list.
// usage: details_fill LEFT RIGHT
#include "app/engine/CSync.h"
#include "app/shell/frmMain.h"
#include "app/views/CListView.h"
#include "app/windows/frmDetails.h"
#include "classlib/general/ClassLibrary.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QTreeView>

#include <malloc.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace {

constexpr int kSettleMs = 500;

struct Memory {
    long resident = 0;  // bytes
    size_t heap = 0;    // bytes in use
};

Memory MemoryNow()
{
    Memory memory;
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages >> memory.resident;
    memory.resident *= sysconf(_SC_PAGESIZE);
    const struct mallinfo2 heap = mallinfo2();
    memory.heap = heap.uordblks + heap.hblkhd;
    return memory;
}

// Wall and processor time of this thread since Start.
class Clock {
public:
    void Start()
    {
        m_wall.start();
        m_cpu = Cpu();
    }
    double Wall() const { return static_cast<double>(m_wall.nsecsElapsed()) / 1e9; }
    double Processor() const { return Cpu() - m_cpu; }

private:
    static double Cpu()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    }

    QElapsedTimer m_wall;
    double m_cpu = 0;
};

// The trees of the main window read their branches in the background; the
// measurement starts once they are done.
void Settle()
{
    const QDeadlineTimer deadline(kSettleMs);
    while (!deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s LEFT RIGHT\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    quorvantell::ClassLibrary::Shared();
    velloran::frmMain owner;
    velloran::CSync& sync = owner.Sync();
    owner.SetSelectedFolder(0, argv[1]);
    owner.SetSelectedFolder(1, argv[2]);
    Settle();
    if (!sync.checkFoldersValid())
        return 1;

    // What "&View files..." does.
    velloran::frmDetails& details = velloran::frmDetails::Open(&owner, sync);
    details.Init(false, false);
    details.show();
    owner.DoEvents();

    Clock clock;
    double scanned = 0;
    Memory before;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (details.lbl(2)->text() != QStringLiteral("Populating window..."))
            return;
        watch.stop();
        scanned = clock.Wall();
        before = MemoryNow();
        clock.Start();
    });
    watch.start(0);
    clock.Start();
    sync.PopulateList(details, false);
    if (watch.isActive()) {
        std::fprintf(stderr, "details_fill: the lists were never filled\n");
        return 1;
    }
    details.repaint();
    QApplication::processEvents();
    const double filled = clock.Wall(), filledCpu = clock.Processor();
    const Memory after = MemoryNow();
    const double rows = details.lvw(0).Count() + details.lvw(1).Count();
    std::printf("%.3f %.3f %.0f %.0f %.3f\n", filled, filledCpu,
                static_cast<double>(after.resident - before.resident) / rows,
                (static_cast<double>(after.heap) - static_cast<double>(before.heap)) / rows, scanned);

    velloran::CListView& left = details.lvw(0);
    for (const int32_t column : {2, 3, 1}) {
        clock.Start();
        left.ColumnClick(column);
        left.List()->repaint();
        std::printf("%d %.3f %.3f\n", column, clock.Wall(), clock.Processor());
    }
    std::fflush(stdout);
    details.close();
    return 0;
}
