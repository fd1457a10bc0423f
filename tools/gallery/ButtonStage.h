// ButtonStage: a small window of its own on which one XPButton at a time is
// put into a state - hovered, pressed, focused, disabled - the way a user
// would (pointer over it, space bar held, focus given) and photographed, so
// that a page can show many buttons each in its own state at once.
// Hovering moves the pointer; on a desktop session it jumps briefly.
#pragma once

#include "controls/XPButton.h"

#include <QPixmap>
#include <QSize>
#include <QWidget>

#include <functional>
#include <memory>

namespace velloran::gallery {

enum class ButtonState { Normal, Hovered, Pressed, Focused, Disabled };

class ButtonStage {
public:
    using Setup = std::function<void(quorvantell::XPButton&)>;

    ButtonStage();
    ~ButtonStage();

    // A picture of a button of that size, set up and put into the state,
    // with the stage's background where the shape cuts the corners.
    QPixmap Shoot(const QSize& size, ButtonState state, const Setup& setup);

    static QString StateName(ButtonState state);

private:
    void EnsureShown();
    void Enter(quorvantell::XPButton& button, ButtonState state);
    void Settle(const std::function<bool()>& done) const;

    std::unique_ptr<QWidget> m_window;
};

}  // namespace velloran::gallery
