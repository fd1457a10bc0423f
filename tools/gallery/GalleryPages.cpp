// The ordered list of gallery pages.
#include "tools/gallery/GalleryPages.h"

#include <stdexcept>

namespace velloran::gallery {

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

}  // namespace velloran::gallery
