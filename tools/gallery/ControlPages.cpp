// The control library's gallery pages. Live buttons where the state does not
// matter (they can be hovered and clicked in the window); pictures taken on a
// ButtonStage where the state is the point.
#include "tools/gallery/ControlPages.h"

#include "controls/XPButton.h"
#include "tools/gallery/ButtonStage.h"
#include "tools/gallery/HotKeyImageListPages.h"
#include "tools/gallery/SplitterHost.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMetaEnum>
#include <QStyle>

namespace velloran::gallery {

using quorvantell::XPButton;

namespace {

const QSize kButton(120, 36);

QString EnumName(const char* enumName, int value)
{
    const QMetaObject& meta = XPButton::staticMetaObject;
    const QMetaEnum metaEnum = meta.enumerator(meta.indexOfEnumerator(enumName));
    return QString::fromLatin1(metaEnum.valueToKey(value));
}

QPixmap Icon(QStyle::StandardPixmap which, int size = 32)
{
    return QApplication::style()->standardIcon(which).pixmap(size, size);
}

QLabel* Heading(const QString& text)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* Picture(const QPixmap& pixmap)
{
    auto* label = new QLabel;
    label->setPixmap(pixmap);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

XPButton* LiveButton(const QString& caption, const QSize& size = kButton)
{
    auto* button = new XPButton;
    button->SetCaption(caption);
    button->setFixedSize(size);
    return button;
}

}  // namespace

QWidget* ControlPages::Page(QGridLayout* grid)
{
    auto* page = new QWidget;
    grid->setSpacing(10);
    grid->setContentsMargins(12, 12, 12, 12);
    page->setLayout(grid);
    return page;
}

void ControlPages::AddTo(GalleryPages& pages)
{
    pages.Add(QStringLiteral("button-shapes"), QStringLiteral("Button shapes"), &ControlPages::Shapes);
    pages.Add(QStringLiteral("button-states"), QStringLiteral("Button states"), &ControlPages::States);
    pages.Add(QStringLiteral("button-pictures"), QStringLiteral("Button pictures"), &ControlPages::Pictures);
    pages.Add(QStringLiteral("button-captions"), QStringLiteral("Button captions"), &ControlPages::Captions);
    pages.Add(QStringLiteral("button-gradients"), QStringLiteral("Button gradients"), &ControlPages::Gradients);
    pages.Add(QStringLiteral("splitter"), QStringLiteral("Splitter"), &ControlPages::Splitters);
    HotKeyImageListPages::AddTo(pages);
}

QWidget* ControlPages::Shapes()
{
    auto* grid = new QGridLayout;
    for (int shape = XPButton::lv_Rectangular; shape <= XPButton::lv_RoundFlat; ++shape) {
        const QString name = EnumName("ButtonStyleConstants", shape);
        grid->addWidget(new QLabel(name), shape, 0);
        XPButton* plain = LiveButton(QStringLiteral("S&ync"));
        plain->SetButtonShape(XPButton::ButtonStyleConstants(shape));
        grid->addWidget(plain, shape, 1);
        XPButton* coloured = LiveButton(QStringLiteral("Copy||left to right"), QSize(150, 44));
        coloured->SetButtonShape(XPButton::ButtonStyleConstants(shape));
        coloured->SetBackColor(0x00E8D2B4u);
        coloured->SetPicture(Icon(QStyle::SP_ArrowRight, 24));
        coloured->SetPictureSize(XPButton::lv_24x24);
        grid->addWidget(coloured, shape, 2);
    }
    return Page(grid);
}

QWidget* ControlPages::States()
{
    ButtonStage stage;
    const ButtonState states[] = {ButtonState::Normal, ButtonState::Hovered, ButtonState::Pressed,
                                  ButtonState::Focused, ButtonState::Disabled};
    auto* grid = new QGridLayout;
    int column = 1;
    for (ButtonState state : states)
        grid->addWidget(Heading(ButtonStage::StateName(state)), 0, column++);
    for (int shape = XPButton::lv_Rectangular; shape <= XPButton::lv_RoundFlat; ++shape) {
        grid->addWidget(new QLabel(EnumName("ButtonStyleConstants", shape)), shape + 1, 0);
        column = 1;
        for (ButtonState state : states) {
            const QPixmap shot = stage.Shoot(kButton, state, [shape](XPButton& button) {
                button.SetButtonShape(XPButton::ButtonStyleConstants(shape));
                button.SetCaption(QStringLiteral("&Apply"));
                button.SetPicture(Icon(QStyle::SP_DialogApplyButton, 16));
                button.SetPictureAlign(XPButton::lv_LeftOfCaption);
            });
            grid->addWidget(Picture(shot), shape + 1, column++);
        }
    }
    return Page(grid);
}

QWidget* ControlPages::Pictures()
{
    auto* grid = new QGridLayout;
    grid->addWidget(Heading(QStringLiteral("PictureAlign (24 x 24)")), 0, 0, 1, 3);
    for (int align = XPButton::lv_LeftEdge; align <= XPButton::lv_BottomCenter; ++align) {
        const bool tall = align >= XPButton::lv_TopCenter;
        XPButton* button = LiveButton(EnumName("ImagePlacementConstants", align), tall ? QSize(150, 64) : QSize(180, 36));
        button->SetPicture(Icon(QStyle::SP_DirIcon, 24));
        button->SetPictureSize(XPButton::lv_24x24);
        button->SetPictureAlign(XPButton::ImagePlacementConstants(align));
        grid->addWidget(button, 1 + align / 3, align % 3);
    }
    grid->addWidget(Heading(QStringLiteral("PictureSize")), 3, 0, 1, 3);
    for (int size = XPButton::lv_16x16; size <= XPButton::lv_Full; ++size) {
        XPButton* button = LiveButton(EnumName("ImageSizeConstants", size), QSize(180, 56));
        button->SetPicture(Icon(QStyle::SP_DialogOkButton, 48));
        button->SetPictureSize(XPButton::ImageSizeConstants(size));
        button->SetCaptionStyle(size >= XPButton::lv_Fill_Stretch ? XPButton::lv_Raised : XPButton::lv_Default);
        grid->addWidget(button, 4 + size / 3, size % 3);
    }
    grid->addWidget(Heading(QStringLiteral("Disabled")), 6, 0, 1, 3);
    for (int i = 0; i < 3; ++i) {
        const QStyle::StandardPixmap icons[] = {QStyle::SP_TrashIcon, QStyle::SP_BrowserReload, QStyle::SP_FileIcon};
        XPButton* button = LiveButton(QStringLiteral("Disabled %1").arg(i + 1), QSize(180, 40));
        button->SetPicture(Icon(icons[i], 24));
        button->SetPictureSize(XPButton::lv_24x24);
        button->SetButtonShape(i == 0 ? XPButton::lv_Rectangular : i == 1 ? XPButton::lv_FullDiagonal : XPButton::lv_Round3D);
        button->SetEnabled(false);
        grid->addWidget(button, 7, i);
    }
    return Page(grid);
}

QWidget* ControlPages::Captions()
{
    auto* grid = new QGridLayout;
    grid->addWidget(Heading(QStringLiteral("CaptionStyle")), 0, 0, 1, 3);
    for (int style = XPButton::lv_Default; style <= XPButton::lv_Raised; ++style) {
        XPButton* button = LiveButton(EnumName("CaptionEffectConstants", style), QSize(150, 36));
        button->SetBackColor(0x00A08060u);
        button->SetForeColor(0x00FFFFFFu);
        button->SetHoverForeColor(0x00FFFFFFu);
        button->SetCaptionStyle(XPButton::CaptionEffectConstants(style));
        grid->addWidget(button, 1, style);
    }
    grid->addWidget(Heading(QStringLiteral("CaptionAlign and line breaks")), 2, 0, 1, 3);
    const char* alignNames[] = {"0 left", "1 right", "2 centre"};
    for (int align = 0; align <= 2; ++align) {
        XPButton* button = LiveButton(QString::fromLatin1(alignNames[align]), QSize(150, 36));
        button->SetCaptionAlign(align);
        grid->addWidget(button, 3, align);
    }
    grid->addWidget(LiveButton(QStringLiteral("OK||Cancel"), QSize(150, 52)), 4, 0);
    grid->addWidget(LiveButton(QStringLiteral("A caption long enough to wrap by words"), QSize(150, 52)), 4, 1);
    grid->addWidget(LiveButton(QStringLiteral("&Sync selected file(s)..."), QSize(190, 36)), 4, 2);

    grid->addWidget(Heading(QStringLiteral("HoverColorLocks, hovered")), 5, 0, 1, 3);
    ButtonStage stage;
    for (int lock = XPButton::lv_LockTextandBackColor; lock <= XPButton::lv_NoLocks; ++lock) {
        const QPixmap shot = stage.Shoot(QSize(190, 36), ButtonState::Hovered, [lock](XPButton& button) {
            button.SetCaption(EnumName("HoverLockConstants", lock));
            button.SetHoverBackColor(0x00C0F0FFu);
            button.SetHoverForeColor(0x000000C0u);
            button.SetHoverColorLocks(XPButton::HoverLockConstants(lock));
        });
        grid->addWidget(Picture(shot), 6 + lock / 2, lock % 2);
    }
    return Page(grid);
}

QWidget* ControlPages::Gradients()
{
    auto* grid = new QGridLayout;
    for (int mode = XPButton::lv_NoGradient; mode <= XPButton::lv_Bottom2Top; ++mode) {
        for (int shape : {int(XPButton::lv_Rectangular), int(XPButton::lv_LeftDiagonal), int(XPButton::lv_Round3D)}) {
            XPButton* button = LiveButton(EnumName("GradientConstants", mode), QSize(150, 40));
            button->SetBackColor(0x00FFFFFFu);
            button->SetGradientColor(0x00B06A2Au);
            button->SetGradientMode(XPButton::GradientConstants(mode));
            button->SetButtonShape(XPButton::ButtonStyleConstants(shape));
            grid->addWidget(button, mode, shape == XPButton::lv_Rectangular ? 0 : shape == XPButton::lv_LeftDiagonal ? 1 : 2);
        }
    }
    return Page(grid);
}

QWidget* ControlPages::Splitters()
{
    auto* grid = new QGridLayout;
    grid->addWidget(Heading(QStringLiteral("Vertical")), 0, 0);
    grid->addWidget(Heading(QStringLiteral("Horizontal, fixed single border")), 0, 1);
    grid->addWidget(Heading(QStringLiteral("Being dragged")), 0, 2);

    auto* vertical = new SplitterHost(false, QStringLiteral("left"), QStringLiteral("right"));
    vertical->splitter().SetPosition(1500);
    grid->addWidget(vertical, 1, 0);

    auto* horizontal = new SplitterHost(true, QStringLiteral("top"), QStringLiteral("bottom"));
    horizontal->splitter().SetBorderStyle(1);
    horizontal->splitter().SetPosition(900);
    grid->addWidget(horizontal, 1, 1);

    auto* dragged = new SplitterHost(false, QStringLiteral("left"), QStringLiteral("right"));
    dragged->splitter().SetPosition(1500);
    dragged->HoldDragged(30);  // the bar takes the shadow colour while dragged
    grid->addWidget(dragged, 1, 2);
    return Page(grid);
}

}  // namespace velloran::gallery
