// The main window pages: the real window, loaded as at start-up, over sample
// folders made for the page and removed with it.
#include "tools/gallery/MainWindowPages.h"

#include "app/engine/ISyncHost.h"
#include "app/shell/frmMain.h"
#include "app/views/FolderTreeview.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QTreeView>

namespace velloran::gallery {

namespace {

constexpr int kTreeWaitMs = 3000;

// Folders given on the command line; empty: the page's own sample.
std::string g_folders[2];

class MainWindowPage : public frmMain {
public:
    explicit MainWindowPage(bool ftp)
    {
        const QDir root(m_sample.path());
        for (const char* folder : {"Documents/letters", "Documents/reports/2026", "Photos/holiday", "Music",
                                   "Backup/Documents/letters", "Backup/Photos"})
            root.mkpath(QString::fromLatin1(folder));
        Load();
        SetSelectedFolder(0, g_folders[0].empty() ? Path("Documents") : g_folders[0]);
        SetSelectedFolder(1, g_folders[1].empty() ? Path("Backup/Documents") : g_folders[1]);
        WaitForTrees();
        if (ftp) {
            FtpSiteFields site;
            site.Server = "ftp.example.org";
            site.Username = "alice";
            site.Passwd = "password";
            site.FTPDirs = {"/www/", "/pub/"};
            site.Pasv = 1;
            SetFtpSite(site);
            mnu(1)->actions().at(2)->trigger();  // Tools > FTP mode
        }
    }

private:
    // The trees read their folders in the background; the picture shows
    // them once the branches down to the selected folders are there.
    void WaitForTrees()
    {
        const QDeadlineTimer deadline(kTreeWaitMs);
        const auto read = [](FolderTreeview* tree) {
            const QModelIndex current = tree->TreeHWnd()->currentIndex();
            return current.isValid() && !tree->TreeHWnd()->model()->canFetchMore(current.parent());
        };
        while (!(read(ftv(0)) && read(ftv(1))) && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    std::string Path(const char* relative) const
    {
        return QFile::encodeName(QDir(m_sample.path()).filePath(QString::fromLatin1(relative))).toStdString();
    }

    QTemporaryDir m_sample;
};

}  // namespace

void MainWindowPages::UseFolders(const std::string& left, const std::string& right)
{
    g_folders[0] = left;
    g_folders[1] = right;
}

void MainWindowPages::AddTo(GalleryPages& pages)
{
    pages.Add(QStringLiteral("main-local"), QStringLiteral("Main window"), [] { return new MainWindowPage(false); });
    pages.Add(QStringLiteral("main-ftp"), QStringLiteral("Main window in FTP mode"),
              [] { return new MainWindowPage(true); });
}

}  // namespace velloran::gallery
