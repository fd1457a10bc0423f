// A splitter with two panes laid out from its Moved event.
#include "tools/gallery/SplitterHost.h"

#include "controls/Twips.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

namespace velloran::gallery {

using quorvantell::Twips;

namespace {

QLabel* Pane(const QString& text, const QColor& colour, QWidget* parent)
{
    auto* pane = new QLabel(text, parent);
    pane->setAlignment(Qt::AlignCenter);
    pane->setAutoFillBackground(true);
    QPalette palette = pane->palette();
    palette.setColor(QPalette::Window, colour);
    pane->setPalette(palette);
    return pane;
}

}  // namespace

SplitterHost::SplitterHost(bool horizontal, const QString& nearText, const QString& farText, QWidget* parent)
    : QWidget(parent),
      m_splitter(new quorvantell::Splitter(this)),
      m_near(Pane(nearText, QColor(214, 228, 247), this)),
      m_far(Pane(farText, QColor(247, 236, 214), this))
{
    // The splitter lies over the panes; only its bar shows.
    m_splitter->raise();
    connect(m_splitter, &quorvantell::Splitter::Moved, this, &SplitterHost::Layout);
    setFixedSize(240, 160);
    m_splitter->setGeometry(rect());
    m_splitter->SetHorizontal(horizontal);
}

quorvantell::Splitter& SplitterHost::splitter()
{
    return *m_splitter;
}

void SplitterHost::HoldDragged(int pixels)
{
    m_dragPixels = pixels;
}

void SplitterHost::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // After the layouts have given the splitter its real size.
    if (m_dragPixels != 0)
        QTimer::singleShot(0, this, &SplitterHost::Drag);
}

void SplitterHost::Drag()
{
    QWidget* bar = m_splitter->Bar();
    const QPointF grab(2, bar->height() / 2);
    const QPointF moved = grab + QPointF(m_splitter->Horizontal() ? 0 : m_dragPixels, m_splitter->Horizontal() ? m_dragPixels : 0);
    QMouseEvent press(QEvent::MouseButtonPress, grab, bar->mapToGlobal(grab), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    QMouseEvent move(QEvent::MouseMove, moved, bar->mapToGlobal(moved), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    m_dragPixels = 0;
}

void SplitterHost::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_splitter->setGeometry(rect());
    // Re-applying the position lays the panes out for the new size.
    m_splitter->SetPosition(m_splitter->Position());
}

void SplitterHost::Layout(int32_t Position, int32_t RightPos, int32_t RightSize)
{
    if (m_splitter->Horizontal()) {
        m_near->setGeometry(0, 0, width(), Twips::ToPixelsY(Position, this));
        m_far->setGeometry(0, Twips::ToPixelsY(RightPos, this), width(), Twips::ToPixelsY(RightSize, this));
    } else {
        m_near->setGeometry(0, 0, Twips::ToPixelsX(Position, this), height());
        m_far->setGeometry(Twips::ToPixelsX(RightPos, this), 0, Twips::ToPixelsX(RightSize, this), height());
    }
}

}  // namespace velloran::gallery
