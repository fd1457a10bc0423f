// The details window's controls, by the names its commands use. Private to
// frmDetails' source files.
#pragma once

#include "app/views/HostControls.h"
#include "app/windows/DetailsList.h"
#include "app/windows/frmDetails.h"

#include <array>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QPushButton;
class QTreeView;

namespace quorvantell {
class MinMaxSize;
class Splitter;
}

namespace velloran {

struct frmDetails::Controls {
    QTreeView* lvwFiles[2] = {};
    std::unique_ptr<CListView> lvw[2];
    std::unique_ptr<DetailsList> lists[2];  // the engine's view of them
    std::unique_ptr<ListImages> images;
    QWidget* pic[2] = {};      // the headers over the lists
    QLabel* lbl[3] = {};       // 0, 1 the headers' folders, 2 the status line
    std::string folders[2];    // the headers' texts as bytes
    QWidget* cover = nullptr;  // laid over the lists while they fill
    quorvantell::Splitter* split = nullptr;
    QPushButton* cmd[2] = {};  // "&Sync selected file(s)...", "&Close"
    QProgressBar* progbar = nullptr;
    quorvantell::MinMaxSize* minMax = nullptr;
    QMenu* mnuPopup = nullptr;
    QAction* popupSync = nullptr;
    QAction* popupProperties = nullptr;
    QAction* popupExecute = nullptr;
    std::unique_ptr<LabelCaption> statusCaption;
    std::unique_ptr<BarValue> progress;
    int currentList = 0;  // the list that last had the focus or was right-clicked
    int popupList = 0;    // the list whose popup menu is open
    QPoint dragStart;     // where a drag out of a list may begin
    int32_t headerHeight = 240;  // twips
    int32_t listHeight = 0;
    int32_t buttonTop = 0;
    int32_t appliedWidth = -1;
    int32_t appliedHeight = -1;
    int32_t pendingSplit = -1;  // the stored splitter position, until shown
};

}  // namespace velloran
