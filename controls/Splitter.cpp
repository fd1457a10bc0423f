// Splitter: clamping, turning, the resize push-back and mouse dragging of the
// bar, all in twips; the bar's pixels follow from the screen's DPI.
#include "controls/Splitter.h"

#include "classlib/general/CGeneral.h"
#include "controls/ControlLibrary.h"
#include "controls/OleColor.h"
#include "controls/PropertyBag.h"
#include "controls/Twips.h"

#include <QFrame>
#include <QMouseEvent>

#include <cmath>

namespace quorvantell {

Splitter::Splitter(QWidget* parent) : QWidget(parent), m_bar(new QFrame(this))
{
    ControlLibrary::StartUp();
    m_bar->setAutoFillBackground(true);
    m_bar->setCursor(Qt::SplitHCursor);
    m_bar->installEventFilter(this);
    ColourBar(false);
    PlaceBar();
}

int32_t Splitter::BorderStyle() const
{
    return m_borderStyle;
}

void Splitter::SetBorderStyle(int32_t value)
{
    m_borderStyle = value;
    m_bar->setFrameStyle(value == 1 ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    m_bar->setLineWidth(1);
    emit PropertyChanged(QStringLiteral("BorderStyle"));
}

int32_t Splitter::Position() const
{
    return static_cast<int32_t>(std::lround(m_offset));
}

void Splitter::SetPosition(int32_t value)
{
    MoveBar(Clamp(value));
    RaiseMoved();
}

bool Splitter::Horizontal() const
{
    return m_horizontal;
}

void Splitter::SetHorizontal(bool value)
{
    // The offset carries over to the other axis: a vertical bar's left
    // becomes the horizontal bar's top and the other way round.
    m_horizontal = value;
    m_bar->setCursor(value ? Qt::SplitVCursor : Qt::SplitHCursor);
    ResizeStep();
    emit PropertyChanged(QStringLiteral("Horiz"));
}

int32_t Splitter::SplitterWidth() const
{
    return m_splitterWidth;
}

void Splitter::SetSplitterWidth(int32_t value)
{
    m_splitterWidth = value;
    PlaceBar();
    emit PropertyChanged(QStringLiteral("SplitterWidth"));
}

int32_t Splitter::MinMargin() const
{
    return m_minMargin;
}

void Splitter::SetMinMargin(int32_t value)
{
    m_minMargin = value;
    emit PropertyChanged(QStringLiteral("MinMargin"));
}

int32_t Splitter::MaxMargin() const
{
    return m_maxMargin;
}

void Splitter::SetMaxMargin(int32_t value)
{
    m_maxMargin = value;
    emit PropertyChanged(QStringLiteral("MaxMargin"));
}

bool Splitter::Enabled() const
{
    return isEnabled();
}

void Splitter::SetEnabled(bool value)
{
    setEnabled(value);
    emit PropertyChanged(QStringLiteral("Enabled"));
}

void Splitter::ReadProperties(const PropertyBag& bag)
{
    // The margins and the width come first so that the position read last is
    // clamped against them.
    SetMaxMargin(bag.ReadProperty(QStringLiteral("MaxMargin"), 700).toInt());
    SetMinMargin(bag.ReadProperty(QStringLiteral("MinMargin"), 700).toInt());
    SetSplitterWidth(bag.ReadProperty(QStringLiteral("SplitterWidth"), 120).toInt());
    SetHorizontal(bag.ReadProperty(QStringLiteral("Horiz"), false).toBool());
    SetPosition(bag.ReadProperty(QStringLiteral("Position"), 1000).toInt());
    SetBorderStyle(bag.ReadProperty(QStringLiteral("BorderStyle"), 0).toInt());
    SetEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
}

void Splitter::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("BorderStyle"), m_borderStyle, 0);
    bag.WriteProperty(QStringLiteral("Position"), Position(), 1000);
    bag.WriteProperty(QStringLiteral("Horiz"), m_horizontal, false);
    bag.WriteProperty(QStringLiteral("SplitterWidth"), m_splitterWidth, 120);
    bag.WriteProperty(QStringLiteral("MinMargin"), m_minMargin, 700);
    bag.WriteProperty(QStringLiteral("MaxMargin"), m_maxMargin, 700);
    bag.WriteProperty(QStringLiteral("Enabled"), Enabled(), true);
}

