// MinMaxSize: the size limits become the window's minimum and maximum sizes,
// computed as the platform's tracking sizes would be (outer size in twips,
// divided by the whole number of twips per pixel) and given to Qt as
// client-area sizes.
#include "controls/MinMaxSize.h"

#include "controls/Twips.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

namespace quorvantell {

namespace {

constexpr double kOwnSize = 300.0;  // twips, whatever size the host gives

// Client pixels for a client size in twips: the outer size (client + frame)
// divided by the twips per pixel, less the frame again.
int ClientPixels(int32_t clientTwips, int framePixels, double twipsPerPixel, int wholeTwipsPerPixel)
{
    const auto frameTwips = static_cast<int32_t>(std::lround(framePixels * twipsPerPixel));
    const int tracking = (clientTwips + frameTwips) / wholeTwipsPerPixel;
    return std::max(0, tracking - framePixels);
}

}  // namespace

MinMaxSize::MinMaxSize(QWidget* parent) : QWidget(parent)
{
    setFixedSize(Twips::ToPixels(kOwnSize, kOwnSize, this));
    hide();
}

MinMaxSize::~MinMaxSize()
{
    UnSubClass();
}

QWidget* MinMaxSize::Form() const
{
    return parentWidget() ? parentWidget()->window() : nullptr;
}

void MinMaxSize::SetMinMaxSize(int32_t minX, int32_t minY, int32_t maxX, int32_t maxY)
{
    QWidget* form = Form();
    if (!form)
        return;
    m_minX = minX;
    m_minY = minY;
    m_maxX = maxX;
    m_maxY = maxY;
    m_limitsSet = true;

    const Limits limits = ClientLimits(form);
    QSize size = form->size().expandedTo(limits.minimum);
    if (m_maxX != 0)
        size.setWidth(std::min(size.width(), limits.maximum.width()));
    if (m_maxY != 0)
        size.setHeight(std::min(size.height(), limits.maximum.height()));
    if (size != form->size())
        form->resize(size);
    ApplyLimits();
}

void MinMaxSize::SubClass()
{
    UnSubClass();
    QWidget* form = Form();
    if (!form)
        return;
    m_form = form;
    m_formOwn = {form->minimumSize(), form->maximumSize()};
    form->installEventFilter(this);
    ApplyLimits();
}

void MinMaxSize::UnSubClass()
{
    if (!m_form)
        return;
    m_form->removeEventFilter(this);
    m_form->setMinimumSize(m_formOwn.minimum);
    m_form->setMaximumSize(m_formOwn.maximum);
    m_form = nullptr;
}

bool MinMaxSize::SubClassed() const
{
    return !m_form.isNull();
}

bool MinMaxSize::eventFilter(QObject* watched, QEvent* event)
{
    // The frame is known once the window is shown, and the pixel size of a
    // twip changes with the screen: answer the limits again then.
    if (watched == m_form && (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal))
        ApplyLimits();
    return QWidget::eventFilter(watched, event);
}

MinMaxSize::Limits MinMaxSize::ClientLimits(const QWidget* form) const
{
    const int frameWidth = form->frameGeometry().width() - form->width();
    const int frameHeight = form->frameGeometry().height() - form->height();
    const auto width = [&](int32_t twips) {
        return ClientPixels(twips, frameWidth, Twips::PerPixelX(form), Twips::WholePerPixelX(form));
    };
    const auto height = [&](int32_t twips) {
        return ClientPixels(twips, frameHeight, Twips::PerPixelY(form), Twips::WholePerPixelY(form));
    };
    Limits limits = m_formOwn;
    limits.minimum = QSize(width(m_minX), height(m_minY));
    if (m_maxX != 0)
        limits.maximum.setWidth(width(m_maxX));
    if (m_maxY != 0)
        limits.maximum.setHeight(height(m_maxY));
    return limits;
}

void MinMaxSize::ApplyLimits()
{
    if (!m_form || !m_limitsSet)
        return;
    const Limits limits = ClientLimits(m_form);
    m_form->setMinimumSize(limits.minimum);
    m_form->setMaximumSize(limits.maximum);
}

}  // namespace quorvantell
