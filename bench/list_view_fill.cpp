// list_view_fill: fills the two lists of a details-like window (offscreen)
// with every file of two trees, as the engine fills the all-files view -
// the lists covered, three texts per row, size and time as sort values, the
// file's icon, a state image on some rows, a turn of the event loop every
// 15 rows - and shows them sorted by name with the first row selected.
// Prints "fill_seconds bytes_per_row" and then "column seconds" for a click
// on each column's header (Size, Modified, File) sorting the left list and
// drawing it.
// usage: list_view_fill LEFT RIGHT
#include "app/views/CListView.h"
#include "app/views/ListImages.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QTest>
#include <QTreeView>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct File {
    std::string path;  // relative to the tree
    int64_t size = 0;
    int64_t time = 0;  // seconds since 1970
};

std::vector<File> Files(const std::string& root)
{
    std::vector<File> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        const auto modified = std::filesystem::last_write_time(entry).time_since_epoch();
        files.push_back({entry.path().lexically_relative(root).string(), static_cast<int64_t>(entry.file_size()),
                         std::chrono::duration_cast<std::chrono::seconds>(modified).count()});
    }
    const quorvantell::CGeneral& general = *quorvantell::ClassLibrary::Shared().General;
    std::sort(files.begin(), files.end(),
              [&general](const File& a, const File& b) { return general.CompareStr(a.path, b.path, false) < 0; });
    return files;
}

long ResidentBytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

std::string DateText(int64_t seconds)
{
    const time_t time = static_cast<time_t>(seconds);
    tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

void Fill(velloran::CListView& list, const std::string& root, const std::vector<File>& files)
{
    const quorvantell::CGeneral& general = *quorvantell::ClassLibrary::Shared().General;
    list.Clear();
    list.PreAllocate(static_cast<int32_t>(files.size()));
    for (size_t i = 0; i < files.size(); ++i) {
        const File& file = files[i];
        const std::string key = "F" + std::to_string(i);
        list.AddItem(key, {file.path, general.ConvertBytes(static_cast<double>(file.size)), DateText(file.time)});
        list.SetSortValue(key, 2, file.size);
        list.SetSortValue(key, 3, file.time);
        list.SetFileIcon(key, root + "/" + file.path);
        if (i % 10 == 0)
            list.SetStateImage(key, 3);
        if (i % 15 == 0)
            QCoreApplication::processEvents();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s LEFT RIGHT\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    velloran::ListImages images;
    QTreeView views[2];
    velloran::CListView lists[2];
    for (int side = 0; side < 2; ++side) {
        layout->addWidget(&views[side]);
        lists[side].Init(&views[side], 3, &images);
        lists[side].SetColumnCaptions({"File", "Size", "Modified"});
        lists[side].ReadSettings("Details" + std::to_string(side), true, {180, 60, 110});
        lists[side].EnableItemColoring();
    }
    window.resize(1000, 700);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    const std::vector<File> files[2] = {Files(argv[1]), Files(argv[2])};
    const long before = ResidentBytes();

    QElapsedTimer clock;
    clock.start();
    for (int side = 0; side < 2; ++side) {
        views[side].setUpdatesEnabled(false);  // the window's cover
        Fill(lists[side], argv[1 + side], files[side]);
    }
    for (int side = 0; side < 2; ++side) {
        views[side].setUpdatesEnabled(true);
        lists[side].SetSelectedItem(1);
    }
    window.repaint();
    QCoreApplication::processEvents();
    const double filled = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const double rows = static_cast<double>(files[0].size() + files[1].size());
    std::printf("%.3f %.0f\n", filled, static_cast<double>(ResidentBytes() - before) / rows);

    // Name last: the list is sorted by it already.
    for (const int32_t column : {2, 3, 1}) {
        clock.restart();
        lists[0].ColumnClick(column);
        views[0].repaint();
        std::printf("%d %.3f\n", column, static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    return 0;
}
