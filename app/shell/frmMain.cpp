// frmMain: loading and unloading, the window's events, and what the keys,
// the mouse and drops on the folder titles do.
#include "app/shell/frmMain.h"

#include "app/engine/CSync.h"
#include "app/engine/ScriptRunner.h"
#include "app/shell/MGeneral.h"
#include "app/shell/frmMainControls.h"
#include "app/views/WindowSettings.h"
#include "app/windows/frmDetails.h"
#include "classlib/files/CFile.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "classlib/general/EventPump.h"
#include "classlib/misc/CControls.h"
#include "classlib/misc/CWaitCursor.h"
#include "controls/MinMaxSize.h"
#include "controls/Splitter.h"
#include "controls/Twips.h"
#include "controls/TrayIcon.h"
#include "controls/XPButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QShortcut>
#include <QTimer>
#include <QUrl>

namespace velloran {

namespace {

using quorvantell::eRegBaseKey;

constexpr int32_t kDefaultSplit = 4565;

std::string TreeValueName(int index)
{
    return "ftv" + std::to_string(index);
}

// The first entry of a file manager's drop when it is a local folder.
std::string DroppedFolder(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty() || !data->urls().front().isLocalFile())
        return {};
    const QByteArray path = QFile::encodeName(data->urls().front().toLocalFile());
    const std::string folder(path.constData(), static_cast<size_t>(path.size()));
    return quorvantell::CFile().DirExists(folder) ? folder : std::string();
}

}  // namespace

void frmMain::ConnectControls()
{
    Controls& c = *m_controls;
    for (int i = 0; i < 5; ++i) {
        connect(c.cmdSync[i], &quorvantell::XPButton::Click, this, [this, i] { SyncClicked(i); });
        // The window takes Ctrl+1 to Ctrl+5 before its controls.
        auto* key = new QShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)), this);
        connect(key, &QShortcut::activated, this, [this, i] { m_controls->cmdSync[i]->SetValue(true); });
    }
    for (int i = 0; i < 2; ++i) {
        connect(c.cmd[i], &quorvantell::XPButton::Click, this, [this, i] { FileMenu(i); });
        connect(c.ftv[i], &FolderTreeview::MouseUp, this, [this, i](int button, int, int, int) { TreeMouseUp(i, button); });
        c.lbl[i]->installEventFilter(this);
    }
    connect(c.cmd[7], &quorvantell::XPButton::Click, this, [this] { FileMenu(7); });
    connect(c.split, &quorvantell::Splitter::Moved, this, &frmMain::SplitterMoved);
    connect(c.tray, &quorvantell::TrayIcon::Click, this,
            [this](quorvantell::TrayIcon::eTrayButton button) { TrayClicked(static_cast<int>(button)); });
}

void frmMain::Load()
{
    Controls& c = *m_controls;
    formUtils.Init(this);
    formUtils.ReadWindowSettings("Main", 1500, 1500, 9000, 6000);
    for (QWidget* surface : {c.client, static_cast<QWidget*>(c.lbl[0]), static_cast<QWidget*>(c.lbl[1]),
                             static_cast<QWidget*>(c.lbl[2]), c.pic[0], c.pic[1], c.pic[2]})
        formUtils.AddDragSurface(surface);
    c.minMax->SetMinMaxSize(5500, 3800, 0, 0);
    c.minMax->SubClass();
    // The class library's long loops (a copy between its blocks) turn the
    // event loop too, so Cancel and repainting stay live.
    quorvantell::EventPump::Set([this] { DoEvents(); });
    m_sync->Init();
    // The engine hands the windows the two drag switches; the distance
    // completes them.
    CFormUtils::SetSnapDistance(m_sync->Options.SnapDistance);
    LoadRecentFolders();
    m_sync->SetTrayIcon();
    for (int i = 0; i < 2; ++i) {
        c.treeView[i].Init(c.ftv[i]);
        c.ftv[i]->SetPath(Registry().GetKeyStr(eRegBaseKey::HKCU, kWindowKey, TreeValueName(i), ""));
    }
    // The stored position takes effect once the client area has its size.
    c.pendingSplit = Registry().GetKeyWord(eRegBaseKey::HKCU, kWindowKey, "MainSplit", kDefaultSplit);
    c.client->installEventFilter(this);
    ApplyClientSize();
    CheckColors();
    CheckFonts();
}

void frmMain::Read(const std::string& FileName)
{
    ScriptRunner(*m_sync).Read(FileName);
}

void frmMain::SetHelpFile(const std::string& path)
{
    m_helpFile = path;
}

void frmMain::CheckColors()
{
    Controls& c = *m_controls;
    const OptionsRecord& options = m_sync->Options;
    for (CFolderTreeView& tree : c.treeView) {
        tree.SetBackColor(options.BackgroundColor);
        tree.SetForeColor(options.TextColor);
    }
    for (QWidget* field : {static_cast<QWidget*>(c.txt[0]), static_cast<QWidget*>(c.txt[1]),
                           static_cast<QWidget*>(c.txt[2]), static_cast<QWidget*>(c.cbo)})
        MGeneral::SetFieldColors(field, options.BackgroundColor, options.TextColor);
}

