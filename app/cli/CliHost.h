// CliHost: the engine's host for velloran-cli. Messages go to stderr,
// prefixed by their kind, with every control character but their own line
// breaks escaped; questions are asked on the terminal when there is
// one, answered Yes with --yes, and otherwise answered by kind (a
// confirmation and the error policy's question No, the cancel question
// Yes). Ctrl-C sets the engine's Cancel at the next event-loop turn. On a
// terminal the status line and progress are shown on one line of stderr.
#pragma once

#include "app/engine/ISyncHost.h"

#include <cstdint>
#include <string>

namespace velloran {
class CSync;
}

namespace velloran::cli {

class CliHost : public ISyncHost {
public:
    CliHost();
    ~CliHost() override;
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    // The engine whose Cancel flag Ctrl-C sets and whose FTP mode the
    // script runner switches.
    void Attach(CSync& sync) { m_sync = &sync; }
    void SetAnswerYes(bool yes) { m_answerYes = yes; }
    // Information messages (a report the command exists for) go to stdout
    // without a prefix.
    void SetInformationToStdout(bool toStdout) { m_informationToStdout = toStdout; }
    // The folders a command names, taken as given (the folder check reports
    // one that does not exist).
    void SetFolders(const std::string& left, const std::string& right);
    // Whether the user (or the rule for no terminal) confirmed a cancel.
    bool CancelConfirmed() const { return m_cancelConfirmed; }
    // Ends the progress line on the terminal, if one is shown.
    void EndProgressLine();

    IStatusLabel& StatusLabel() override { return m_label; }
    IProgressControl& ProgressBar() override { return m_progress; }
    IProgressControl& ActivityBar() override { return m_activity; }
    void DoEvents() override;
    void ShowMessage(const std::string& text, const std::string& caption, uint32_t icon) override;
    bool AskYesNo(const std::string& text, const std::string& caption, uint32_t icon, QuestionKind kind) override;
    std::string SelectedFolder(int32_t side) const override;
    void SetSelectedFolder(int32_t side, const std::string& path) override;
    FtpSiteFields FtpSite() const override { return m_site; }
    void SetFtpSite(const FtpSiteFields& site) override { m_site = site; }
    void EnableControls(bool) override {}
    void SetExitCaption(const std::string&) override {}
    void SwitchFTPMode() override;
    void UnloadMain() override {}
    void ShowErrorLog(const std::string& text) override;
    void ZOnTop(bool) override {}
    void SetFormSwitches(bool, bool) override {}
    void SetTrayIcon(bool, const std::string&) override {}

private:
    class Label : public IStatusLabel {
    public:
        explicit Label(CliHost& host) : m_host(host) {}
        void SetCaption(const std::string& caption) override;
        std::string caption;

    private:
        CliHost& m_host;
    };
    class Progress : public IProgressControl {
    public:
        explicit Progress(CliHost* host) : m_host(host) {}
        void SetValue(int32_t value) override;
        int32_t Value() const override { return m_value; }

    private:
        CliHost* m_host;  // null: not shown
        int32_t m_value = 0;
    };

    void DrawProgressLine();
    // A yes or no typed on the terminal; false when there is no answer.
    bool ReadAnswer(bool& answer);

    CSync* m_sync = nullptr;
    Label m_label{*this};
    Progress m_progress{this};
    Progress m_activity{nullptr};
    std::string m_folders[2];
    FtpSiteFields m_site;
    bool m_answerYes = false;
    bool m_informationToStdout = false;
    bool m_cancelConfirmed = false;
    bool m_showProgress = false;
    bool m_lineShown = false;
};

}  // namespace velloran::cli
