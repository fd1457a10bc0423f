// frmMain as the engine's host: the status line, the bars, message boxes
// and questions, event-loop turns, the two folders and the FTP site fields.
#include "app/shell/frmMain.h"

#include "app/engine/CSync.h"
#include "app/shell/frmMainControls.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"
#include "controls/TrayIcon.h"
#include "controls/XPButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

namespace velloran {

namespace {

quorvantell::CGeneral& General()
{
    return *quorvantell::ClassLibrary::Shared().General;
}

}  // namespace

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
    General().MessageBox(this, text, caption, quorvantell::MB_OK | icon);
}

bool frmMain::AskYesNo(const std::string& text, const std::string& caption, uint32_t icon, QuestionKind)
{
    return General().MessageBox(this, text, caption, quorvantell::MB_YESNO | icon) == quorvantell::IDYES;
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
    const Controls& c = *m_controls;
    FtpSiteFields site;
    site.Server = Bytes(c.txt[0]->text());
    site.Username = Bytes(c.txt[1]->text());
    site.Passwd = Bytes(c.txt[2]->text());
    // The field's text is the selected folder; the list behind it the history.
    site.FTPDirs.push_back(Bytes(c.cbo->currentText()));
    for (int i = 0; i < c.cbo->count(); ++i) {
        if (c.cbo->itemText(i) != c.cbo->currentText())
            site.FTPDirs.push_back(Bytes(c.cbo->itemText(i)));
    }
    if (site.FTPDirs.front().empty())
        site.FTPDirs.erase(site.FTPDirs.begin());
    site.SavePW = c.chk[0]->isChecked() ? 1 : 0;
    site.Pasv = c.chk[1]->isChecked() ? 1 : 0;
    site.SubDirs = c.chk[2]->isChecked() ? 1 : 0;
    site.TrustedKey = m_trustedKey;
    return site;
}

void frmMain::SetFtpSite(const FtpSiteFields& site)
{
    Controls& c = *m_controls;
    c.txt[0]->setText(Text(site.Server));
    c.txt[1]->setText(Text(site.Username));
    c.txt[2]->setText(Text(site.Passwd));
    c.cbo->clear();
    for (const std::string& folder : site.FTPDirs)
        c.cbo->addItem(Text(folder));
    c.cbo->setCurrentIndex(site.FTPDirs.empty() ? -1 : 0);
    c.chk[0]->setChecked(site.SavePW != 0);
    c.chk[1]->setChecked(site.Pasv != 0);
    c.chk[2]->setChecked(site.SubDirs != 0);
    m_trustedKey = site.TrustedKey;
}

void frmMain::EnableControls(bool enabled)
{
    Controls& c = *m_controls;
    // The exit button stays: it is the Cancel button while an operation runs.
    for (int i = 0; i < 3; ++i)
        c.mnu[i]->setEnabled(enabled);
    for (QWidget* control : {static_cast<QWidget*>(c.ftv[0]), static_cast<QWidget*>(c.ftv[1]), c.pic[0], c.pic[2],
                             static_cast<QWidget*>(c.cmd[0]), static_cast<QWidget*>(c.cmd[1])})
        control->setEnabled(enabled);
}

void frmMain::SetExitCaption(const std::string& caption)
{
    m_controls->cmd[7]->SetCaption(Text(caption));
}

void frmMain::SwitchFTPMode()
{
    ToolsMenu(2);
}

void frmMain::UnloadMain()
{
    close();
}

void frmMain::ZOnTop(bool onTop)
{
    formUtils.ZOnTop(onTop);
}

void frmMain::SetFormSwitches(bool useEasyMove, bool snapToEdges)
{
    CFormUtils::SetUseEasyMove(useEasyMove);
    CFormUtils::SetSnapToEdges(snapToEdges);
}

void frmMain::SetTrayIcon(bool show, const std::string& tip)
{
    quorvantell::TrayIcon& tray = *m_controls->tray;
    if (show)
        tray.Add(windowIcon(), Text(tip));
    else
        tray.Delete();
}

}  // namespace velloran
