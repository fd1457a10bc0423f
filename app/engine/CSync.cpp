// CSync: construction, the error handlers shared by the long routines, the
// progress step and the whole-tree wrappers.
#include "app/engine/CSync.h"

#include "app/engine/AppError.h"
#include "app/engine/Printable.h"
#include "app/engine/ProgramInfo.h"
#include "classlib/general/CGeneral.h"

#include <algorithm>
#include <cmath>

namespace velloran {

namespace {

constexpr const char* kCancelQuestion = "Are you sure you wish to cancel this operation?";
constexpr const char* kCancelledByUser = "Cancelled by user.";

bool IsCancelRequest(const std::exception& error)
{
    return AppError::Is(error, AppError::kCancelRequest);
}

}  // namespace

CSync::CSync(ISyncHost& host) : m_host(host) {}

void CSync::Attempt(const std::function<void()>& statement, const ErrorHandler& handler)
{
    try {
        statement();
    } catch (const std::exception& error) {
        handler(error);
    }
}

void CSync::ConfirmCancel(uint32_t icon)
{
    Cancel = false;
    if (m_host.AskYesNo(kCancelQuestion, kProgramTitle, icon, QuestionKind::CancelOperation))
        throw AppError(AppError::kCancelRequest, kCancelledByUser);
}

void CSync::ScanErrorHandler(const std::exception& error)
{
    // An FTP listing error has been reported by the FTP scan already.
    if (AppError::Is(error, AppError::kFtpError))
        throw dynamic_cast<const AppError&>(error);
    ConfirmCancel(quorvantell::MB_ICONQUESTION);
}

void CSync::TreeErrorHandler(const std::exception& error, uint32_t icon)
{
    if (IsCancelRequest(error)) {
        ConfirmCancel(quorvantell::MB_ICONQUESTION);
        return;
    }
    const std::string text = std::string(error.what()) + "\r\n\r\nIgnore error and continue operation?";
    if (!m_host.AskYesNo(text, "Error encountered", icon, QuestionKind::ErrorPolicy))
        throw AppError(AppError::kCancelRequest, kCancelledByUser);
}

void CSync::SetProgress(int32_t value)
{
    // The server listing's count runs a little past the end before it wraps.
    value = std::min(value, 100);
    if (progressBar != nullptr && progressBar->Value() != value)
        progressBar->SetValue(value);
}

void CSync::ResetProgress(int32_t value)
{
    if (progressBar != nullptr)
        progressBar->SetValue(value);
}

void CSync::ProgressStep(int64_t n, int32_t interval, double step, const ErrorHandler& handler)
{
    if (n % interval != 0)
        return;
    CheckCancel(handler);
    SetProgress(static_cast<int32_t>(std::lround(step * static_cast<double>(n))));
    m_host.DoEvents();
}

void CSync::CheckCancel(const ErrorHandler& handler)
{
    Attempt(
        [this] {
            if (Cancel)
                throw AppError(AppError::kCancelRequest, kCancelledByUser);
        },
        handler);
}

void CSync::AdvanceActivity()
{
    IProgressControl& activity = m_host.ActivityBar();
    int32_t value = activity.Value() + 1;
    if (value > 20)
        value = 0;
    activity.SetValue(value);
    m_host.DoEvents();
}

bool CSync::RunWorker(const std::function<bool()>& worker)
{
    try {
        return worker();
    } catch (const std::exception& error) {
        if (IsCancelRequest(error)) {
            m_host.ShowMessage(kCancelledByUser, kProgramTitle, quorvantell::MB_ICONINFORMATION);
            throw;
        }
        // A failed FTP listing or upload has shown its own message.
        if (!AppError::Is(error, AppError::kFtpError) && !AppError::Is(error, AppError::kUploadFailed))
            m_host.ShowMessage(error.what(), kProgramTitle, quorvantell::MB_ICONWARNING);
        return false;
    }
}

bool CSync::DoCopy(int32_t fromIdx, int32_t toIdx)
{
    if (!checkFoldersSeparate())
        return false;
    progressBar = &m_host.ProgressBar();
    return RunWorker([&] { return CopyTree(fromIdx, toIdx); });
}

bool CSync::DoDelete(int32_t fromIdx, int32_t toIdx)
{
    if (!checkFoldersSeparate())
        return false;
    progressBar = &m_host.ProgressBar();
    return RunWorker([&] { return DeleteTree(fromIdx, toIdx); });
}

bool CSync::DoUpdate(int32_t fromIdx, int32_t toIdx)
{
    if (!checkFoldersSeparate())
        return false;
    progressBar = &m_host.ProgressBar();
    return RunWorker([&] {
        // Copying goes on only after a delete that ran to its end: an error
        // the user chose to stop at ends the whole update.
        const bool deleted = DeleteTree(fromIdx, toIdx);
        return deleted && !Cancel && CopyTree(fromIdx, toIdx);
    });
}

bool CSync::ReportError(const std::string& rawText)
{
    // Names in the text are shown as they are, except for control characters.
    const std::string text = Printable(rawText);
    errLog += text + "\r\n";
    const auto aborted = [this] {
        m_host.ShowMessage("File operation has been aborted", "Error encountered", quorvantell::MB_ICONWARNING);
        return false;
    };
    switch (Options.ErrorAction) {
    case 1:
        return true;
    case 2:
        return aborted();
    default:  // 0, and any value the options dialog cannot give
        break;
    }
    const std::string question =
        text + "\r\nCheck that the file is not locked or in use.\r\n\r\nIgnore error and continue operation?";
    if (m_host.AskYesNo(question, kProgramTitle, quorvantell::MB_ICONWARNING, QuestionKind::ErrorPolicy))
        return true;
    return aborted();
}

void CSync::LogWarning(const std::string& text)
{
    errLog += "Warning: " + Printable(text) + "\r\n";
}

void CSync::LogError(const std::string& text)
{
    errLog += Printable(text) + "\r\n";
}

}  // namespace velloran
