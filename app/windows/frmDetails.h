// frmDetails: the file details window - the files of the two compared
// folders side by side, one list per side, filled by the engine
// (CSync::PopulateList), with the status line and progress bar of the
// filling, a popup menu (sync, properties, execute), dragging files out to
// other programs, and "&Sync selected file(s)...", which runs the sync
// dialog for every selected file row. One window at a time, owned by the
// main window.
#pragma once

#include "app/engine/IDetailsWindow.h"
#include "app/views/CFormUtils.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

class QLabel;
class QPushButton;
class QMouseEvent;

namespace quorvantell {
class XPButton;
}

namespace velloran {

class CListView;
class CSync;
class ListImages;

class frmDetails : public QWidget, public IDetailsWindow {
    Q_OBJECT

public:
    // The window of the program, created on first use over the main window.
    static frmDetails* Instance();
    static frmDetails& Open(QWidget* mainWindow, CSync& sync);
    ~frmDetails() override;

    // Differences only or all files; the right side on an FTP server or not.
    void Init(bool DiffOnly, bool IsFTP);
    // The list wrapper of list `index` (0 left, 1 right).
    CListView& lvw(int32_t index);
    // The header over list `side`: the folder (on the right in FTP mode
    // "ftp://" + server + folder); a row's full path is it followed by the
    // row's text.
    std::string FolderCaption(int32_t side) const;
    bool modeFTP() const { return m_modeFTP; }
    CSync& Sync() { return m_sync; }
    // The icons of both lists.
    ListImages& Images();
    void CheckColors();
    void CheckFonts();
    // 0 "&Sync selected file(s)...", 1 "&Close"; labels 0, 1 the headers'
    // folders, 2 the status line.
    QPushButton* cmd(int index) const;
    QLabel* lbl(int index) const;

    // IDetailsWindow
    IDetailsList& List(int32_t index) override;
    IStatusLabel& StatusLabel() override;
    IProgressControl& ProgressBar() override;
    void SetFolderCaption(int32_t side, const std::string& text) override;
    void EnableSync(bool enabled) override;
    void SetCloseCaption(const std::string& caption) override;
    void RestoreIfMinimised() override;
    void ShowCover(bool shown) override;
    void Unload() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmDetails(QWidget* mainWindow, CSync& sync);
    struct Controls;

    void CreateControls();
    void ConnectControls();
    void Load(QWidget* mainWindow);
    // The layout rules: client size changed, splitter moved (twips).
    void ApplyClientSize();
    void SplitterMoved(int32_t leftWidth, int32_t position, int32_t rightWidth);
    void Place(QWidget* widget, int32_t left, int32_t top, int32_t width, int32_t height) const;

    // The lists' events (frmDetailsCommands.cpp); the list index of a
    // watched object, -1 for none.
    int ListOf(QObject* watched) const;
    bool ListPressed(int list, QMouseEvent* event);
    bool ListDragged(int list, QMouseEvent* event);
    // The header's folder followed by the row's text.
    std::string FullPath(int list, int32_t row);
    void PopupProperties();
    void PopupExecute();
    // "&Sync selected file(s)...": the sync dialog for every selected file
    // row of the current list, then "All done!".
    void SyncSelected();
    void CloseClicked();

    CSync& m_sync;
    std::unique_ptr<Controls> m_controls;
    CFormUtils formUtils;
    bool m_modeFTP = false;
    int32_t m_formMode = 0;
    bool m_unloaded = false;
};

}  // namespace velloran
