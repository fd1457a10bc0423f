// The details window is opened and filled as the main window's view buttons
// do it, over a main window of its own that is never shown, then pictured:
// the program keeps one details window at a time, so each page is a picture
// and the window, its main window and the sample trees go at once.
#include "tools/gallery/DetailsWindowPages.h"

#include "app/engine/CSync.h"
#include "app/shell/frmMain.h"
#include "app/shell/frmSync.h"
#include "app/views/CListView.h"
#include "app/windows/frmDetails.h"
#include "controls/Splitter.h"
#include "controls/Twips.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace velloran::gallery {

namespace {

using quorvantell::Twips;

// 14 March 2026, 10:30 UTC; the sample's times are offsets from it, so the
// pictures are the same on every run.
constexpr int64_t kTime = 1773484200;
constexpr int64_t kHour = 3600, kDay = 24 * kHour;
// The window's size in twips: room for both lists' three columns and all rows.
constexpr int32_t kWidth = 11400, kHeight = 5100;

// A pair of the sample: its size on each side (-1: not there) and its time
// on each side as an offset from kTime.
struct SamplePair {
    const char* path;
    int64_t size[2];
    int64_t age[2];
};

// Every kind of pair: left newer, right newer, the same time with another
// size, the same, only on the left, only on the right in folders only the
// right has.
constexpr SamplePair kPairs[] = {
    {"Letters/bank.odt", {5240, 5180}, {2 * kHour, 0}},
    {"Letters/insurance.pdf", {48310, 51200}, {-3 * kDay, 0}},
    {"Letters/tax-2025.ods", {17836, 17420}, {0, 0}},
    {"Letters/notes.txt", {2150, 2150}, {-kDay, -kDay}},
    {"Photos/beach.jpg", {2411520, -1}, {-40 * kDay, 0}},
    {"Photos/harbour.jpg", {1873920, -1}, {-40 * kDay, 0}},
    {"Archive/2024/summary.txt", {-1, 3310}, {0, -300 * kDay}},
    {"readme.md", {1450, 1450}, {-90 * kDay, -90 * kDay}},
};

// A file of that size (its bytes are zeros, left sparse) and time.
void WriteFile(const std::string& path, int64_t size, int64_t seconds)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary).flush();
    std::filesystem::resize_file(path, static_cast<uintmax_t>(size));
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// The row whose file column reads `name`; 0 for none.
int32_t Row(CListView& rows, const std::string& name)
{
    for (int32_t i = 1; i <= rows.Count(); ++i) {
        if (rows.Item(i, 1) == name)
            return i;
    }
    return 0;
}

QLabel* Picture(QWidget& window)
{
    GalleryPages::Settle(window);
    // Like every page, no keyboard focus shows.
    if (QWidget* focus = QApplication::focusWidget(); focus && window.isAncestorOf(focus))
        focus->clearFocus();
    auto* label = new QLabel;
    label->setPixmap(window.grab());
    return label;
}

// The main window the details window belongs to, and the two sample trees
// it compares, removed with it.
class SampleOwner : public frmMain {
public:
    SampleOwner()
    {
        for (const SamplePair& pair : kPairs) {
            for (int side = 0; side < 2; ++side) {
                if (pair.size[side] >= 0)
                    WriteFile(Tree(side) + "/" + pair.path, pair.size[side], kTime + pair.age[side]);
            }
        }
        for (int side = 0; side < 2; ++side)
            SetSelectedFolder(side, Tree(side));
    }

    ~SampleOwner() override
    {
        // The window reads the engine, which goes with the main window.
        delete frmDetails::Instance();
    }

    // The details window shown and filled as the view buttons do it, the
    // splitter in the middle.
    frmDetails& View(bool diffOnly)
    {
        Sync().checkFoldersValid();
        frmDetails& details = frmDetails::Open(this, Sync());
        details.Init(diffOnly, false);
        details.resize(Twips::ToPixels(kWidth, kHeight, &details));
        details.show();
        DoEvents();
        Sync().PopulateList(details, diffOnly);
        auto* split = details.findChild<quorvantell::Splitter*>();
        const auto extent = static_cast<int32_t>(Twips::FromPixelsX(split->width(), split));
        split->SetPosition((extent - split->SplitterWidth()) / 2);
        return details;
    }

private:
    std::string Tree(int side) const
    {
        const QString path = QDir(m_sample.path()).filePath(side == 0 ? "Home/Documents" : "Backup/Documents");
        return QFile::encodeName(path).toStdString();
    }

    QTemporaryDir m_sample;
};

}  // namespace

void DetailsWindowPages::AddTo(GalleryPages& pages)
{
    pages.Add(QStringLiteral("details-differences"), QStringLiteral("File details: differences"),
              &DetailsWindowPages::Differences);
    pages.Add(QStringLiteral("details-all"), QStringLiteral("File details: all files"), &DetailsWindowPages::AllFiles);
    pages.Add(QStringLiteral("sync-dialog"), QStringLiteral("Sync dialog"), &DetailsWindowPages::SyncDialog);
}

QWidget* DetailsWindowPages::Differences()
{
    SampleOwner owner;
    return Picture(owner.View(true));
}

QWidget* DetailsWindowPages::AllFiles()
{
    SampleOwner owner;
    return Picture(owner.View(false));
}

// The dialog over the left-newer pair, as "&Sync selected file(s)..."
// fills it; shown, not run modally.
QWidget* DetailsWindowPages::SyncDialog()
{
    SampleOwner owner;
    frmDetails& details = owner.View(true);
    frmSync dialog(details);
    dialog.FillForm(0, Row(details.lvw(0), "Letters/bank.odt"));
    dialog.show();
    return Picture(dialog);
}

}  // namespace velloran::gallery