void frmMain::CheckFonts()
{
    const std::optional<QFont> font = MGeneral::OtherFont(*m_sync);
    if (!font)
        return;
    Controls& c = *m_controls;
    for (QWidget* field : {static_cast<QWidget*>(c.txt[0]), static_cast<QWidget*>(c.txt[1]),
                           static_cast<QWidget*>(c.txt[2]), static_cast<QWidget*>(c.cbo)})
        field->setFont(*font);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closing during an operation asks it to stop instead.
    if (m_sync->syncRunning) {
        m_sync->Cancel = true;
        event->ignore();
        return;
    }
    event->accept();
    Unload();
}

void frmMain::Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    setEnabled(false);
    if (frmDetails* details = frmDetails::Instance())
        details->Unload();
    m_sync->Terminate();
    StoreWindowSettings();
    SaveRecentFolders();
    formUtils.Terminate();
    quorvantell::EventPump::Set(nullptr);
    m_controls->tray->Delete();
    emit Unloaded();
}

void frmMain::StoreWindowSettings()
{
    Controls& c = *m_controls;
    formUtils.SaveWindowSettings(isMinimized() || isMaximized());
    for (int i = 0; i < 2; ++i)
        Registry().SetKeyStr(eRegBaseKey::HKCU, kWindowKey, TreeValueName(i), c.ftv[i]->Path());
    Registry().SetKeyWord(eRegBaseKey::HKCU, kWindowKey, "MainSplit", c.split->Position());
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (isMinimized() || windowState() != Qt::WindowNoState)
        return;
    formUtils.dScaleWidth = ClientWidthTwips();
    formUtils.dScaleHeight = ClientHeightTwips();
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Shown, the client area has its size: the stored splitter position
    // can take effect.
    if (m_controls->pendingSplit >= 0)
        ApplyClientSize();
}

void frmMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (windowState() != Qt::WindowNoState)
        return;
    formUtils.dLeft = static_cast<int32_t>(quorvantell::Twips::FromPixelsX(frameGeometry().left(), this));
    formUtils.dTop = static_cast<int32_t>(quorvantell::Twips::FromPixelsY(frameGeometry().top(), this));
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Minimised with "hide from taskbar": the window lives behind the tray
    // icon - and only when there is one to bring it back.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_sync->Options.HideFromTaskbar)
        QTimer::singleShot(0, this, [this] { m_controls->tray->HideWindow(this); });
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    Controls& c = *m_controls;
    if (watched == c.client && event->type() == QEvent::Resize && !isMinimized())
        ApplyClientSize();
    if (watched == c.lbl[0] || watched == c.lbl[1])
        return DropOffered(watched, event);
    if (watched == c.cbo || watched == c.txt[0] || watched == c.txt[1] || watched == c.txt[2])
        FtpFieldKey(watched, event);
    return QMainWindow::eventFilter(watched, event);
}

bool frmMain::DropOffered(QObject* label, QEvent* event)
{
    const int index = label == m_controls->lbl[0] ? 0 : 1;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        // Only a folder is offered; a file is refused.
        if (DroppedFolder(drag->mimeData()).empty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::string folder = DroppedFolder(drop->mimeData());
        if (folder.empty())
            return true;
        drop->acceptProposedAction();
        FolderDropped(index, folder);
        return true;
    }
    default:
        return false;
    }
}

void frmMain::FolderDropped(int index, const std::string& folder)
{
    quorvantell::CWaitCursor wait;
    wait.Restore();
    m_controls->ftv[index]->SetPath(folder);
}

void frmMain::FtpFieldKey(QObject* field, QEvent* event)
{
    Controls& c = *m_controls;
    if (event->type() == QEvent::FocusIn && field != c.cbo) {
        // After the click that gave the focus, which would place the cursor.
        QTimer::singleShot(0, static_cast<QLineEdit*>(field), &QLineEdit::selectAll);
        return;
    }
    if (field != c.cbo || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (event->type() == QEvent::KeyPress) {
        // Delete removes the history entry the field shows.
        const int shown = c.cbo->currentIndex();
        if (key == Qt::Key_Delete && shown >= 0 && c.cbo->currentText() == c.cbo->itemText(shown)) {
            c.cbo->removeItem(shown);
            c.cbo->setCurrentIndex(-1);
        }
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        c.cbo->lineEdit()->selectAll();
    else if (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up || key == Qt::Key_Down)
        quorvantell::ClassLibrary::Shared().Controls->ComboDropDown(c.cbo);
}

void frmMain::TreeMouseUp(int index, int button)
{
    constexpr int kRightButton = 2;
    if (button != kRightButton || !quorvantell::CFile().DirExists(m_controls->ftv[index]->Path()))
        return;
    m_controls->popupTree = index;
    m_controls->mnu[3]->popup(QCursor::pos());
}

void frmMain::TrayClicked(int button)
{
    constexpr int kLeftButtonUp = 514;
    if (button != kLeftButtonUp || !isEnabled())
        return;
    if (isMinimized() || isHidden()) {
        showNormal();
        m_sync->CheckWindowsOnTop();
        show();
        activateWindow();
    } else {
        showMinimized();
    }
}

}  // namespace velloran
