// frmDetails: the window, its loading and unloading, the layout rules in
// twips, colours and fonts, and what the engine calls while it fills.
#include "app/windows/frmDetails.h"

#include "app/engine/CSync.h"
#include "app/shell/MGeneral.h"
#include "app/views/CListView.h"
#include "app/views/ListImages.h"
#include "app/views/UiText.h"
#include "app/views/WindowSettings.h"
#include "app/windows/DetailsList.h"
#include "app/windows/frmDetailsControls.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "controls/MinMaxSize.h"
#include "controls/OleColor.h"
#include "controls/Splitter.h"
#include "controls/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeView>

#include <algorithm>
#include <cmath>

namespace velloran {

namespace {

using quorvantell::eRegBaseKey;
using quorvantell::Twips;

constexpr int32_t kDefaultSplit = 3980;
constexpr int32_t kMargin = 120;
constexpr int32_t kHeaderHeight = 240;
constexpr int32_t kButtonHeight = 375;
constexpr int32_t kSyncWidth = 1815;  // "&Sync selected file(s)..." at the least

QPointer<frmDetails> g_instance;

}  // namespace

frmDetails* frmDetails::Instance()
{
    return g_instance;
}

frmDetails& frmDetails::Open(QWidget* mainWindow, CSync& sync)
{
    if (!g_instance) {
        g_instance = new frmDetails(mainWindow, sync);
        g_instance->Load(mainWindow);
    }
    return *g_instance;
}

frmDetails::frmDetails(QWidget* mainWindow, CSync& sync)
    : QWidget(mainWindow, Qt::Window), m_sync(sync), m_controls(std::make_unique<Controls>())
{
    setAttribute(Qt::WA_DeleteOnClose);
    CreateControls();
    ConnectControls();
}

frmDetails::~frmDetails()
{
    Unload();
}

void frmDetails::CreateControls()
{
    Controls& c = *m_controls;
    c.images = std::make_unique<ListImages>();
    for (int i = 0; i < 2; ++i) {
        c.pic[i] = new QWidget(this);  // the header over list i
        c.lbl[i] = new QLabel(c.pic[i]);
        c.lvwFiles[i] = new QTreeView(this);
        c.lvwFiles[i]->installEventFilter(this);
        c.lvwFiles[i]->viewport()->installEventFilter(this);
        c.lvw[i] = std::make_unique<CListView>();
        c.lists[i] = std::make_unique<DetailsList>(*c.lvw[i]);
    }
    c.lbl[2] = new QLabel(this);
    c.split = new quorvantell::Splitter(this);
    c.progbar = new QProgressBar(this);
    c.progbar->setRange(0, 100);
    c.progbar->setValue(0);
    c.progbar->setFormat(QStringLiteral("%p%"));
    QPalette white = c.progbar->palette();
    white.setColor(QPalette::Base, Qt::white);
    c.progbar->setPalette(white);
    c.cmd[0] = new QPushButton(QStringLiteral("&Sync selected file(s)..."), this);
    c.cmd[0]->setToolTip(QStringLiteral("Opens a window which allows you to choose how to sync the selected file"));
    c.cmd[1] = new QPushButton(QStringLiteral("&Close"), this);
    // The cover laid over the lists while they fill.
    c.cover = new QWidget(this);
    c.cover->setAutoFillBackground(true);
    c.cover->hide();
    c.minMax = new quorvantell::MinMaxSize(this);
    c.mnuPopup = new QMenu(this);
    c.popupSync = c.mnuPopup->addAction(QStringLiteral("&Sync selected"), this, [this] { SyncSelected(); });
    c.mnuPopup->addSeparator();
    c.popupProperties = c.mnuPopup->addAction(QStringLiteral("&Properties"), this, [this] { PopupProperties(); });
    c.mnuPopup->addSeparator();
    c.popupExecute = c.mnuPopup->addAction(QStringLiteral("&Execute"), this, [this] { PopupExecute(); });
    c.statusCaption = std::make_unique<LabelCaption>(c.lbl[2]);
    c.progress = std::make_unique<BarValue>(c.progbar);
}

void frmDetails::ConnectControls()
{
    Controls& c = *m_controls;
    connect(c.split, &quorvantell::Splitter::Moved, this, &frmDetails::SplitterMoved);
    connect(c.cmd[0], &QPushButton::clicked, this, &frmDetails::SyncSelected);
    connect(c.cmd[1], &QPushButton::clicked, this, &frmDetails::CloseClicked);
}

void frmDetails::Load(QWidget* mainWindow)
{
    Controls& c = *m_controls;
    formUtils.Init(this);
    formUtils.ZOnTop(m_sync.Options.OnTop);
    formUtils.ReadWindowSettings("Details", 1500, 1500, 7500, 4000);
    for (QWidget* surface : {static_cast<QWidget*>(this), c.pic[0], c.pic[1], static_cast<QWidget*>(c.lbl[0]),
                             static_cast<QWidget*>(c.lbl[1]), static_cast<QWidget*>(c.lbl[2])})
        formUtils.AddDragSurface(surface);
    c.minMax->SetMinMaxSize(6000, 3500, 0, 0);
    c.minMax->SubClass();
    if (!mainWindow->isMinimized())
        formUtils.SetLeftRightOfParent(mainWindow);
    for (int i = 0; i < 2; ++i) {
        c.lvw[i]->Init(c.lvwFiles[i], 3, c.images.get());
        c.lvw[i]->SetColumnCaptions({"File", "Size", "Modified"});
        c.lvw[i]->ReadSettings("Details" + std::to_string(i), true, {180, 60, 110});
        c.lvw[i]->EnableItemColoring();
    }
    c.pendingSplit = Registry().GetKeyWord(eRegBaseKey::HKCU, kWindowKey, "DetailsSplit", kDefaultSplit);
    CheckColors();
    CheckFonts();
    setWindowIcon(mainWindow->windowIcon());
    m_sync.Cancel = false;
    ApplyClientSize();
}

void frmDetails::Init(bool DiffOnly, bool IsFTP)
{
    m_formMode = DiffOnly ? 1 : 0;
    setWindowTitle(DiffOnly ? QStringLiteral("File Details - View differences")
                            : QStringLiteral("File Details - View files"));
    m_modeFTP = IsFTP;
}

CListView& frmDetails::lvw(int32_t index)
{
    return *m_controls->lvw[index == 0 ? 0 : 1];
}

QPushButton* frmDetails::cmd(int index) const
{
    return m_controls->cmd[index == 0 ? 0 : 1];
}

QLabel* frmDetails::lbl(int index) const
{
    return m_controls->lbl[std::clamp(index, 0, 2)];
}

std::string frmDetails::FolderCaption(int32_t side) const
{
    return m_controls->folders[side == 0 ? 0 : 1];
}

ListImages& frmDetails::Images()
{
    return *m_controls->images;
}

void frmDetails::CheckColors()
{
    Controls& c = *m_controls;
    const QColor text = quorvantell::OleColor::ToQColor(m_sync.Options.TextColor);
    const QColor back = quorvantell::OleColor::ToQColor(m_sync.Options.BackgroundColor);
    for (QTreeView* list : c.lvwFiles) {
        QPalette palette = list->palette();
        palette.setColor(QPalette::Text, text);
        palette.setColor(QPalette::Base, back);
        list->setPalette(palette);
    }
    QPalette cover = c.cover->palette();
    cover.setColor(QPalette::Window, back);
    c.cover->setPalette(cover);
}

void frmDetails::CheckFonts()
{
    Controls& c = *m_controls;
    if (const std::optional<QFont> lists = MGeneral::ConsoleFont(m_sync)) {
        for (QTreeView* list : c.lvwFiles)
            list->setFont(*lists);
    }
    if (const std::optional<QFont> headers = MGeneral::OtherFont(m_sync)) {
        for (int i = 0; i < 2; ++i)
            c.lbl[i]->setFont(*headers);
        c.headerHeight = static_cast<int32_t>(Twips::FromPixelsY(c.lbl[0]->sizeHint().height(), this));
        c.appliedWidth = c.appliedHeight = -1;
        ApplyClientSize();
    }
}

// ---- Layout ---------------------------------------------------------------

void frmDetails::Place(QWidget* widget, int32_t left, int32_t top, int32_t width, int32_t height) const
{
    widget->setGeometry(Twips::ToPixelsX(left, this), Twips::ToPixelsY(top, this),
                        std::max(0, Twips::ToPixelsX(width, this)), std::max(0, Twips::ToPixelsY(height, this)));
}

void frmDetails::ApplyClientSize()
{
    Controls& c = *m_controls;
    const auto w = static_cast<int32_t>(Twips::FromPixelsX(width(), this));
    const auto h = static_cast<int32_t>(Twips::FromPixelsY(height(), this));
    const int32_t listTop = kMargin + c.headerHeight;
    // "&Sync selected file(s)..." starts at w - 3510; where the font would
    // clip its caption there, it grows to the left, its right edge kept.
    const int32_t syncWidth =
        std::max(kSyncWidth, static_cast<int32_t>(std::ceil(Twips::FromPixelsX(c.cmd[0]->sizeHint().width(), this))));
    const int32_t syncLeft = w - 3510 + kSyncWidth - syncWidth;
    if (w != c.appliedWidth) {
        Place(c.cmd[1], w - 1575, c.buttonTop, 1455, kButtonHeight);
        Place(c.cmd[0], syncLeft, c.buttonTop, syncWidth, kButtonHeight);
        c.appliedWidth = w;
    }
    if (h != c.appliedHeight) {
        const int32_t y = h - 750;
        c.buttonTop = y;
        c.listHeight = y - 480;
        Place(c.cmd[0], syncLeft, y, syncWidth, kButtonHeight);
        Place(c.cmd[1], w - 1575, y, 1455, kButtonHeight);
        c.appliedHeight = h;
    }
    Place(c.lbl[2], kMargin, c.buttonTop + 60, syncLeft - 1500 - 3 * kMargin, 255);
    Place(c.progbar, syncLeft - 1500 - kMargin, c.buttonTop + 60, 1500, 255);
    Place(c.split, kMargin, kMargin, w - 2 * kMargin, listTop - kMargin + c.listHeight);
    Place(c.cover, 0, listTop, w, c.listHeight);
    // Re-applying the position lays the columns out again.
    c.split->SetPosition(c.pendingSplit >= 0 && isVisible() ? c.pendingSplit : c.split->Position());
    if (isVisible())
        c.pendingSplit = -1;
}

void frmDetails::SplitterMoved(int32_t leftWidth, int32_t position, int32_t rightWidth)
{
    Controls& c = *m_controls;
    const int32_t listTop = kMargin + c.headerHeight;
    Place(c.pic[0], kMargin, kMargin, leftWidth, c.headerHeight);
    Place(c.lvwFiles[0], kMargin, listTop, leftWidth, c.listHeight);
    Place(c.pic[1], position + kMargin, kMargin, rightWidth, c.headerHeight);
    Place(c.lvwFiles[1], position + kMargin, listTop, rightWidth, c.listHeight);
    for (int i = 0; i < 2; ++i)
        c.lbl[i]->setGeometry(c.pic[i]->rect());
}

void frmDetails::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (windowState() == Qt::WindowNoState) {
        formUtils.dScaleWidth = static_cast<int32_t>(Twips::FromPixelsX(width(), this));
        formUtils.dScaleHeight = static_cast<int32_t>(Twips::FromPixelsY(height(), this));
    }
    if (!isMinimized())
        ApplyClientSize();
}