QWidget* Splitter::Bar() const
{
    return m_bar;
}

bool Splitter::Dragging() const
{
    return m_dragging;
}

void Splitter::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ResizeStep();
}

bool Splitter::eventFilter(QObject* watched, QEvent* event)
{
    // A disabled bar still passes its mouse events through here.
    if (watched != m_bar || !isEnabled())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        BarPressed(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseMove:
        BarMoved(static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        BarReleased();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

double Splitter::Extent() const
{
    return m_horizontal ? Twips::FromPixelsY(height(), this) : Twips::FromPixelsX(width(), this);
}

double Splitter::Limit() const
{
    return Extent() - m_splitterWidth - m_maxMargin;
}

double Splitter::Clamp(double candidate) const
{
    return ControlLibrary::General().MinMax(candidate, m_minMargin, Limit());
}

void Splitter::MoveBar(double offset)
{
    m_offset = offset;
    PlaceBar();
}

void Splitter::PlaceBar()
{
    if (m_horizontal)
        m_bar->setGeometry(0, Twips::ToPixelsY(m_offset, this), width(), Twips::ToPixelsY(m_splitterWidth, this));
    else
        m_bar->setGeometry(Twips::ToPixelsX(m_offset, this), 0, Twips::ToPixelsX(m_splitterWidth, this), height());
    // Only the bar is seen and takes the mouse: the control can lie over the
    // host's panes, and the bar stays visible while dragged across them. (An
    // empty mask would mean none at all, hence the pixel outside for no bar.)
    const QRect bar = m_bar->geometry();
    setMask(bar.isEmpty() ? QRegion(-1, -1, 1, 1) : QRegion(bar));
}

void Splitter::ResizeStep()
{
    PlaceBar();
    const double limit = Limit();
    if (m_offset > limit) {
        MoveBar(limit);
        RaiseMoved();
    }
}

void Splitter::RaiseMoved()
{
    const int32_t position = Position();
    const auto extent = static_cast<int32_t>(std::lround(Extent()));
    emit Moved(position, position + m_splitterWidth, extent - position - m_splitterWidth);
}

void Splitter::ColourBar(bool dragged)
{
    QPalette palette = m_bar->palette();
    palette.setColor(QPalette::Window, OleColor::ToQColor(dragged ? OleColor::kButtonShadow : OleColor::kButtonFace));
    m_bar->setPalette(palette);
}

double Splitter::AlongTwips(const QPoint& barPoint) const
{
    return m_horizontal ? Twips::FromPixelsY(barPoint.y(), this) : Twips::FromPixelsX(barPoint.x(), this);
}

double Splitter::AcrossTwips(const QPoint& barPoint) const
{
    const QPoint inControl = m_bar->mapToParent(barPoint);
    return m_horizontal ? Twips::FromPixelsX(inControl.x(), this) : Twips::FromPixelsY(inControl.y(), this);
}

void Splitter::BarPressed(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint local = event->position().toPoint();
    ColourBar(true);
    m_grabOffset = AlongTwips(local);
    m_lastCandidate = m_grabOffset;
    m_pressOffset = m_offset;
    const double start = m_horizontal ? Twips::FromPixelsX(m_bar->x(), this) : Twips::FromPixelsY(m_bar->y(), this);
    const double length = m_horizontal ? Twips::FromPixelsX(m_bar->width(), this) : Twips::FromPixelsY(m_bar->height(), this);
    m_corridorStart = start - kDragCorridor;
    m_corridorEnd = start + length + kDragCorridor;
    m_dragging = true;
}

void Splitter::BarMoved(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    const QPoint local = event->position().toPoint();
    const double across = AcrossTwips(local);
    const bool inCorridor = across >= m_corridorStart && across <= m_corridorEnd;
    // The mouse is read relative to the bar, which moves with it. Far from
    // the bar the drag is taken back until the mouse returns.
    const double candidate = inCorridor ? m_offset + AlongTwips(local) - m_grabOffset : m_pressOffset;
    if (candidate == m_lastCandidate)
        return;
    MoveBar(Clamp(candidate));
    m_lastCandidate = candidate;
    m_bar->repaint();
    emit PropertyChanged(QStringLiteral("Position"));
}

void Splitter::BarReleased()
{
    ColourBar(false);
    m_dragging = false;
    RaiseMoved();
}

}  // namespace quorvantell
