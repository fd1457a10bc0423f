// velloran-gallery: shows every page of controls in one window, or with
// --out DIR writes each page as DIR/<page>.png (works on the offscreen
// platform: QT_QPA_PLATFORM=offscreen velloran-gallery --out DIR).
#include "tools/gallery/ControlPages.h"
#include "tools/gallery/DetailsWindowPages.h"
#include "tools/gallery/DialogPages.h"
#include "tools/gallery/GalleryPages.h"
#include "tools/gallery/MainWindowPages.h"
#include "tools/gallery/OptionsPages.h"
#include "tools/gallery/ViewPages.h"
#include "tools/gallery/WindowPages.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QScrollArea>
#include <QTabWidget>

#include <cstdio>
#include <memory>

using velloran::gallery::ControlPages;
using velloran::gallery::DetailsWindowPages;
using velloran::gallery::DialogPages;
using velloran::gallery::GalleryPage;
using velloran::gallery::GalleryPages;
using velloran::gallery::MainWindowPages;
using velloran::gallery::OptionsPages;
using velloran::gallery::ViewPages;
using velloran::gallery::WindowPages;

namespace {

// Every part of the program with pages adds them here.
GalleryPages AllPages()
{
    GalleryPages pages;
    ControlPages::AddTo(pages);
    ViewPages::AddTo(pages);
    DialogPages::AddTo(pages);
    MainWindowPages::AddTo(pages);
    WindowPages::AddTo(pages);
    DetailsWindowPages::AddTo(pages);
    OptionsPages::AddTo(pages);
    return pages;
}

bool WritePage(const GalleryPage& page, const QDir& out)
{
    std::unique_ptr<QWidget> widget(page.create());
    widget->setWindowTitle(page.title);
    widget->show();
    // A new window gets at most two thirds of the screen; a picture shows
    // the whole page.
    widget->resize(widget->size().expandedTo(widget->sizeHint()));
    GalleryPages::Settle(*widget);
    // The pictures show no keyboard focus unless a page asks for it.
    if (QWidget* focus = QApplication::focusWidget(); focus && widget->isAncestorOf(focus))
        focus->clearFocus();
    const QString path = out.filePath(page.name + QStringLiteral(".png"));
    if (!widget->grab().save(path)) {
        std::fprintf(stderr, "velloran-gallery: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

int WritePages(const std::vector<const GalleryPage*>& pages, const QString& dir)
{
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "velloran-gallery: cannot create %s\n", qPrintable(dir));
        return 1;
    }
    const QDir out(dir);
    int failures = 0;
    for (const GalleryPage* page : pages)
        failures += WritePage(*page, out) ? 0 : 1;
    return failures == 0 ? 0 : 1;
}

int ShowPages(const std::vector<const GalleryPage*>& pages)
{
    QTabWidget window;
    window.setWindowTitle(QStringLiteral("Velloran gallery"));
    for (const GalleryPage* page : pages) {
        auto* scroll = new QScrollArea;
        scroll->setWidget(page->create());
        window.addTab(scroll, page->title);
    }
    window.resize(900, 640);
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velloran-gallery"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Pictures of Velloran's controls in their states."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Write each page as DIR/<page>.png and quit."),
                                 QStringLiteral("DIR"));
    const QCommandLineOption only(QStringLiteral("page"), QStringLiteral("Only this page (may be repeated)."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption list(QStringLiteral("list"), QStringLiteral("List the page names and quit."));
    const QCommandLineOption folders(QStringLiteral("folders"),
                                     QStringLiteral("The main window pages show these two folders (LEFT:RIGHT) "
                                                    "instead of a sample of their own."),
                                     QStringLiteral("LEFT:RIGHT"));
    parser.addOptions({out, only, list, folders});
    parser.process(app);
    if (parser.isSet(folders)) {
        const QStringList both = parser.value(folders).split(QLatin1Char(':'));
        if (both.size() != 2) {
            std::fprintf(stderr, "velloran-gallery: --folders takes LEFT:RIGHT\n");
            return 2;
        }
        MainWindowPages::UseFolders(QFile::encodeName(both[0]).toStdString(), QFile::encodeName(both[1]).toStdString());
    }

    const GalleryPages pages = AllPages();
    if (parser.isSet(list)) {
        for (const GalleryPage& page : pages.Pages())
            std::printf("%s\t%s\n", qPrintable(page.name), qPrintable(page.title));
        return 0;
    }
    std::vector<const GalleryPage*> chosen;
    for (const QString& name : parser.values(only)) {
        const GalleryPage* page = pages.Find(name);
        if (!page) {
            std::fprintf(stderr, "velloran-gallery: no page named %s (see --list)\n", qPrintable(name));
            return 2;
        }
        chosen.push_back(page);
    }
    if (chosen.empty()) {
        for (const GalleryPage& page : pages.Pages())
            chosen.push_back(&page);
    }
    return parser.isSet(out) ? WritePages(chosen, parser.value(out)) : ShowPages(chosen);
}
