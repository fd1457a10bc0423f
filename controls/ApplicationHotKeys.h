// ApplicationHotKeys: the program's global hot keys, one per window at most.
// Pressing a window's hot key anywhere on the desktop brings that window to
// the front. The results are those the classic set-hot-key message gives,
// plus NotPossibleHere on a display server without global key grabs.
#pragma once

#include "controls/X11KeyGrab.h"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace quorvantell {

class ApplicationHotKeys : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    enum Result { InvalidHotKey = -1, InvalidWindow = 0, Done = 1, AlreadyAssigned = 2, NotPossibleHere = 3 };

    // The one instance, owned by the application object.
    static ApplicationHotKeys& Instance();

    // Gives window (a top-level window) the hot key: key code in the low
    // byte, modifier bits in the next; a key code of 0 removes the window's
    // hot key.
    Result Set(QWidget* window, uint16_t hotKey);
    // The window's hot key, 0 when it has none.
    uint16_t HotKeyOf(const QWidget* window) const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // The hot key brought the window to the front.
    void Activated(QWidget* window);

private:
    struct Assignment {
        QWidget* window;  // removed from the list when it is destroyed
        uint16_t hotKey;
        X11KeyGrab grab;
    };

    explicit ApplicationHotKeys(QObject* parent);
    ~ApplicationHotKeys() override;
    static bool ValidKey(uint8_t key);
    void Remove(const QWidget* window);
    bool TakenByOther(const QWidget* window, uint16_t hotKey) const;
    static void BringToFront(QWidget* window);

    std::vector<Assignment> m_assigned;
};

}  // namespace quorvantell
