// frmLog: the error log window, captioned "Error Log" - the errors and
// warnings of the last operation in a read-only text box, with "&Save to
// file" and "Close" (also Esc) under it. There is one such window per
// program, owned by the main window: it stays on top of its owner without
// blocking it, and its place and size are remembered as "ErrLog".
#pragma once

#include "app/views/CFormUtils.h"

#include <QWidget>

#include <cstdint>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace quorvantell {
class MinMaxSize;
}

namespace velloran {

class CSync;

class frmLog : public QWidget {
    Q_OBJECT

public:
    // Shows an operation's error text (lines ending in CR LF, as the engine
    // builds them) in the error log window: an open window gets the new text
    // in place of the old one, otherwise a window is created on top of
    // owner. An empty text shows nothing. sync gives the on-top setting and
    // the folder the save dialog starts in ("lastLogDir", which a confirmed
    // dialog updates); it must outlive the window.
    static void ShowErrors(QWidget* owner, CSync& sync, const std::string& text);
    // The open window, or null when there is none.
    static frmLog* Instance();
    // The save dialogs' filter of log files: "Log File" (*.log), "Text File "
    // (*.txt) and every file.
    static std::string LogFileFilter();

    // The text box takes the settings' colours and the other windows' font.
    void CheckColors();
    void CheckFonts();

    ~frmLog() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    frmLog(QWidget* owner, CSync& sync);

    void Load(QWidget* owner);
    void SetText(const std::string& text);
    // Lays the controls out for a client area of W x H twips, moving only
    // what depends on a dimension that changed.
    void ArrangeControls(int32_t W, int32_t H);
    // "&Save to file": asks for a file until the text is saved there or the
    // dialog is cancelled; a saved log closes the window.
    void SaveToFile();
    // Stores the window's place and leaves the program's window list; runs
    // once, at the close or when the owner goes first.
    void Unload();

    CSync& m_sync;
    CFormUtils formUtils;
    quorvantell::MinMaxSize* m_minMaxSize = nullptr;
    QPlainTextEdit* txt = nullptr;
    QPushButton* cmd[2] = {nullptr, nullptr};
    std::string m_text;  // as shown, with the platform's line ends; saved as it is
    int32_t m_lastWidth = 0;
    int32_t m_lastHeight = 0;
    bool m_unloaded = false;
};

}  // namespace velloran
