// The ordered list of gallery pages.
#include "tools/gallery/GalleryPages.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QWindow>

#include <stdexcept>

namespace velloran::gallery {

namespace {

constexpr int kSettleMs = 2000;

}  // namespace

void GalleryPages::Add(const QString& name, const QString& title, std::function<QWidget*()> create)
{
    if (Find(name))
        throw std::logic_error("two gallery pages named " + name.toStdString());
    m_pages.push_back({name, title, std::move(create)});
}

const std::vector<GalleryPage>& GalleryPages::Pages() const
{
    return m_pages;
}

const GalleryPage* GalleryPages::Find(const QString& name) const
{
    for (const GalleryPage& page : m_pages) {
        if (page.name == name)
            return &page;
    }
    return nullptr;
}

void GalleryPages::Settle(QWidget& widget)
{
    const QDeadlineTimer deadline(kSettleMs);
    while (!(widget.windowHandle() && widget.windowHandle()->isExposed()) && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    // Posted layout requests and timers of the page itself.
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

}  // namespace velloran::gallery