void frmDetails::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (windowState() != Qt::WindowNoState)
        return;
    formUtils.dLeft = static_cast<int32_t>(Twips::FromPixelsX(frameGeometry().left(), this));
    formUtils.dTop = static_cast<int32_t>(Twips::FromPixelsY(frameGeometry().top(), this));
}

void frmDetails::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_controls->pendingSplit >= 0)
        ApplyClientSize();
}

// ---- What the engine calls --------------------------------------------------

IDetailsList& frmDetails::List(int32_t index)
{
    return *m_controls->lists[index == 0 ? 0 : 1];
}

IStatusLabel& frmDetails::StatusLabel()
{
    return *m_controls->statusCaption;
}

IProgressControl& frmDetails::ProgressBar()
{
    return *m_controls->progress;
}

void frmDetails::SetFolderCaption(int32_t side, const std::string& text)
{
    Controls& c = *m_controls;
    c.folders[side == 0 ? 0 : 1] = text;
    QLabel* label = c.lbl[side == 0 ? 0 : 1];
    label->setText(Text(text));
    label->setToolTip(Text(text));
}

void frmDetails::EnableSync(bool enabled)
{
    m_controls->cmd[0]->setEnabled(enabled);
}

void frmDetails::SetCloseCaption(const std::string& caption)
{
    m_controls->cmd[1]->setText(Text(caption));
}

