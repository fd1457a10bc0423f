// frmMain: the program's main window - the two folder trees (the right one
// replaced by the FTP site's fields in FTP mode), the five sync buttons, the
// view and exit buttons, the status line and the two progress bars, the
// menus, the recent folders and the tray icon. It turns every command into
// calls on the sync controller, refuses a second operation while one runs,
// reports the end of each operation, hosts the script runner and is the
// engine's host: status line, progress bars, questions, messages, the
// event-loop turns, the two folders and the FTP site fields.
#pragma once

#include "app/engine/ISyncHost.h"
#include "app/views/CFormUtils.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <string>

namespace velloran {

class CSync;

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

signals:
    // The window has unloaded; the program ends when no window is left.
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Controls;

    std::unique_ptr<Controls> m_controls;
    std::unique_ptr<CSync> m_sync;
    std::string m_helpFile;
};

}  // namespace velloran
