// The folder tree page: two trees over a small sample folder (made for the
// page and removed with it), one in the system's colours, one in dark
// program colours, each with a folder selected.
#include "tools/gallery/ViewPages.h"

#include "app/views/CFolderTreeView.h"
#include "app/views/FolderModel.h"
#include "app/views/FolderTreeview.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeView>

#include <memory>

namespace velloran::gallery {

namespace {

constexpr uint32_t kNavy = 0x00402000;   // 0x00BBGGRR
constexpr uint32_t kCream = 0x00C0F0FF;

class FolderTreePage : public QWidget {
public:
    FolderTreePage()
    {
        const QDir root(m_sample.path());
        for (const char* folder : {"Projects/velloran/src", "Projects/velloran/docs", "Projects/website",
                                   "Photos/2026", "Music", ".config"})
            root.mkpath(QString::fromLatin1(folder));
        auto* grid = new QGridLayout(this);
        grid->setContentsMargins(12, 12, 12, 12);
        grid->addWidget(new QLabel(QStringLiteral("System colours")), 0, 0);
        grid->addWidget(new QLabel(QStringLiteral("Program colours")), 0, 1);
        grid->addWidget(Tree("Projects/velloran/src", 0, 0), 1, 0);
        grid->addWidget(Tree("Photos/2026", kNavy, kCream), 1, 1);
    }

private:
    // A tree with the folder selected; colours of 0 keep the system's.
    QWidget* Tree(const char* selected, uint32_t back, uint32_t fore)
    {
        auto* tree = new FolderTreeview;
        tree->setFixedSize(300, 320);
        if (back != 0) {
            CFolderTreeView colours;
            colours.Init(tree);
            colours.SetBackColor(back);
            colours.SetForeColor(fore);
        }
        const QString path = m_sample.filePath(QString::fromLatin1(selected));
        tree->SetPath(QFile::encodeName(path).toStdString());
        // The picture starts at the sample folder rather than at "/".
        auto* model = static_cast<FolderModel*>(tree->TreeHWnd()->model());
        tree->TreeHWnd()->setRootIndex(model->index(QFile::encodeName(m_sample.path())));
        WaitForFolders(model, QFileInfo(path).absolutePath());
        return tree;
    }

    // The model reads folders in the background; the picture should show them.
    static void WaitForFolders(FolderModel* model, const QString& folder)
    {
        const QModelIndex index = model->index(QFile::encodeName(folder));
        const int expected = static_cast<int>(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).size());
        const QDeadlineTimer deadline(3000);
        while (model->rowCount(index) < expected && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    QTemporaryDir m_sample;
};

}  // namespace

void ViewPages::AddTo(GalleryPages& pages)
{
    pages.Add(QStringLiteral("folder-tree"), QStringLiteral("Folder tree"), &ViewPages::FolderTrees);
}

QWidget* ViewPages::FolderTrees()
{
    return new FolderTreePage;
}

}  // namespace velloran::gallery