void frmDetails::RestoreIfMinimised()
{
    if (isMinimized())
        showNormal();
}

void frmDetails::ShowCover(bool shown)
{
    Controls& c = *m_controls;
    c.cover->setVisible(shown);
    if (shown)
        c.cover->raise();
    // Nothing is drawn while the rows come; the lists appear in one step.
    for (QTreeView* list : c.lvwFiles)
        list->setUpdatesEnabled(!shown);
}

void frmDetails::Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // The window is deleted later; the next view opens a new one.
    if (g_instance == this)
        g_instance = nullptr;
    Controls& c = *m_controls;
    formUtils.SaveWindowSettings(windowState() != Qt::WindowNoState);
    formUtils.Terminate();
    Registry().SetKeyWord(eRegBaseKey::HKCU, kWindowKey, "DetailsSplit", c.split->Position());
    for (int i = 0; i < 2; ++i) {
        c.lvw[i]->SaveSettings("Details" + std::to_string(i));
        c.lvw[i]->Terminate();
    }
    if (isVisible())
        close();
}

void frmDetails::closeEvent(QCloseEvent* event)
{
    // While the lists fill, a close asks the filling to stop instead.
    if (m_sync.detailsRunning) {
        m_sync.Cancel = true;
        event->ignore();
        return;
    }
    event->accept();
    Unload();
}

}  // namespace velloran
