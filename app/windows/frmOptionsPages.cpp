// frmOptions: the dialog's controls - the category tree, the title area,
// the eleven pages with their captions, tooltips and frames, the buttons -
// and where they sit. The dialog's own geometry is in twips; inside a page
// the controls are laid out by Qt, which follows the fonts.
#include "app/windows/frmOptions.h"

#include "app/engine/CSync.h"
#include "app/windows/frmOptionsControls.h"
#include "controls/Twips.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTreeWidget>

#include <algorithm>

namespace velloran {

namespace {

using quorvantell::Twips;

// The dialog's design in twips: the tree's column, where a page sits, the
// least page size, the title area's height and the buttons.
constexpr int32_t kMargin = 120;
constexpr int32_t kPageLeft = 2280, kPageTop = 600;
constexpr int32_t kPageWidth = 6000, kPageHeight = 4500;
constexpr int32_t kTitleHeight = 420;
constexpr int32_t kButtonWidth = 1095, kButtonHeight = 375, kButtonGap = 120;

QString Text(const char* text)
{
    return QString::fromUtf8(text);
}

QLabel* Label(const char* text, QBoxLayout* into)
{
    auto* label = new QLabel(Text(text));
    label->setWordWrap(true);
    into->addWidget(label);
    return label;
}

QCheckBox* Check(const char* caption, QBoxLayout* into, const char* tip = nullptr)
{
    auto* box = new QCheckBox(Text(caption));
    if (tip != nullptr)
        box->setToolTip(Text(tip));
    into->addWidget(box);
    return box;
}

QGroupBox* Frame(const char* title, QBoxLayout* into, QBoxLayout*& inside)
{
    auto* frame = new QGroupBox(Text(title));
    inside = new QVBoxLayout(frame);
    into->addWidget(frame);
    return frame;
}

// A row of widgets, left-aligned.
QHBoxLayout* Row(QBoxLayout* into, std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    row->addStretch();
    into->addLayout(row);
    return row;
}

QLineEdit* Box(const char* tip, int32_t widthTwips, const QWidget* scale)
{
    auto* box = new QLineEdit;
    if (tip != nullptr)
        box->setToolTip(Text(tip));
    box->setFixedWidth(Twips::ToPixelsX(widthTwips, scale));
    return box;
}

// A colour button with its swatch beside it.
QPushButton* SwatchButton(const char* caption, QFrame*& swatch, QBoxLayout* into, const QWidget* scale)
{
    auto* button = new QPushButton(Text(caption));
    button->setFixedWidth(Twips::ToPixelsX(2040, scale));
    swatch = new QFrame;
    swatch->setFrameShape(QFrame::Box);
    swatch->setAutoFillBackground(true);
    swatch->setFixedSize(Twips::ToPixels(600, 315, scale));
    Row(into, {button, swatch});
    return button;
}

// A slider over its tick labels, under its caption.
QSlider* Slider(const char* caption, int maximum, std::initializer_list<const char*> ticks, QBoxLayout* into)
{
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setRange(1, maximum);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    Label(caption, into)->setBuddy(slider);
    into->addWidget(slider);
    auto* row = new QHBoxLayout;
    int n = 0;
    for (const char* tick : ticks) {
        if (n++ > 0)
            row->addStretch();
        row->addWidget(new QLabel(Text(tick)));
    }
    into->addLayout(row);
    return slider;
}

}  // namespace

void frmOptions::CreateControls()
{
    Controls& c = *m_controls;
    c.lblCategory = new QLabel(QStringLiteral("&Category"), this);
    c.tvwOptions = new QTreeWidget(this);
    c.tvwOptions->setHeaderHidden(true);
    c.tvwOptions->setColumnCount(1);
    // A narrow indent keeps the longest node text within the tree's column.
    c.tvwOptions->setIndentation(Twips::ToPixelsX(180, this));
    c.lblCategory->setBuddy(c.tvwOptions);
    c.shp[2] = new QFrame(this);
    c.shp[2]->setAutoFillBackground(true);
    c.lbl[11] = new QLabel(c.shp[2]);
    QFont title = c.lbl[11]->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.2);
    c.lbl[11]->setFont(title);
    c.lbl[12] = new QLabel(c.shp[2]);
    c.lbl[12]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int n = 0; n < kPageCount; ++n) {
        c.pic[n] = new QWidget(this);
        c.pic[n]->setAutoFillBackground(true);
        c.pic[n]->hide();
    }
    CreateAppearancePages();
    CreateBehaviourPages();
    CreateSetupPages();
    const char* const captions[] = {"OK", "Cancel", "Appl&y"};
    for (int i = 0; i < 3; ++i)
        c.cmd[i] = new QPushButton(Text(captions[i]), this);
    c.cmd[0]->setDefault(true);
    c.img = new QLabel(this);
    Arrange();
}

