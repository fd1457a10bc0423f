// frmSync: the sync dialog, captioned "Sync files" - one file pair of the
// details window at a time: its name, both sides' folder, size and date, and
// a button showing the direction code to carry out, which a click cycles
// through the codes allowed for the pair. "S&ync" copies the file one way or
// deletes it on one side (locally or on the FTP server) and brings the
// engine's record and both details lists up to date; "S&kip" leaves it.
// The details window fills it for each selected row and shows it modally.
#pragma once

#include "app/views/CFormUtils.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

class QLabel;

namespace quorvantell {
class MinMaxSize;
class XPButton;
}

namespace velloran {

class CSync;
class CVell;
class frmDetails;
class ListImages;

class frmSync : public QDialog {
    Q_OBJECT

public:
    explicit frmSync(frmDetails& details);
    ~frmSync() override;

    // The open dialog, or null.
    static frmSync* Instance();

    // Fill the dialog for row `item` (1-based) of the details list `list`
    // (0 left, 1 right); the caller then shows it modally.
    void FillForm(int32_t list, int32_t item);
    void FillFormFTP(int32_t list, int32_t item);
    // True when the last FTP transfer or delete failed; false after a fill.
    bool HasErr() const { return m_hasErr; }
    // The direction code the button shows: ">", "<", ">+", "+<", "-<",
    // ">-" or "S".
    std::string Direction() const;
    void CheckFonts();

    quorvantell::XPButton* cmdSyncDir() const { return m_cmdSyncDir; }
    quorvantell::XPButton* cmd(int index) const { return m_cmd[index]; }
    QLabel* imgFile() const { return m_imgFile; }
    QLabel* lblFileName() const { return m_lblFileName; }
    QLabel* lblLeft() const { return m_lblLeft; }
    QLabel* lblRight() const { return m_lblRight; }
    QWidget* picRow() const { return m_picRow; }

public slots:
    // Only "S&ync" and "S&kip" end the dialog.
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void CreateControls();
    void Load();
    void Fill(int32_t list, int32_t item, bool ftp);
    // One side's label: the fitted folder, then size and date, or "Doesn't exist".
    void FillSide(QLabel* label, int32_t side, bool exists);
    void SetDirection(const std::string& code);
    void CycleSyncMode();
    void SyncClicked();
    bool CopyRightToLeft();
    bool CopyLeftToRight();
    bool DeleteSide(int32_t side);
    // After a copy to side `to`: the record equals the source side, both
    // rows lose their state image, the target row takes the source row's texts.
    void MarkSynced(int32_t to);
    // A failed local copy or delete, with the system's reason.
    void ReportFailure(const std::string& what, int error);
    void ApplyClientSize();
    // The pair's record in the engine's file list.
    CVell Record() const;
    std::string Key() const { return "F" + std::to_string(m_idx); }

    frmDetails& m_details;
    CSync& m_sync;
    std::unique_ptr<ListImages> imgLst;
    CFormUtils formUtils;
    quorvantell::MinMaxSize* m_minMax = nullptr;
    QWidget* m_picRow = nullptr;
    quorvantell::XPButton* m_cmdSyncDir = nullptr;
    quorvantell::XPButton* m_cmd[2] = {nullptr, nullptr};
    QLabel* m_imgFile = nullptr;
    QLabel* m_lblFileName = nullptr;
    QLabel* m_lblLeft = nullptr;
    QLabel* m_lblRight = nullptr;

    bool m_hasErr = false;
    bool m_ftp = false;
    int32_t m_list = 0;
    int32_t m_item = 0;
    int32_t m_idx = 0;  // the pair's position in the engine's file list
    // The name and both folders as bytes; the labels show them fitted.
    std::string m_name;
    std::string m_folder[2];
    int32_t m_lastHeight = -1;
};

}  // namespace velloran
