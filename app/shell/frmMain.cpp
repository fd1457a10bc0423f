// frmMain: construction, the load handler and the engine's host.
#include "app/shell/frmMain.h"

#include "app/engine/CSync.h"
#include "app/engine/ProgramInfo.h"
#include "app/engine/ScriptRunner.h"
#include "app/views/FolderTreeview.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"
#include "classlib/general/EventPump.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>

namespace velloran {

namespace {

class LabelCaption : public IStatusLabel {
public:
    explicit LabelCaption(QLabel* label) : m_label(label) {}
    void SetCaption(const std::string& caption) override { m_label->setText(QString::fromStdString(caption)); }

private:
    QLabel* m_label;
};

class BarValue : public IProgressControl {
public:
    explicit BarValue(QProgressBar* bar) : m_bar(bar) {}
    void SetValue(int32_t value) override { m_bar->setValue(value); }
    int32_t Value() const override { return m_bar->value(); }

private:
    QProgressBar* m_bar;
};

}  // namespace

struct frmMain::Controls {
    FolderTreeview* ftv[2] = {nullptr, nullptr};
    QLabel* status = nullptr;
    QProgressBar* progbar[2] = {nullptr, nullptr};
    std::unique_ptr<LabelCaption> statusCaption;
    std::unique_ptr<BarValue> bars[2];
    FtpSiteFields site;
};

frmMain::frmMain() : m_controls(std::make_unique<Controls>()), m_sync(std::make_unique<CSync>(*this))
{
    setWindowTitle(kProductName);
    auto* client = new QWidget(this);
    setCentralWidget(client);
    Controls& c = *m_controls;
    for (int i = 0; i < 2; ++i) {
        c.ftv[i] = new FolderTreeview(client);
        c.progbar[i] = new QProgressBar(client);
        c.bars[i] = std::make_unique<BarValue>(c.progbar[i]);
    }
    c.status = new QLabel(client);
    c.statusCaption = std::make_unique<LabelCaption>(c.status);
}

frmMain::~frmMain() = default;

void frmMain::Load()
{
    formUtils.Init(this);
    m_sync->Init();
}

void frmMain::Read(const std::string& FileName)
{
    ScriptRunner(*m_sync).Read(FileName);
}

void frmMain::SetHelpFile(const std::string& path)
{
    m_helpFile = path;
}

void frmMain::CheckColors() {}

void frmMain::CheckFonts() {}

IStatusLabel& frmMain::StatusLabel()
{
    return *m_controls->statusCaption;
}

IProgressControl& frmMain::ProgressBar()
{
    return *m_controls->bars[0];
}

IProgressControl& frmMain::ActivityBar()
{
    return *m_controls->bars[1];
}

void frmMain::DoEvents()
{
    QApplication::processEvents();
}

void frmMain::ShowMessage(const std::string& text, const std::string& caption, uint32_t icon)
{
    quorvantell::ClassLibrary::Shared().General->MessageBox(this, text, caption, quorvantell::MB_OK | icon);
}

bool frmMain::AskYesNo(const std::string& text, const std::string& caption, uint32_t icon, QuestionKind)
{
    return quorvantell::ClassLibrary::Shared().General->MessageBox(this, text, caption, quorvantell::MB_YESNO | icon) ==
           quorvantell::IDYES;
}

std::string frmMain::SelectedFolder(int32_t side) const
{
    return m_controls->ftv[side == 0 ? 0 : 1]->Path();
}

void frmMain::SetSelectedFolder(int32_t side, const std::string& path)
{
    m_controls->ftv[side == 0 ? 0 : 1]->SetPath(path);
}

bool frmMain::SelectedFoldersSame() const
{
    return m_controls->ftv[0]->SameFolder(*m_controls->ftv[1]);
}

FtpSiteFields frmMain::FtpSite() const
{
    return m_controls->site;
}

void frmMain::SetFtpSite(const FtpSiteFields& site)
{
    m_controls->site = site;
}

void frmMain::EnableControls(bool) {}

void frmMain::SetExitCaption(const std::string&) {}

void frmMain::SwitchFTPMode()
{
    m_sync->modeFTP = !m_sync->modeFTP;
}

void frmMain::UnloadMain()
{
    close();
}

void frmMain::ShowErrorLog(const std::string&) {}

void frmMain::ZOnTop(bool onTop)
{
    formUtils.ZOnTop(onTop);
}

void frmMain::SetFormSwitches(bool, bool) {}

void frmMain::SetTrayIcon(bool, const std::string&) {}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Closing during an operation asks it to stop instead.
    if (m_sync->syncRunning) {
        m_sync->Cancel = true;
        event->ignore();
        return;
    }
    event->accept();
    emit Unloaded();
}

}  // namespace velloran
