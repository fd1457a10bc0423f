// Putting one button into a state and photographing it.
#include "tools/gallery/ButtonStage.h"

#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QWindow>

namespace velloran::gallery {

using quorvantell::XPButton;

namespace {

constexpr int kSettleMs = 2000;
const QPoint kMargin(10, 10);

}  // namespace

ButtonStage::ButtonStage() : m_window(std::make_unique<QWidget>())
{
    m_window->setWindowTitle(QStringLiteral("velloran-gallery stage"));
    m_window->setGeometry(40, 40, 420, 160);
}

ButtonStage::~ButtonStage() = default;

QString ButtonStage::StateName(ButtonState state)
{
    switch (state) {
    case ButtonState::Normal: return QStringLiteral("normal");
    case ButtonState::Hovered: return QStringLiteral("hovered");
    case ButtonState::Pressed: return QStringLiteral("pressed");
    case ButtonState::Focused: return QStringLiteral("focused");
    case ButtonState::Disabled: return QStringLiteral("disabled");
    }
    return QString();
}

void ButtonStage::Settle(const std::function<bool()>& done) const
{
    const QDeadlineTimer deadline(kSettleMs);
    while (!done() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void ButtonStage::EnsureShown()
{
    if (m_window->isVisible())
        return;
    m_window->show();
    Settle([this] { return m_window->windowHandle() && m_window->windowHandle()->isExposed(); });
}

void ButtonStage::Enter(XPButton& button, ButtonState state)
{
    switch (state) {
    case ButtonState::Normal:
        break;
    case ButtonState::Hovered:
        QCursor::setPos(button.mapToGlobal(button.rect().center()));
        Settle([&button] { return button.IsHovered(); });
        break;
    case ButtonState::Pressed: {
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(&button, &space);
        break;
    }
    case ButtonState::Focused:
        m_window->activateWindow();
        button.setFocus();
        Settle([&button] { return button.hasFocus(); });
        break;
    case ButtonState::Disabled:
        button.SetEnabled(false);
        break;
    }
}

QPixmap ButtonStage::Shoot(const QSize& size, ButtonState state, const Setup& setup)
{
    EnsureShown();
    // Keep the pointer away until the button is ready, so that only the
    // hovered picture is hovered.
    QCursor::setPos(m_window->mapToGlobal(QPoint(m_window->width() - 2, m_window->height() - 2)));
    auto* button = new XPButton(m_window.get());
    button->setFocusPolicy(state == ButtonState::Focused ? Qt::StrongFocus : Qt::NoFocus);
    button->setGeometry(QRect(kMargin, size));
    setup(*button);
    button->show();
    QApplication::processEvents();
    Enter(*button, state);
    const QPixmap picture = m_window->grab(button->geometry());
    delete button;
    return picture;
}

}  // namespace velloran::gallery
