// frmMain: the program's main window - the two folder trees (the right one
// replaced by the FTP site's fields in FTP mode), the five sync buttons, the
// view and exit buttons, the status line and the two progress bars, the
// menus, the recent folders and the tray icon. It turns every command into
// calls on the sync controller, refuses a second operation while one runs,
// reports the end of each operation, hosts the script runner and is the
// engine's host: status line, progress bars, questions, messages, the
// event-loop turns, the two folders and the FTP site fields.
//
// Geometry follows the window's layout rules in twips (frmMainLayout.cpp);
// commands are in frmMainCommands.cpp, the host in frmMainHost.cpp.
#pragma once

#include "app/engine/ISyncHost.h"
#include "app/shell/CRecentFiles.h"
#include "app/views/CFormUtils.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QCheckBox;
class QMenu;
class QProgressBar;

namespace quorvantell {
struct DateTime;
class MinMaxSize;
class Splitter;
class TrayIcon;
class XPButton;
}

namespace velloran {

class CFolderTreeView;
class CSync;
class FolderTreeview;

class frmMain : public QMainWindow, public ISyncHost {
    Q_OBJECT

public:
    frmMain();
    ~frmMain() override;

    // The sync controller; it lives as long as the window.
    CSync& Sync() { return *m_sync; }

    // The load handler: remembered position, size limits, settings, recent
    // folders, tray icon, the trees' folders, the splitter, colours, fonts.
    // The window is not shown.
    void Load();
    // Runs a script file; refused with a message while an operation runs.
    void Read(const std::string& FileName);
    // The help page "View help..." opens; set at the first start.
    void SetHelpFile(const std::string& path);
    // Re-apply the colour and font settings.
    void CheckColors();
    void CheckFonts();

    CFormUtils formUtils;
    CRecentFiles recentFiles;

    // ISyncHost
    IStatusLabel& StatusLabel() override;
    IProgressControl& ProgressBar() override;
    IProgressControl& ActivityBar() override;
    void DoEvents() override;
    void ShowMessage(const std::string& text, const std::string& caption, uint32_t icon) override;
    bool AskYesNo(const std::string& text, const std::string& caption, uint32_t icon, QuestionKind kind) override;
    std::string SelectedFolder(int32_t side) const override;
    void SetSelectedFolder(int32_t side, const std::string& path) override;
    bool SelectedFoldersSame() const override;
    FtpSiteFields FtpSite() const override;
    void SetFtpSite(const FtpSiteFields& site) override;
    void EnableControls(bool enabled) override;
    void SetExitCaption(const std::string& caption) override;
    void SwitchFTPMode() override;
    void UnloadMain() override;
    void ShowErrorLog(const std::string& text) override;
    void ZOnTop(bool onTop) override;
    void SetFormSwitches(bool useEasyMove, bool snapToEdges) override;
    void SetTrayIcon(bool show, const std::string& tip) override;

    // The controls, by their names, for the tests and the gallery.
    quorvantell::XPButton* cmdSync(int index) const;
    quorvantell::XPButton* cmd(int index) const;  // 0 view files, 1 view differences, 7 exit
    FolderTreeview* ftv(int index) const;
    QLabel* lbl(int index) const;
    QLineEdit* txt(int index) const;
    QComboBox* cbo() const;
    QCheckBox* chk(int index) const;
    QWidget* pic(int index) const;
    QMenu* mnu(int index) const;
    quorvantell::Splitter* split() const;
    quorvantell::TrayIcon* trayIcon() const;

signals:
    // The window has unloaded; the program ends when no window is left.
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Controls;

    // Construction (frmMainLayout.cpp).
    void CreateControls();
    void CreateMenus();
    void CreateFtpFields(QWidget* panel);
    void CreateSyncButtons(QWidget* panel);
    void ConnectControls();
    // The layout rules: client width and height changed, splitter moved.
    void ApplyClientSize();
    void SplitterMoved(int32_t leftWidth, int32_t position, int32_t rightWidth);
    void Place(QWidget* widget, int32_t left, int32_t top, int32_t width, int32_t height) const;
    int32_t ClientWidthTwips() const;
    int32_t ClientHeightTwips() const;

    // Commands (frmMainCommands.cpp).
    void FileMenu(int index);
    void ToolsMenu(int index);
    void HelpMenu(int index);
    void WebMenu(int index);
    void SyncClicked(int index);
    // "&View files..." and "View &differences...": the details window,
    // filled by the engine.
    void ViewFiles(bool DiffOnly);
    void GetLatestTimestamps();
    void ToggleFtpMode();
    void RunScriptChosen();
    void RecentChosen(const std::string& folder);
    void LoadRecentFolders();
    void SaveRecentFolders();
    // The folder, ending in "/", at the top of the recent folders.
    void AddRecentFolder(const std::string& folder);
    void AddFoldersToRecent();
    // The tree popup's "&Open": the folder in the file manager.
    void OpenTreeFolder();
    // The FTP folder field made a server path and put at the top of its history.
    void NormaliseFtpDirectory();
    bool RunFTPCopy();
    // The end of an operation started from the window: "Done.", the bars,
    // the success message, the report; index is the sync button's.
    void FinishOperation(bool result, int index, const quorvantell::DateTime& started);
    void TrayClicked(int button);
    void TreeMouseUp(int index, int button);
    void FolderDropped(int index, const std::string& folder);
    bool DropOffered(QObject* label, QEvent* event);
    void FtpFieldKey(QObject* field, QEvent* event);

    void Unload();
    void StoreWindowSettings();

    std::unique_ptr<Controls> m_controls;
    // The FTP site's trusted server key: no field shows it.
    std::string m_trustedKey;
    std::unique_ptr<CSync> m_sync;
    std::string m_helpFile;
    bool m_unloaded = false;
};

}  // namespace velloran
