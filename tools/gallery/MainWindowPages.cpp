// The main window pages: the real window, loaded as at start-up, over sample
// folders made for the page and removed with it.
#include "tools/gallery/MainWindowPages.h"

#include "app/engine/ISyncHost.h"
#include "app/shell/frmMain.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>

namespace velloran::gallery {

namespace {

class MainWindowPage : public frmMain {
public:
    explicit MainWindowPage(bool ftp)
    {
        const QDir root(m_sample.path());
        for (const char* folder : {"Documents/letters", "Documents/reports/2026", "Photos/holiday", "Music",
                                   "Backup/Documents/letters", "Backup/Photos"})
            root.mkpath(QString::fromLatin1(folder));
        Load();
        SetSelectedFolder(0, Path("Documents"));
        SetSelectedFolder(1, Path("Backup/Documents"));
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
    std::string Path(const char* relative) const
    {
        return QFile::encodeName(QDir(m_sample.path()).filePath(QString::fromLatin1(relative))).toStdString();
    }

    QTemporaryDir m_sample;
};

}  // namespace

void MainWindowPages::AddTo(GalleryPages& pages)
{
    pages.Add(QStringLiteral("main-local"), QStringLiteral("Main window"), [] { return new MainWindowPage(false); });
    pages.Add(QStringLiteral("main-ftp"), QStringLiteral("Main window in FTP mode"),
              [] { return new MainWindowPage(true); });
}

}  // namespace velloran::gallery
