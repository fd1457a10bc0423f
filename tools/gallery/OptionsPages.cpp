// The options pages: the dialog over a main window of its own that is never
// shown, its page chosen in the category tree, then pictured, so dialog and
// main window go at once.
#include "tools/gallery/OptionsPages.h"

#include "app/shell/frmMain.h"
#include "app/views/CTreeView.h"
#include "app/windows/frmOptions.h"

#include <QLabel>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace velloran::gallery {

namespace {

// The picture's name after "options-", and the key of the page's node.
struct OptionsPicture {
    const char* name;
    const char* key;
};
constexpr OptionsPicture kPictures[] = {
    {"appearance", "0A"}, {"colors", "1A"}, {"fonts", "2A"},   {"behaviour", "3A"},
    {"window", "4A"},     {"time", "10A"},  {"filter", "9A"},  {"ftp", "8A"},
    {"setup", "5A"},      {"advanced", "6A"}, {"environment", "7A"},
};

QWidget* Picture(const char* key)
{
    frmMain owner;
    frmOptions dialog(owner);
    QTreeWidget* tree = dialog.tvwOptions();
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        if (CTreeView::KeyOf(*it) == key)
            tree->setCurrentItem(*it);
    }
    dialog.show();
    GalleryPages::Settle(dialog);
    auto* label = new QLabel;
    label->setPixmap(dialog.grab());
    return label;
}

}  // namespace

void OptionsPages::AddTo(GalleryPages& pages)
{
    for (const OptionsPicture& picture : kPictures) {
        pages.Add(QStringLiteral("options-") + QString::fromLatin1(picture.name),
                  QStringLiteral("Options: ") + QString::fromLatin1(picture.name),
                  [key = picture.key] { return Picture(key); });
    }
}

}  // namespace velloran::gallery
