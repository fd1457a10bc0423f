// Hot keys as the user would have typed them, and an image list filled with
// the style's own icons, each page built live.
#include "tools/gallery/HotKeyImageListPages.h"

#include "controls/HotKey.h"
#include "controls/ppgControl.h"
#include "controls/ppgImages.h"
#include "controls/qvImageList.h"
#include "tools/gallery/ControlPages.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QStyle>

namespace velloran::gallery {

using quorvantell::HotKey;
using quorvantell::qvImageList;

namespace {

constexpr QStyle::StandardPixmap kIcons[] = {QStyle::SP_DirIcon, QStyle::SP_FileIcon, QStyle::SP_TrashIcon,
                                             QStyle::SP_DialogSaveButton, QStyle::SP_BrowserReload,
                                             QStyle::SP_MessageBoxWarning};

// A list of the style's icons at 32 x 32 and 32 bits, keyed by number.
qvImageList* SampleList(QWidget* owner)
{
    auto* list = new qvImageList(owner);
    list->SetIconSizeX(32);
    list->SetIconSizeY(32);
    list->SetColourDepth(qvImageList::ILC_COLOR32);
    int key = 0;
    for (QStyle::StandardPixmap icon : kIcons) {
        const QImage picture = QApplication::style()->standardIcon(icon).pixmap(32, 32).toImage();
        list->AddFromHandle(picture, qvImageList::IMAGE_ICON, QStringLiteral("icon%1").arg(++key));
    }
    return list;
}

}  // namespace

void HotKeyImageListPages::AddTo(GalleryPages& pages)
{
    pages.Add(QStringLiteral("hotkey"), QStringLiteral("Hot key"), &HotKeyImageListPages::HotKeys);
    pages.Add(QStringLiteral("image-list"), QStringLiteral("Image list"), &HotKeyImageListPages::ImageList);
    pages.Add(QStringLiteral("image-list-control-page"), QStringLiteral("Image list: control page"),
              &HotKeyImageListPages::ControlPage);
    pages.Add(QStringLiteral("image-list-images-page"), QStringLiteral("Image list: images page"),
              &HotKeyImageListPages::ImagesPage);
}

QWidget* HotKeyImageListPages::HotKeys()
{
    struct Sample {
        const char* label;
        uint8_t key;
        HotKey::echkModifierKeys modifiers;
        bool enabled;
    };
    const Sample samples[] = {
        {"Nothing chosen", 0, HotKey::HOTKEYF_NONE, true},
        {"Ctrl+Alt+V", 'V', HotKey::HOTKEYF_CONTROLALT, true},
        {"Shift+F5", 0x74, HotKey::HOTKEYF_SHIFT, true},
        {"Ctrl+Home (extended key)", 0x24, HotKey::echkModifierKeys(HotKey::HOTKEYF_CONTROL | HotKey::HOTKEYF_EXT), true},
        {"Disabled", 'Q', HotKey::HOTKEYF_SHIFTCONTROLALT, false},
    };
    auto* grid = new QGridLayout;
    int row = 0;
    for (const Sample& sample : samples) {
        auto* field = new HotKey;
        field->SetHotKey(sample.key);
        field->SetHotKeyModifier(sample.modifiers);
        field->SetEnabled(sample.enabled);
        field->setFixedWidth(200);
        grid->addWidget(new QLabel(QString::fromLatin1(sample.label)), row, 0);
        grid->addWidget(field, row++, 1);
    }
    return ControlPages::Page(grid);
}

QWidget* HotKeyImageListPages::ImageList()
{
    auto* grid = new QGridLayout;
    QWidget* page = ControlPages::Page(grid);
    qvImageList* list = SampleList(page);
    const char* looks[] = {"Normal", "Selected", "Cut", "Disabled"};
    for (int look = 0; look < 4; ++look) {
        QPixmap row(list->ImageCount() * 40, 36);
        row.fill(page->palette().color(QPalette::Window));
        QPainter painter(&row);
        for (int index = 1; index <= list->ImageCount(); ++index)
            list->DrawImage(index, painter, (index - 1) * 40 + 4, 2, look == 1, look == 2, look == 3);
        painter.end();
        auto* picture = new QLabel;
        picture->setPixmap(row);
        grid->addWidget(new QLabel(QString::fromLatin1(looks[look])), look, 0);
        grid->addWidget(picture, look, 1);
    }
    return page;
}

// The page owns the list it edits, so the list goes with the page.
template <typename Page>
QWidget* PropertyPage()
{
    qvImageList* list = SampleList(nullptr);
    auto* page = new Page(list);
    list->setParent(page);
    return page;
}

QWidget* HotKeyImageListPages::ControlPage()
{
    return PropertyPage<quorvantell::ppgControl>();
}

QWidget* HotKeyImageListPages::ImagesPage()
{
    return PropertyPage<quorvantell::ppgImages>();
}

}  // namespace velloran::gallery
