// TrayIcon over QSystemTrayIcon. Qt reports activations, not mouse messages:
// each activation is turned into the message pair the platform would send.
#include "controls/TrayIcon.h"

#include "controls/Twips.h"

namespace quorvantell {

namespace {

constexpr double kOwnSize = 300.0;  // twips, whatever size the host gives

}  // namespace

TrayIcon::TrayIcon(QWidget* parent) : QWidget(parent), m_tray(new QSystemTrayIcon(this))
{
    setFixedSize(Twips::ToPixels(kOwnSize, kOwnSize, this));
    hide();
    connect(m_tray, &QSystemTrayIcon::activated, this, &TrayIcon::Activated);
    m_watch.setInterval(kWatchIntervalMs);
    connect(&m_watch, &QTimer::timeout, this, &TrayIcon::WatchTray);
}

TrayIcon::~TrayIcon()
{
    Delete();
}

void TrayIcon::Add(const QIcon& IconH, const QString& Tip)
{
    m_icon = IconH;
    m_tip = CutTip(Tip);
    Show();
}

void TrayIcon::SetIcon(const QIcon& IconH)
{
    m_icon = IconH;
    Modify();
}

void TrayIcon::SetTip(const QString& Tip)
{
    m_tip = CutTip(Tip);
    Modify();
}

void TrayIcon::Delete()
{
    m_watch.stop();
    m_tray->hide();
    m_added = false;
}

bool TrayIcon::Added() const
{
    return m_added;
}

QString TrayIcon::ShownTip() const
{
    return m_added ? m_tray->toolTip() : QString();
}

QString TrayIcon::CutTip(const QString& tip)
{
    if (tip.size() <= kTipLength)
        return tip;
    int end = kTipLength;
    // Never leave half of a surrogate pair at the end.
    if (tip.at(end - 1).isHighSurrogate())
        --end;
    return tip.left(end);
}

void TrayIcon::Activated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        emit Click(eTrayButton::WM_LBUTTONDOWN);
        emit Click(eTrayButton::WM_LBUTTONUP);
        break;
    case QSystemTrayIcon::DoubleClick:
        emit Click(eTrayButton::WM_LBUTTONDBLCLK);
        emit Click(eTrayButton::WM_LBUTTONUP);
        break;
    case QSystemTrayIcon::Context:
        emit Click(eTrayButton::WM_RBUTTONDOWN);
        emit Click(eTrayButton::WM_RBUTTONUP);
        break;
    case QSystemTrayIcon::MiddleClick:
        emit Click(eTrayButton::WM_MBUTTONDOWN);
        emit Click(eTrayButton::WM_MBUTTONUP);
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}

void TrayIcon::WatchTray()
{
    // A notification area that comes back (a restarted panel) starts empty.
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    const bool cameBack = available && !m_trayAvailable;
    m_trayAvailable = available;
    if (cameBack && m_added) {
        Delete();
        Show();
    }
}

void TrayIcon::Modify()
{
    // A lost icon cannot be changed: delete it and add it again.
    if (!m_added)
        return;
    if (IconLost()) {
        Delete();
        Show();
        return;
    }
    m_tray->setIcon(m_icon);
    m_tray->setToolTip(m_tip);
}

bool TrayIcon::IconLost() const
{
    return !QSystemTrayIcon::isSystemTrayAvailable() || !m_tray->isVisible();
}

void TrayIcon::Show()
{
    m_tray->setIcon(m_icon);
    m_tray->setToolTip(m_tip);
    m_tray->show();
    m_added = true;
    m_trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    m_watch.start();
}

}  // namespace quorvantell
