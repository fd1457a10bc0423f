// Twips: the one place where the program turns twips (1440 per inch) into
// screen pixels and back. Pixels come from the logical DPI of the screen a
// widget is on (the primary screen without a widget), so 96 dpi gives the
// classic 15 twips per pixel.
#pragma once

class QSize;
class QWidget;

namespace quorvantell {

class Twips {
public:
    static constexpr double kPerInch = 1440.0;

    // Twips per pixel across (X) and down (Y); 15 when no screen is known.
    static double PerPixelX(const QWidget* widget = nullptr);
    static double PerPixelY(const QWidget* widget = nullptr);

    // The same rounded to a whole number (at least 1), for the places that
    // divide by it as the platform's twips-per-pixel value.
    static int WholePerPixelX(const QWidget* widget = nullptr);
    static int WholePerPixelY(const QWidget* widget = nullptr);

    // Rounded to the nearest pixel.
    static int ToPixelsX(double twips, const QWidget* widget = nullptr);
    static int ToPixelsY(double twips, const QWidget* widget = nullptr);
    static QSize ToPixels(double widthTwips, double heightTwips, const QWidget* widget = nullptr);

    static double FromPixelsX(double pixels, const QWidget* widget = nullptr);
    static double FromPixelsY(double pixels, const QWidget* widget = nullptr);
};

}  // namespace quorvantell
