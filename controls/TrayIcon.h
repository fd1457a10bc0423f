// TrayIcon: an invisible control that owns one notification-area icon with a
// tooltip and reports clicks on it as the platform's mouse message numbers.
// Where the desktop has no notification area the icon does not show, and the
// control says so: it is not added, and it hides no window, since nothing
// would lead back to it. The icon appears once an area comes up.
#pragma once

#include <QIcon>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <cstdint>

namespace quorvantell {

class TrayIcon : public QWidget {
    Q_OBJECT

public:
    enum class eTrayButton : int32_t {
        WM_LBUTTONDOWN = 513,
        WM_LBUTTONUP = 514,
        WM_LBUTTONDBLCLK = 515,
        WM_RBUTTONDOWN = 516,
        WM_RBUTTONUP = 517,
        WM_RBUTTONDBLCLK = 518,
        WM_MBUTTONDOWN = 519,
        WM_MBUTTONUP = 520,
        WM_MBUTTONDBLCLK = 521,
    };
    Q_ENUM(eTrayButton)

    // The tip lives in a 64-character field ending in a NUL.
    static constexpr int kTipLength = 63;
    // How often the control looks whether the notification area came back.
    static constexpr int kWatchIntervalMs = 2000;

    explicit TrayIcon(QWidget* parent = nullptr);
    ~TrayIcon() override;

    // True when the icon shows in a notification area; false where there is
    // none yet (the icon then shows as soon as one comes up).
    bool Add(const QIcon& IconH, const QString& Tip);
    // Icon and Tip are write-only: they change the shown icon, and bring it
    // back when the notification area lost it.
    void SetIcon(const QIcon& IconH);
    void SetTip(const QString& Tip);
    // Removes the icon; a window hidden behind it comes back minimised.
    void Delete();

    // True only while the icon shows in a notification area.
    bool Added() const;
    // The tip as the notification area shows it; empty while none does.
    QString ShownTip() const;
    // Hides the window so that it lives only behind the icon. False, and the
    // window left as it is, while no icon shows. Should the icon go away,
    // the window comes back minimised.
    bool HideWindow(QWidget* window);

signals:
    void Click(quorvantell::TrayIcon::eTrayButton Button);

private:
    static QString CutTip(const QString& tip);
    void Activated(QSystemTrayIcon::ActivationReason reason);
    void WatchTray();
    void Modify();
    bool IconLost() const;
    bool Show();
    void SetShown(bool shown);

    QSystemTrayIcon* m_tray;
    QTimer m_watch;
    QIcon m_icon;
    QString m_tip;
    QPointer<QWidget> m_hidden;  // the window HideWindow hid
    bool m_wanted = false;       // between Add and Delete
    bool m_added = false;        // the icon really shows
    bool m_trayAvailable = false;
};

}  // namespace quorvantell
