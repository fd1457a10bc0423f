#include "tests/app/support/RecordingHost.h"

#include "app/engine/CSync.h"
#include "classlib/files/CFile.h"
#include "classlib/general/EventPump.h"

#include <gtest/gtest.h>

namespace velloran::test {

RecordingHost::RecordingHost()
{
    quorvantell::EventPump::Set([this] { DoEvents(); });
}

RecordingHost::~RecordingHost()
{
    quorvantell::EventPump::Set(nullptr);
}

void RecordingHost::AtTurn(int turn, std::function<void()> hook)
{
    m_hooks.emplace_back(turn, std::move(hook));
}

void RecordingHost::CancelAtTurn(int turn)
{
    AtTurn(turn, [this] {
        ASSERT_NE(m_sync, nullptr) << "Attach the engine first";
        m_sync->Cancel = true;
    });
}

void RecordingHost::SetFolders(const std::string& left, const std::string& right)
{
    folders[0] = left;
    folders[1] = right;
}

void RecordingHost::DoEvents()
{
    ++turns;
    for (auto& [turn, hook] : m_hooks)
        if (turn == turns)
            hook();
}

void RecordingHost::ShowMessage(const std::string& text, const std::string& caption, uint32_t icon)
{
    messages.push_back({text, caption, icon});
}

bool RecordingHost::AskYesNo(const std::string& text, const std::string& caption, uint32_t icon, QuestionKind kind)
{
    bool answer = false;
    if (answers.empty()) {
        ADD_FAILURE() << "Unexpected question: " << text;
    } else {
        answer = answers.front();
        answers.pop_front();
    }
    questions.push_back({text, caption, icon, kind, answer});
    return answer;
}

void RecordingHost::SetSelectedFolder(int32_t side, const std::string& path)
{
    if (quorvantell::CFile().DirExists(path))
        folders[side == 0 ? 0 : 1] = path;
}

void RecordingHost::SwitchFTPMode()
{
    ++ftpSwitches;
    if (m_sync != nullptr)
        m_sync->modeFTP = !m_sync->modeFTP;
}

void RecordingHost::SetFormSwitches(bool useEasyMove, bool snapToEdges)
{
    formSwitches.push_back(std::string(useEasyMove ? "move" : "-") + "," + (snapToEdges ? "snap" : "-"));
}

void RecordingHost::SetTrayIcon(bool show, const std::string& tip)
{
    trayCalls.push_back((show ? "add " : "delete ") + tip);
}

std::vector<std::string> RecordingHost::MessageTexts() const
{
    std::vector<std::string> texts;
    for (const Message& m : messages)
        texts.push_back(m.text);
    return texts;
}

}  // namespace velloran::test