// Appearance, Colors and Fonts.
void frmOptions::CreateAppearancePages()
{
    Controls& c = *m_controls;
    auto* appearance = new QVBoxLayout(c.pic[0]);
    c.chk[0] = Check("&Show Velloran in system tray", appearance);
    c.chk[1] = Check("&Hide Velloran from taskbar when minimized", appearance);
    appearance->addStretch();

    auto* colors = new QVBoxLayout(c.pic[1]);
    c.lbl[0] = Label("Select the colors to be used in Velloran's windows.", colors);
    c.cmd[3] = SwatchButton("&Background color", c.shp[0], colors, this);
    c.cmd[4] = SwatchButton("&Text color", c.shp[1], colors, this);
    c.cmd[6] = SwatchButton("&Hot tracking color", c.shp[3], colors, this);
    // The colour is Velloran's own and takes effect at once, so the notes
    // about a system-wide setting after a reboot are left out.
    c.lbl[61] = Label("Select the color of items in Velloran's filelist when the mouse is over them.", colors);
    colors->addStretch();

    auto* fonts = new QVBoxLayout(c.pic[2]);
    c.lbl[8] = Label("Change the fonts used in various parts of Velloran", fonts);
    for (const int i : {5, 8}) {
        c.cmd[i] = new QPushButton(Text(i == 5 ? "&Filelist font" : "&Others font"));
        c.cmd[i]->setToolTip(Text(i == 5 ? "Font used to display the filelist" : "Font used everywhere else"));
        c.cmd[i]->setFixedWidth(Twips::ToPixelsX(2040, this));
        Row(fonts, {c.cmd[i]});
    }
    fonts->addStretch();
}

// Behaviour, Window, Time, Filter and FTP settings.
void frmOptions::CreateBehaviourPages()
{
    Controls& c = *m_controls;
    QBoxLayout* inside = nullptr;
    auto* behaviour = new QVBoxLayout(c.pic[3]);
    Frame("File Details Window", behaviour, inside);
    c.lbl[1] = Label("Do you wish to calculate file size and dates for files existing only on one side in the File "
                     "Details Windows?", inside);
    c.chk[6] = Check("S&how details for files existing only on one side", inside);
    Frame("Error Handling", behaviour, inside);
    c.lbl[7] = Label("When there is a problem during a file operation:", inside);
    const char* const policies[] = {"&Ask the user what to do", "&Ignore error and continue", "&Stop operation"};
    for (int i = 0; i < 3; ++i) {
        c.opt[i] = new QRadioButton(Text(policies[i]));
        inside->addWidget(c.opt[i]);
    }
    c.lbl[16] = Label("&Log all errors automatically to this file:", inside);
    c.txt[3] = new QLineEdit;
    c.txt[3]->setToolTip(QStringLiteral("Leave this empty if you do not want a log file"));
    c.lbl[16]->setBuddy(c.txt[3]);
    c.cmd[7] = new QPushButton(QStringLiteral("&Browse"));
    auto* logRow = new QHBoxLayout;
    logRow->addWidget(c.txt[3], 1);
    logRow->addWidget(c.cmd[7]);
    inside->addLayout(logRow);
    behaviour->addStretch();

    auto* window = new QVBoxLayout(c.pic[4]);
    c.chk[4] = Check("&Keep Velloran on top of all other windows", window);
    c.chk[2] = Check("Use &EasyMove", window, "Allow moving of windows by dragging on any part of the window.");
    c.chk[3] = Check("&Snap windows to the edges of the screen", window, "Only activates when using EasyMove");
    c.lbl[5] = Label("&How close should a window be to a screen edge before snap activates?", window);
    c.txt[0] = Box("Default value is 12", 600, this);
    c.lbl[5]->setBuddy(c.txt[0]);
    c.lbl[3] = new QLabel(QStringLiteral("pixels"));
    Row(window, {c.txt[0], c.lbl[3]});
    window->addStretch();

    auto* time = new QVBoxLayout(c.pic[10]);
    Frame("Time offset", time, inside);
    c.lbl[19] = Label("Select the number of minutes to offset the left side file times", inside);
    c.txt[4] = Box(nullptr, 900, this);
    Row(inside, {c.txt[4]});
    c.lbl[18] = Label("Sometimes files will appear out of sync because of differences in the computer clock or "
                      "daylight saving times.", inside);
    time->addStretch();

    auto* filter = new QVBoxLayout(c.pic[9]);
    c.chk[9] = Check("&Filter files beginning with a '.' (dot)", filter);
    c.lbl[14] = Label("For clarity, Velloran can ignore certain files when previewing file details or calculating the "
                      "latest timestamps.", filter);
    c.lbl[17] = Label("This only affects previews.  All files are considered when synchronising.", filter);
    filter->addStretch();

    auto* ftp = new QVBoxLayout(c.pic[8]);
    c.chk[8] = Check("I&gnore newer files on FTP server", ftp);
    c.lbl[10] = Label("If you are always updating from your computer to the FTP server, you may wish to ignore files "
                      "which have newer file times on the server.", ftp);
    c.lbl[4] = Label("In &FTP mode, ignore file times differences within:", ftp);
    c.txt[2] = Box("Default value is 10", 1200, this);
    c.lbl[4]->setBuddy(c.txt[2]);
    c.lbl[9] = new QLabel(QStringLiteral("seconds"));
    Row(ftp, {c.txt[2], c.lbl[9]});
    c.lbl[2] = Label("The time on the FTP server may not be synchronised with the time on your home computer.", ftp);
    c.spnConnections = new QSpinBox;
    c.spnConnections->setRange(1, CSync::kMaxFTPConnections);
    c.spnConnections->setToolTip(QStringLiteral("Files sent at once, each over a connection of its own"));
    auto* connections = new QLabel(QStringLiteral("Simultaneous &uploads:"));
    connections->setBuddy(c.spnConnections);
    Row(ftp, {connections, c.spnConnections});
    ftp->addStretch();
}

