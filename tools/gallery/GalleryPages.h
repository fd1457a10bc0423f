// GalleryPages: the gallery's pages in showing order, each a name (also the
// PNG file name), a title and a factory that builds the page's widget.
// Pages of other parts of the program register themselves the same way.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace velloran::gallery {

struct GalleryPage {
    QString name;
    QString title;
    std::function<QWidget*()> create;
};

class GalleryPages {
public:
    void Add(const QString& name, const QString& title, std::function<QWidget*()> create);
    const std::vector<GalleryPage>& Pages() const;
    // The page of that name, or null.
    const GalleryPage* Find(const QString& name) const;
    // Waits until the shown widget's window is on screen and its posted
    // layout work is done, so a picture of it shows what a person would see.
    static void Settle(QWidget& widget);

private:
    std::vector<GalleryPage> m_pages;
};

}  // namespace velloran::gallery
