// frmMain: the controls, the menus and the layout rules in twips.
#include "app/shell/frmMain.h"

#include "app/engine/CSync.h"
#include "app/engine/SyncActions.h"
#include "app/shell/ProgramIcon.h"
#include "app/shell/SyncPictures.h"
#include "app/shell/frmMainControls.h"
#include "controls/MinMaxSize.h"
#include "controls/Splitter.h"
#include "controls/TrayIcon.h"
#include "controls/Twips.h"
#include "controls/XPButton.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>

#include <algorithm>

namespace velloran {

namespace {

using quorvantell::Twips;
using quorvantell::XPButton;

constexpr int32_t kMargin = 120;       // around and between the controls
constexpr int32_t kTreeTop = 360;      // below the two folder titles
constexpr int32_t kLabelHeight = 225;
constexpr int32_t kFieldHeight = 315;
constexpr int32_t kButtonHeight = 375;
constexpr int32_t kSyncButtonHeight = 300;
constexpr int32_t kSyncPanelWidth = 615;
constexpr int32_t kFtpFieldMinimum = 1500;

const char* const kSyncTips[] = {
    "Copy files from left to right pane - Keyboard: Ctrl-1",
    "Copy files from right to left pane - Keyboard: Ctrl-2",
    "Delete files from right pane - Keyboard: Ctrl-3",
    "Delete files from left pane - Keyboard: Ctrl-4",
    "Update the right pane using the left pane - Keyboard: Ctrl-5",
};

}  // namespace

frmMain::frmMain() : m_controls(std::make_unique<Controls>()), m_sync(std::make_unique<CSync>(*this))
{
    CreateControls();
    CreateMenus();
    ConnectControls();
}

frmMain::~frmMain() = default;

void frmMain::CreateControls()
{
    Controls& c = *m_controls;
    setWindowTitle(Text(kMainCaption));
    setWindowIcon(ProgramIcon());
    c.client = new QWidget(this);
    setCentralWidget(c.client);
    c.lbl[0] = new QLabel(Text("&Left folder"), c.client);
    c.lbl[1] = new QLabel(Text("&Right folder"), c.client);
    c.lbl[2] = new QLabel(c.client);
    for (int i = 0; i < 2; ++i) {
        c.ftv[i] = new FolderTreeview(c.client);
        c.lbl[i]->setBuddy(c.ftv[i]);
        c.lbl[i]->setToolTip(Text("Drag and drop a folder here to select it in the folder tree"));
        c.lbl[i]->setAcceptDrops(true);
        c.progbar[i] = new QProgressBar(c.client);
        c.progbar[i]->setTextVisible(false);
        c.progbar[i]->setRange(0, i == 0 ? 100 : 20);
        c.progbar[i]->setValue(0);
    }
    for (int i = 0; i < 3; ++i)
        c.pic[i] = new QWidget(c.client);
    CreateSyncButtons(c.pic[0]);
    const char* const captions[] = {"&View files...", "View &differences..."};
    for (int i = 0; i < 2; ++i) {
        c.cmd[i] = new XPButton(c.pic[1]);
        c.cmd[i]->SetCaption(Text(captions[i]));
    }
    c.cmd[7] = new XPButton(c.pic[1]);
    c.cmd[7]->SetCaption(Text("E&xit"));
    CreateFtpFields(c.pic[2]);
    c.pic[2]->setVisible(false);
    c.split = new quorvantell::Splitter(c.client);
    c.split->raise();  // only its bar takes the mouse
    c.tray = new quorvantell::TrayIcon(this);
    c.minMax = new quorvantell::MinMaxSize(this);
    c.statusCaption = std::make_unique<LabelCaption>(c.lbl[2]);
    for (int i = 0; i < 2; ++i)
        c.bars[i] = std::make_unique<BarValue>(c.progbar[i]);
}

void frmMain::CreateSyncButtons(QWidget* panel)
{
    Controls& c = *m_controls;
    for (int i = 0; i < 5; ++i) {
        XPButton* button = new XPButton(panel);
        button->setToolTip(Text(kSyncTips[i]));
        button->SetTag(QString::fromStdString(SyncActions::Tag(i)));
        button->SetPicture(SyncPictures::Picture(i, devicePixelRatioF()));
        button->SetPictureSize(XPButton::lv_16x16);
        button->SetPictureAlign(XPButton::lv_LeftOfCaption);
        c.cmdSync[i] = button;
    }
}

void frmMain::CreateFtpFields(QWidget* panel)
{
    Controls& c = *m_controls;
    const char* const labels[] = {"&Server name", "&Username", "Pass&word", "FT&P Directory"};
    for (int i = 0; i < 4; ++i)
        c.lbl[3 + i] = new QLabel(Text(labels[i]), panel);
    for (int i = 0; i < 3; ++i) {
        c.txt[i] = new QLineEdit(panel);
        c.txt[i]->installEventFilter(this);
        c.lbl[3 + i]->setBuddy(c.txt[i]);
    }
    c.txt[2]->setEchoMode(QLineEdit::Password);
    c.cbo = new QComboBox(panel);
    c.cbo->setEditable(true);
    c.cbo->setInsertPolicy(QComboBox::NoInsert);
    c.cbo->installEventFilter(this);
    c.lbl[6]->setBuddy(c.cbo);
    const char* const checks[] = {"S&ave password", "Passive &mode", "Parse subdirectories"};
    for (int i = 0; i < 3; ++i)
        c.chk[i] = new QCheckBox(Text(checks[i]), panel);
}

void frmMain::CreateMenus()
{
    Controls& c = *m_controls;
    QMenuBar* bar = menuBar();
    c.mnu[0] = bar->addMenu(Text("&File"));
    c.mnu[1] = bar->addMenu(Text("&Tools"));
    c.mnu[2] = bar->addMenu(Text("&Help"));
    c.mnu[3] = new QMenu(this);  // the folder trees' popup

    c.mnu[0]->addAction(Text("&View files..."), this, [this] { FileMenu(0); });
    c.mnu[0]->addAction(Text("View &differences..."), this, [this] { FileMenu(1); });
    c.mnu[0]->addSeparator();
    c.mnu[0]->addAction(Text("Run &script..."), QKeySequence(Qt::CTRL | Qt::Key_R), this, [this] { FileMenu(3); });
    c.mnu[0]->addSeparator();
    c.mnuRecent = c.mnu[0]->addMenu(Text("&Recent folders"));
    c.mnu[0]->addSeparator();
    c.mnu[0]->addAction(Text("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, [this] { FileMenu(7); });

    c.mnu[1]->addAction(Text("&Get latest timestamps in folder tree"), this, [this] { ToolsMenu(0); });
    c.mnu[1]->addSeparator();
    c.ftpMode = c.mnu[1]->addAction(Text("&FTP mode"), QKeySequence(Qt::CTRL | Qt::Key_F), this,
                                    [this] { ToolsMenu(2); });
    c.ftpMode->setCheckable(true);
    c.mnu[1]->addSeparator();
    c.mnu[1]->addAction(Text("&Options"), QKeySequence(Qt::Key_F12), this, [this] { ToolsMenu(4); });

    c.mnu[2]->addAction(Text("View &help..."), this, [this] { HelpMenu(0); });
    c.mnu[2]->addSeparator();
    QMenu* web = c.mnu[2]->addMenu(Text("&Quorvantell websites"));
    const char* const pages[] = {"&Quorvantell homepage", "Quorvantell &community", nullptr, "&Help and FAQ", nullptr,
                                 "&Bug reports", "C&ontact us"};
    for (int i = 0; i < 7; ++i) {
        if (pages[i] == nullptr)
            web->addSeparator();
        else
            web->addAction(Text(pages[i]), this, [this, i] { WebMenu(i); });
    }
    c.mnu[2]->addSeparator();
    c.mnu[2]->addAction(Text("&About..."), QKeySequence(Qt::SHIFT | Qt::Key_F1), this, [this] { HelpMenu(5); });

    c.mnu[3]->addAction(Text("&Open"), this, [this] { OpenTreeFolder(); });
}

void frmMain::Place(QWidget* widget, int32_t left, int32_t top, int32_t width, int32_t height) const
{
    widget->setGeometry(Twips::ToPixelsX(left, this), Twips::ToPixelsY(top, this),
                        std::max(0, Twips::ToPixelsX(width, this)), std::max(0, Twips::ToPixelsY(height, this)));
}

int32_t frmMain::ClientWidthTwips() const
{
    return static_cast<int32_t>(Twips::FromPixelsX(m_controls->client->width(), this));
}

int32_t frmMain::ClientHeightTwips() const
{
    return static_cast<int32_t>(Twips::FromPixelsY(m_controls->client->height(), this));
}

void frmMain::ApplyClientSize()
{
    Controls& c = *m_controls;
    const int32_t w = ClientWidthTwips(), h = ClientHeightTwips();
    const int32_t y = h - 905;
    const int32_t treeHeight = y - 480;
    const int32_t statusWidth = w - 4455 - 2 * kMargin;
    if (w != c.appliedWidth || h != c.appliedHeight) {
        Place(c.pic[1], w - 4455, y, 4335, kButtonHeight);
        Place(c.lbl[2], kMargin, y + 60, statusWidth, kLabelHeight);
        Place(c.progbar[0], kMargin, y + 390, statusWidth - 1020, 180);
        Place(c.progbar[1], kMargin + statusWidth - 900, y + 390, 900, 180);
        Place(c.split, kMargin, kTreeTop, w - 2 * kMargin, treeHeight);
        for (int i = 0; i < 3; ++i)
            Place(c.cmd[i == 2 ? 7 : i], i * 1500, 0, 1335, kButtonHeight);
        c.treeHeight = treeHeight;
        c.syncTop = treeHeight / 2 - 788;
        c.appliedWidth = w;
        c.appliedHeight = h;
    }
    // Re-applying the position lays the columns out again.
    c.split->SetPosition(c.pendingSplit >= 0 && isVisible() ? c.pendingSplit : c.split->Position());
    if (isVisible())
        c.pendingSplit = -1;
}

void frmMain::SplitterMoved(int32_t leftWidth, int32_t position, int32_t rightWidth)
{
    Controls& c = *m_controls;
    const int32_t h = c.treeHeight;
    Place(c.lbl[0], kMargin, kMargin, leftWidth - 855, kLabelHeight);
    Place(c.ftv[0], kMargin, kTreeTop, leftWidth - 855, h);
    Place(c.pic[0], leftWidth - 615, kTreeTop + c.syncTop, kSyncPanelWidth, 5 * kSyncButtonHeight + 76);
    for (int i = 0; i < 5; ++i)
        Place(c.cmdSync[i], 0, i * (kSyncButtonHeight + 19), kSyncPanelWidth, kSyncButtonHeight);
    Place(c.lbl[1], position + kMargin, kMargin, rightWidth, kLabelHeight);
    Place(c.ftv[1], position + kMargin, kTreeTop, rightWidth, h);
    Place(c.pic[2], position + kMargin, kTreeTop, rightWidth, h);
    // The fields keep a usable width even when the pane is narrow.
    const int32_t field = std::max(rightWidth - 480, kFtpFieldMinimum);
    for (int i = 0; i < 4; ++i) {
        Place(c.lbl[3 + i], 2 * kMargin, i * 660, field, kLabelHeight);
        Place(i < 3 ? static_cast<QWidget*>(c.txt[i]) : c.cbo, 2 * kMargin, i * 660 + 240, field, kFieldHeight);
    }
    for (int i = 0; i < 3; ++i)
        Place(c.chk[i], 2 * kMargin, 2700 + i * 300, field, 255);
}

quorvantell::XPButton* frmMain::cmdSync(int index) const
{
    return m_controls->cmdSync[index];
}

quorvantell::XPButton* frmMain::cmd(int index) const
{
    return m_controls->cmd[index];
}

FolderTreeview* frmMain::ftv(int index) const
{
    return m_controls->ftv[index];
}

QLabel* frmMain::lbl(int index) const
{
    return m_controls->lbl[index];
}

QLineEdit* frmMain::txt(int index) const
{
    return m_controls->txt[index];
}

QComboBox* frmMain::cbo() const
{
    return m_controls->cbo;
}

QCheckBox* frmMain::chk(int index) const
{
    return m_controls->chk[index];
}

QWidget* frmMain::pic(int index) const
{
    return m_controls->pic[index];
}

QMenu* frmMain::mnu(int index) const
{
    return m_controls->mnu[index];
}

quorvantell::Splitter* frmMain::split() const
{
    return m_controls->split;
}

quorvantell::TrayIcon* frmMain::trayIcon() const
{
    return m_controls->tray;
}

}  // namespace velloran