// Setup, Advanced and Environment.
void frmOptions::CreateSetupPages()
{
    Controls& c = *m_controls;
    QBoxLayout* inside = nullptr;
    auto* setup = new QVBoxLayout(c.pic[5]);
    c.chk[7] = Check("&Open Velloran script files (.velloran) with Velloran", setup);
    setup->addStretch();

    auto* advanced = new QVBoxLayout(c.pic[6]);
    Frame("Priority", advanced, inside);
    c.sld[0] = Slider("&Process priority", 3, {"idle", "normal", "high"}, inside);
    c.sld[1] = Slider("&Thread priority", 5, {"low", "normal", "high"}, inside);
    c.lbl[51] = Label("Select the combination of thread and process priority class of Velloran.  Be careful of using "
                      "too high a priority, as it may make your system unstable.", advanced);
    advanced->addStretch();

    auto* environment = new QVBoxLayout(c.pic[7]);
    c.chk[5] = Check("&Save these options when you close Velloran", environment);
    Frame("Recent Files", environment, inside);
    c.lbl[6] = Label("Select the &maximum number of files to be displayed in the Recent Files menu:", inside);
    c.txt[1] = Box(nullptr, 600, this);
    c.lbl[6]->setBuddy(c.txt[1]);
    Row(inside, {c.txt[1]});
    c.lbl[15] = Label("You can have between 1 and 30 files displayed", inside);
    environment->addStretch();
}

// The pages are at least the design's size and as large as the largest
// page needs in the fonts at hand; the rest follows from them.
void frmOptions::Arrange()
{
    Controls& c = *m_controls;
    QSize page = Twips::ToPixels(kPageWidth, kPageHeight, this);
    for (QWidget* p : c.pic)
        page = page.expandedTo(p->sizeHint());
    const int margin = Twips::ToPixelsX(kMargin, this);
    const QPoint at(Twips::ToPixelsX(kPageLeft, this), Twips::ToPixelsY(kPageTop, this));
    const int titleHeight = Twips::ToPixelsY(kTitleHeight, this);
    c.lblCategory->setGeometry(margin, margin, at.x() - 2 * margin, titleHeight);
    c.tvwOptions->setGeometry(margin, at.y(), at.x() - 2 * margin, page.height());
    c.shp[2]->setGeometry(at.x(), margin, page.width(), titleHeight);
    c.lbl[11]->setGeometry(margin / 2, 0, page.width() / 2, titleHeight);
    c.lbl[12]->setGeometry(page.width() / 3, 0, page.width() * 2 / 3 - margin / 2, titleHeight);
    for (QWidget* p : c.pic)
        p->setGeometry(QRect(at, page));
    const QSize button = Twips::ToPixels(kButtonWidth, kButtonHeight, this);
    const int buttonTop = at.y() + page.height() + margin;
    int left = at.x() + page.width() - 3 * button.width() - 2 * Twips::ToPixelsX(kButtonGap, this);
    for (int i = 0; i < 3; ++i) {
        c.cmd[i]->setGeometry(QRect(QPoint(left, buttonTop), button));
        left += button.width() + Twips::ToPixelsX(kButtonGap, this);
    }
    c.img->setGeometry(margin, buttonTop, button.height(), button.height());
    setFixedSize(at.x() + page.width() + margin, buttonTop + button.height() + margin);
}

}  // namespace velloran
