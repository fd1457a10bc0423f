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
    // A window that holds this control is going away with it.
    if (m_hidden && m_hidden->isAncestorOf(this))
        m_hidden = nullptr;
    Delete();
}

bool TrayIcon::Add(const QIcon& IconH, const QString& Tip)
{
    m_icon = IconH;
    m_tip = CutTip(Tip);
    m_wanted = true;
    return Show();
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
    m_wanted = false;
    m_tray->hide();
    SetShown(false);
}

bool TrayIcon::Added() const
{
    return m_added;
}

QString TrayIcon::ShownTip() const
{
    return m_added ? m_tray->toolTip() : QString();
}

bool TrayIcon::HideWindow(QWidget* window)
{
    // The notification area may have gone since the last look.
    if (window == nullptr || !m_wanted || (IconLost() && !Show()))
        return false;
    m_hidden = window;
    window->hide();
    return true;
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
    // A notification area that comes back (a restarted panel) starts empty;
    // one that went away took the icon along.
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    if (available != m_trayAvailable && m_wanted)
        Show();
    m_trayAvailable = available;
}

void TrayIcon::Modify()
{
    // A lost icon cannot be changed: it is added again.
    if (!m_wanted)
        return;
    if (IconLost()) {
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

// Adds the icon afresh where a notification area takes it.
bool TrayIcon::Show()
{
    m_tray->hide();
    m_tray->setIcon(m_icon);
    m_tray->setToolTip(m_tip);
    m_trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    if (m_trayAvailable)
        m_tray->show();
    SetShown(m_trayAvailable && m_tray->isVisible());
    m_watch.start();
    return m_added;
}

void TrayIcon::SetShown(bool shown)
{
    m_added = shown;
    if (shown || !m_hidden)
        return;
    // Nothing leads back to a window hidden behind the icon any more.
    if (m_hidden->isHidden())
        m_hidden->showMinimized();
    m_hidden = nullptr;
}

}  // namespace quorvantell
