// RecordingHost: the engine's host for tests. It keeps every caption,
// progress value, message and question, answers questions from a scripted
// queue (an unscripted question fails the test and answers No), and can run
// a hook at a chosen event-loop turn, for example to press Cancel.
#pragma once

#include "app/engine/ISyncHost.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace velloran {
class CSync;
}

namespace velloran::test {

class RecordingHost : public ISyncHost {
public:
    struct Message {
        std::string text;
        std::string caption;
        uint32_t icon = 0;
    };
    struct Question {
        std::string text;
        std::string caption;
        uint32_t icon = 0;
        QuestionKind kind = QuestionKind::Confirm;
        bool answer = false;
    };

    RecordingHost();
    ~RecordingHost() override;

    // The engine whose modeFTP the FTP-mode command flips.
    void Attach(CSync& sync) { m_sync = &sync; }
    // Runs hook at event-loop turn number `turn` (1-based), counting the
    // engine's turns and the class library's (a copy between its blocks).
    void AtTurn(int turn, std::function<void()> hook);
    // Sets the engine's Cancel at that turn.
    void CancelAtTurn(int turn);
    void SetFolders(const std::string& left, const std::string& right);

    IStatusLabel& StatusLabel() override { return m_label; }
    IProgressControl& ProgressBar() override { return m_progress; }
    IProgressControl& ActivityBar() override { return m_activity; }
    void DoEvents() override;
    void ShowMessage(const std::string& text, const std::string& caption, uint32_t icon) override;
    bool AskYesNo(const std::string& text, const std::string& caption, uint32_t icon, QuestionKind kind) override;
    std::string SelectedFolder(int32_t side) const override { return folders[side == 0 ? 0 : 1]; }
    void SetSelectedFolder(int32_t side, const std::string& path) override;
    FtpSiteFields FtpSite() const override { return site; }
    void SetFtpSite(const FtpSiteFields& value) override { site = value; }
    void EnableControls(bool enabled) override { controlsEnabled.push_back(enabled); }
    void SetExitCaption(const std::string& caption) override { exitCaptions.push_back(caption); }
    void SwitchFTPMode() override;
    void UnloadMain() override { unloaded = true; }
    void ShowErrorLog(const std::string& text) override { errorLogs.push_back(text); }
    void ZOnTop(bool onTop) override { zOnTop.push_back(onTop); }
    void SetFormSwitches(bool useEasyMove, bool snapToEdges) override;
    void SetTrayIcon(bool show, const std::string& tip) override;

    // Texts of the messages, in order.
    std::vector<std::string> MessageTexts() const;

    std::deque<bool> answers;  // the scripted answers, first asked first
    std::vector<Message> messages;
    std::vector<Question> questions;
    std::vector<std::string> captions;
    std::vector<int32_t> progressValues;
    std::vector<int32_t> activityValues;
    int turns = 0;
    std::string folders[2];
    FtpSiteFields site;
    std::vector<bool> controlsEnabled;
    std::vector<std::string> exitCaptions;
    std::vector<std::string> errorLogs;
    std::vector<bool> zOnTop;
    std::vector<std::string> formSwitches;
    std::vector<std::string> trayCalls;
    int ftpSwitches = 0;
    bool unloaded = false;

private:
    class Label : public IStatusLabel {
    public:
        explicit Label(std::vector<std::string>& log) : m_log(log) {}
        void SetCaption(const std::string& caption) override { m_log.push_back(caption); }

    private:
        std::vector<std::string>& m_log;
    };
    class Progress : public IProgressControl {
    public:
        explicit Progress(std::vector<int32_t>& log) : m_log(log) {}
        void SetValue(int32_t value) override
        {
            m_value = value;
            m_log.push_back(value);
        }
        int32_t Value() const override { return m_value; }

    private:
        std::vector<int32_t>& m_log;
        int32_t m_value = 0;
    };

    CSync* m_sync = nullptr;
    Label m_label{captions};
    Progress m_progress{progressValues};
    Progress m_activity{activityValues};
    std::vector<std::pair<int, std::function<void()>>> m_hooks;
};

}  // namespace velloran::test
