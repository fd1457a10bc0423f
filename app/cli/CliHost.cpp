// CliHost: the terminal as the engine's host.
#include "app/cli/CliHost.h"

#include "app/engine/CSync.h"
#include "app/engine/Printable.h"
#include "app/engine/ProgramInfo.h"
#include "app/engine/RunReport.h"
#include "classlib/files/CFile.h"
#include "classlib/general/CGeneral.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <iostream>

namespace velloran::cli {

namespace {

std::atomic<bool> g_interrupted{false};

// The first Ctrl-C asks the running operation to cancel; a second one ends
// the program at once.
void OnInterrupt(int)
{
    if (g_interrupted.exchange(true)) {
        signal(SIGINT, SIG_DFL);
        raise(SIGINT);
    }
}

std::string KindOf(uint32_t icon)
{
    switch (icon & 0xF0) {
    case quorvantell::MB_ICONERROR: return "error";
    case quorvantell::MB_ICONWARNING: return "warning";
    case quorvantell::MB_ICONQUESTION: return "question";
    default: return "info";
    }
}

// The text for the terminal: its own line breaks kept, every other control
// character escaped, so no escape sequence in it reaches the terminal. Names
// are escaped where a text is built, so none can add a line.
std::string Shown(const std::string& text)
{
    const std::string lines = RunReport::PlatformLineEnds(text);
    std::string out;
    for (size_t start = 0;;) {
        const size_t end = lines.find('\n', start);
        out += Printable(std::string_view(lines).substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return out;
        out += '\n';
        start = end + 1;
    }
}

std::string WithCaption(const std::string& text, const std::string& caption)
{
    const std::string body = Shown(text);
    return caption.empty() || caption == kProgramTitle ? body : Shown(caption) + ": " + body;
}

}  // namespace

CliHost::CliHost() : m_showProgress(isatty(STDERR_FILENO) != 0)
{
    struct sigaction action{};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

CliHost::~CliHost()
{
    EndProgressLine();
    signal(SIGINT, SIG_DFL);
}

void CliHost::SetFolders(const std::string& left, const std::string& right)
{
    m_folders[0] = left;
    m_folders[1] = right;
}

void CliHost::Label::SetCaption(const std::string& text)
{
    caption = text;
    m_host.DrawProgressLine();
}

void CliHost::Progress::SetValue(int32_t value)
{
    m_value = value;
    if (m_host != nullptr)
        m_host->DrawProgressLine();
}

void CliHost::DrawProgressLine()
{
    if (!m_showProgress)
        return;
    std::fprintf(stderr, "\r\033[K%s %3d%%", Printable(m_label.caption).c_str(), m_progress.Value());
    std::fflush(stderr);
    m_lineShown = true;
}

void CliHost::EndProgressLine()
{
    if (!m_lineShown)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    m_lineShown = false;
}

void CliHost::DoEvents()
{
    if (m_sync != nullptr && g_interrupted.exchange(false))
        m_sync->Cancel = true;
}

void CliHost::ShowMessage(const std::string& text, const std::string& caption, uint32_t icon)
{
    EndProgressLine();
    if (m_informationToStdout && KindOf(icon) == "info") {
        std::cout << Shown(text) << '\n' << std::flush;
        return;
    }
    std::cerr << KindOf(icon) << ": " << WithCaption(text, caption) << '\n' << std::flush;
}

bool CliHost::ReadAnswer(bool& answer)
{
    if (isatty(STDIN_FILENO) == 0)
        return false;
    for (;;) {
        std::cerr << "[y/n] " << std::flush;
        std::string line;
        if (!std::getline(std::cin, line)) {
            std::cin.clear();
            return false;
        }
        if (line == "y" || line == "Y" || line == "yes") {
            answer = true;
            return true;
        }
        if (line == "n" || line == "N" || line == "no") {
            answer = false;
            return true;
        }
    }
}

bool CliHost::AskYesNo(const std::string& text, const std::string& caption, uint32_t, QuestionKind kind)
{
    EndProgressLine();
    std::cerr << "question: " << WithCaption(text, caption) << '\n';
    bool answer = false;
    if (kind == QuestionKind::TrustServer) {
        // Trust is given by naming the key, never by a blanket yes.
        std::cerr << "no (name the key with --trust-fingerprint)\n";
    } else if (m_answerYes) {
        answer = true;
        std::cerr << "yes (--yes)\n";
    } else if (!ReadAnswer(answer)) {
        answer = kind == QuestionKind::CancelOperation;
        std::cerr << (answer ? "yes" : "no") << " (no terminal to ask)\n";
    }
    std::cerr << std::flush;
    if (kind == QuestionKind::CancelOperation && answer)
        m_cancelConfirmed = true;
    return answer;
}

std::string CliHost::SelectedFolder(int32_t side) const
{
    return m_folders[side == 0 ? 0 : 1];
}

void CliHost::SetSelectedFolder(int32_t side, const std::string& path)
{
    // Like a folder tree: only a folder that exists can be selected.
    if (quorvantell::CFile().DirExists(path))
        m_folders[side == 0 ? 0 : 1] = path;
}

void CliHost::SwitchFTPMode()
{
    if (m_sync != nullptr)
        m_sync->modeFTP = !m_sync->modeFTP;
}

void CliHost::ShowErrorLog(const std::string& text)
{
    EndProgressLine();
    std::cerr << Shown(text) << std::flush;
}

}  // namespace velloran::cli
