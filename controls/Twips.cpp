// Twips <-> pixels from the screen's logical DPI.
#include "controls/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSize>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace quorvantell {

namespace {

constexpr double kFallbackDpi = 96.0;

const QScreen* ScreenOf(const QWidget* widget)
{
    if (widget && widget->screen())
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

double DpiX(const QWidget* widget)
{
    const QScreen* screen = ScreenOf(widget);
    const double dpi = screen ? screen->logicalDotsPerInchX() : 0.0;
    return dpi > 0.0 ? dpi : kFallbackDpi;
}

double DpiY(const QWidget* widget)
{
    const QScreen* screen = ScreenOf(widget);
    const double dpi = screen ? screen->logicalDotsPerInchY() : 0.0;
    return dpi > 0.0 ? dpi : kFallbackDpi;
}

}  // namespace

double Twips::PerPixelX(const QWidget* widget)
{
    return kPerInch / DpiX(widget);
}

double Twips::PerPixelY(const QWidget* widget)
{
    return kPerInch / DpiY(widget);
}

int Twips::WholePerPixelX(const QWidget* widget)
{
    return std::max(1, static_cast<int>(std::lround(PerPixelX(widget))));
}

int Twips::WholePerPixelY(const QWidget* widget)
{
    return std::max(1, static_cast<int>(std::lround(PerPixelY(widget))));
}

int Twips::ToPixelsX(double twips, const QWidget* widget)
{
    return static_cast<int>(std::lround(twips / PerPixelX(widget)));
}

int Twips::ToPixelsY(double twips, const QWidget* widget)
{
    return static_cast<int>(std::lround(twips / PerPixelY(widget)));
}

QSize Twips::ToPixels(double widthTwips, double heightTwips, const QWidget* widget)
{
    return QSize(ToPixelsX(widthTwips, widget), ToPixelsY(heightTwips, widget));
}

double Twips::FromPixelsX(double pixels, const QWidget* widget)
{
    return pixels * PerPixelX(widget);
}

double Twips::FromPixelsY(double pixels, const QWidget* widget)
{
    return pixels * PerPixelY(widget);
}

}  // namespace quorvantell
