// ISyncHost: everything the engine needs from "the window" - the main
// window's status line, progress bar and activity indicator, message boxes
// and yes/no questions, a turn of the event loop, the two selected folders,
// the FTP site fields and the few main-window switches the settings and the
// script runner use. The main window, velloran-cli and the tests' recording
// host each implement it; the engine never reaches the user another way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velloran {

// A status line whose caption an operation sets.
class IStatusLabel {
public:
    virtual ~IStatusLabel() = default;
    virtual void SetCaption(const std::string& caption) = 0;
};

// A progress control with an integer value (0..100, or 0..20 for the
// activity indicator).
class IProgressControl {
public:
    virtual ~IProgressControl() = default;
    virtual void SetValue(int32_t value) = 0;
    virtual int32_t Value() const = 0;
};

// Which question is asked, so a host without a user (velloran-cli with no
// terminal) can give each kind its own answer; windows ask them all alike.
enum class QuestionKind {
    Confirm,          // "do you wish to ...?" before an action
    ErrorPolicy,      // "Ignore error and continue operation?"
    CancelOperation,  // "Are you sure you wish to cancel this operation?"
    TrustServer,      // whether to trust a server's key no authority vouches for
};

// The FTP site as the main window's fields hold it.
struct FtpSiteFields {
    std::string Server;
    std::string Username;
    std::string Passwd;
    std::vector<std::string> FTPDirs;  // the folder history, entry 0 selected
    int32_t SavePW = 0;                // check boxes: 0 unchecked, 1 checked
    int32_t Pasv = 0;
    int32_t SubDirs = 1;
    // The key ("SHA256:...") trusted for this server though no CA vouches
    // for its certificate; empty: none.
    std::string TrustedKey;

    bool operator==(const FtpSiteFields&) const = default;
};

class ISyncHost {
public:
    virtual ~ISyncHost() = default;

    // The main window's status line, progress bar and activity indicator.
    virtual IStatusLabel& StatusLabel() = 0;
    virtual IProgressControl& ProgressBar() = 0;
    virtual IProgressControl& ActivityBar() = 0;
    // Lets pending user-interface events run (a Cancel click sets the
    // engine's Cancel flag from here).
    virtual void DoEvents() = 0;

    // A message box with an OK button; icon is one of the MB_ICON values of
    // CGeneral.h.
    virtual void ShowMessage(const std::string& text, const std::string& caption, uint32_t icon) = 0;
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption, uint32_t icon, QuestionKind kind) = 0;

    // The folder selected in the left (0) or right (1) folder tree.
    virtual std::string SelectedFolder(int32_t side) const = 0;
    // Selects a folder in a tree; a folder the tree cannot show leaves the
    // selection as it was (the caller reads it back to find out).
    virtual void SetSelectedFolder(int32_t side, const std::string& path) = 0;
    // Whether both trees show the same folder: the same device and inode.
    virtual bool SelectedFoldersSame() const;

    // The FTP site fields of the main window.
    virtual FtpSiteFields FtpSite() const = 0;
    virtual void SetFtpSite(const FtpSiteFields& site) = 0;

    // Main-window switches used by the script runner.
    virtual void EnableControls(bool enabled) = 0;
    virtual void SetExitCaption(const std::string& caption) = 0;
    // Runs the Tools menu's FTP mode command, which flips the engine's modeFTP.
    virtual void SwitchFTPMode() = 0;
    // Closes the program after a script's quit line.
    virtual void UnloadMain() = 0;

    // The error window with the operation's error text.
    virtual void ShowErrorLog(const std::string& text) = 0;

    // Settings that act on the windows.
    virtual void ZOnTop(bool onTop) = 0;
    virtual void SetFormSwitches(bool useEasyMove, bool snapToEdges) = 0;
    virtual void SetTrayIcon(bool show, const std::string& tip) = 0;
};

}  // namespace velloran
