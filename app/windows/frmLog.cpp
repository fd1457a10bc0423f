// frmLog: loading, layout in twips, saving the log and unloading.
#include "app/windows/frmLog.h"

#include "app/engine/CSync.h"
#include "app/engine/RunReport.h"
#include "app/shell/MGeneral.h"
#include "classlib/files/CFile.h"
#include "classlib/files/ReplacementFile.h"
#include "classlib/files/UniqueFd.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"
#include "classlib/misc/CComDialogs.h"
#include "controls/MinMaxSize.h"
#include "controls/Twips.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

#include <fcntl.h>
#include <sys/stat.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace velloran {

namespace {

using quorvantell::Twips;

// Default place and client size, and the smallest client size, in twips.
constexpr int32_t kDefaultLeft = 1500, kDefaultTop = 1500, kDefaultWidth = 3800, kDefaultHeight = 4500;
constexpr int32_t kMinWidth = 3000, kMinHeight = 3500;
// The design-time place of the text box and the buttons' size, in twips.
constexpr int32_t kMargin = 120, kButtonWidth = 1215, kButtonHeight = 375;

QPointer<frmLog> g_instance;

const std::string kNul(1, '\0');

int32_t TwipsX(int pixels, const QWidget* w)
{
    return static_cast<int32_t>(std::lround(Twips::FromPixelsX(pixels, w)));
}

int32_t TwipsY(int pixels, const QWidget* w)
{
    return static_cast<int32_t>(std::lround(Twips::FromPixelsY(pixels, w)));
}

// Writes data as the file at path. The old contents are replaced only by
// complete new ones, so a full disk never leaves the chosen file cut short;
// a link is followed to the file it names, whose mode is kept. Only a
// regular file (or a new name) can be a log.
bool SaveLogFile(const std::string& path, const std::string& data)
{
    std::string target = path;
    if (char* resolved = realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    struct stat st{};
    const bool exists = stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))
        return false;
    const auto slash = target.rfind('/');
    if (slash == std::string::npos)
        return false;
    const quorvantell::UniqueFd folder(
        open(slash == 0 ? "/" : target.substr(0, slash).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const std::vector<uint8_t> bytes(data.begin(), data.end());
    int32_t written = 0;
    quorvantell::ReplacementFile file;
    return bytes.size() <= INT32_MAX && folder.Valid() && file.Create(folder.Get(), 0666) &&
           (!exists || fchmod(file.Fd(), st.st_mode & 07777) == 0) &&
           quorvantell::ClassLibrary::Shared().File->WriteFile(file.Fd(), bytes, static_cast<int32_t>(bytes.size()),
                                                               written) &&
           file.Commit(target.substr(slash + 1));
}

}  // namespace

void frmLog::ShowErrors(QWidget* owner, CSync& sync, const std::string& text)
{
    if (text.empty())
        return;
    if (!g_instance) {
        g_instance = new frmLog(owner, sync);
        g_instance->Load(owner);
    }
    g_instance->show();
    g_instance->raise();
    g_instance->SetText(text);
}

frmLog* frmLog::Instance()
{
    return g_instance;
}

std::string frmLog::LogFileFilter()
{
    return "Log File" + kNul + "*.log" + kNul + "Text File " + kNul + "*.txt" + kNul +
           quorvantell::ClassLibrary::Shared().ComDialogs->filterAllFiles();
}

void frmLog::CheckColors()
{
    MGeneral::SetFieldColors(txt, m_sync.Options.BackgroundColor, m_sync.Options.TextColor);
}

void frmLog::CheckFonts()
{
    if (const std::optional<QFont> font = MGeneral::OtherFont(m_sync))
        txt->setFont(*font);
}

frmLog::frmLog(QWidget* owner, CSync& sync) : QWidget(owner, Qt::Window), m_sync(sync)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Error Log"));
    txt = new QPlainTextEdit(this);
    txt->setReadOnly(true);
    txt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txt->move(Twips::ToPixelsX(kMargin, this), Twips::ToPixelsY(kMargin, this));
    const char* const captions[] = {"&Save to file", "Close"};
    for (int i = 0; i < 2; ++i) {
        cmd[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        cmd[i]->resize(Twips::ToPixels(kButtonWidth, kButtonHeight, this));
    }
    connect(cmd[0], &QPushButton::clicked, this, &frmLog::SaveToFile);
    connect(cmd[1], &QPushButton::clicked, this, &QWidget::close);
    // "Close" is the cancel button.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, cmd[1], &QPushButton::click);
    m_minMaxSize = new quorvantell::MinMaxSize(this);
}

frmLog::~frmLog()
{
    Unload();
}

void frmLog::Load(QWidget* owner)
{
    formUtils.Init(this);
    formUtils.ZOnTop(m_sync.Options.OnTop);
    formUtils.ReadWindowSettings("ErrLog", kDefaultLeft, kDefaultTop, kDefaultWidth, kDefaultHeight);
    m_minMaxSize->SetMinMaxSize(kMinWidth, kMinHeight, 0, 0);
    m_minMaxSize->SubClass();
    if (owner != nullptr)
        setWindowIcon(owner->windowIcon());
    formUtils.AddDragSurface(this);
    CheckColors();
    CheckFonts();
}

void frmLog::SetText(const std::string& text)
{
    m_text = RunReport::PlatformLineEnds(text);
    txt->setPlainText(QString::fromUtf8(m_text.data(), static_cast<qsizetype>(m_text.size())));
}

void frmLog::ArrangeControls(int32_t W, int32_t H)
{
    if (W != m_lastWidth) {
        txt->resize(Twips::ToPixelsX(W - 2 * kMargin, this), txt->height());
        const int32_t x = W / 2 - 1275;
        cmd[0]->move(Twips::ToPixelsX(x, this), cmd[0]->y());
        cmd[1]->move(Twips::ToPixelsX(x + 1335, this), cmd[1]->y());
    }
    if (H != m_lastHeight) {
        txt->resize(txt->width(), Twips::ToPixelsY(H - 735, this));
        for (QPushButton* button : cmd)
            button->move(button->x(), Twips::ToPixelsY(H - 495, this));
    }
    m_lastWidth = W;
    m_lastHeight = H;
}

void frmLog::SaveToFile()
{
    auto& shared = quorvantell::ClassLibrary::Shared();
    for (;;) {
        quorvantell::OFNINFO chosen;
        if (!shared.ComDialogs->SaveFile(this, "", m_sync.lastLogDir, LogFileFilter(), 0, "*.log", "Save log as", chosen) ||
            chosen.FileName.empty())
            return;
        m_sync.lastLogDir = chosen.PathName;
        // The text ends with a line end of its own, whatever the last line had.
        if (SaveLogFile(chosen.PathName + chosen.FileName.front(), m_text + "\n")) {
            close();
            return;
        }
        shared.General->MessageBox(
            this, "Error saving log file.  Check that the filename is correct and the disk is not write protected.",
            "Error saving log", quorvantell::MB_OK | quorvantell::MB_ICONERROR);
    }
}

void frmLog::closeEvent(QCloseEvent* event)
{
    Unload();
    QWidget::closeEvent(event);
}

void frmLog::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    formUtils.TakeNormalGeometry();
}

void frmLog::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isMinimized())
        return;
    formUtils.TakeNormalGeometry();
    ArrangeControls(TwipsX(width(), this), TwipsY(height(), this));
}

void frmLog::Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    formUtils.SaveWindowSettings(windowState() != Qt::WindowNoState);
    formUtils.Terminate();
    if (g_instance == this)
        g_instance = nullptr;
}

}  // namespace velloran
