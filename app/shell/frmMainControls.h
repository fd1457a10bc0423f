// The main window's controls, by the names its commands use. Private to
// frmMain's source files.
#pragma once

#include "app/engine/ISyncHost.h"
#include "app/shell/frmMain.h"
#include "app/views/UiText.h"
#include "app/views/CFolderTreeView.h"
#include "app/views/FolderTreeview.h"
#include "app/views/HostControls.h"

#include <QLabel>
#include <QProgressBar>

#include <cstdint>
#include <memory>

namespace velloran {

// The window's caption.
constexpr const char* kMainCaption = "Quorvantell Velloran";

struct frmMain::Controls {
    QWidget* client = nullptr;
    QLabel* lbl[7] = {};  // 0 left, 1 right, 2 status, 3..6 the FTP fields' labels
    FolderTreeview* ftv[2] = {};
    CFolderTreeView treeView[2];
    QWidget* pic[3] = {};  // 0 sync buttons, 1 view and exit buttons, 2 FTP fields
    quorvantell::XPButton* cmdSync[5] = {};
    quorvantell::XPButton* cmd[8] = {};  // 0, 1 and 7 are used
    QLineEdit* txt[3] = {};
    QComboBox* cbo = nullptr;
    QCheckBox* chk[3] = {};
    QProgressBar* progbar[2] = {};
    quorvantell::Splitter* split = nullptr;
    quorvantell::TrayIcon* tray = nullptr;
    quorvantell::MinMaxSize* minMax = nullptr;
    QMenu* mnu[4] = {};  // File, Tools, Help, and the trees' popup
    QMenu* mnuRecent = nullptr;
    QAction* ftpMode = nullptr;
    std::unique_ptr<LabelCaption> statusCaption;
    std::unique_ptr<BarValue> bars[2];
    int popupTree = 0;  // the tree whose popup menu is open
    int32_t appliedWidth = -1;  // twips
    int32_t appliedHeight = -1;
    int32_t treeHeight = 0;
    int32_t syncTop = 0;  // the sync buttons' top within the trees' area
    int32_t pendingSplit = -1;  // the stored splitter position, until the window shows
};

}  // namespace velloran
