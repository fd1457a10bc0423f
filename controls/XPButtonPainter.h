// XPButtonPainter: draws one XPButton look - shape, face, frame, picture,
// caption and focus rectangle - and computes the shape's window region.
// It knows nothing of the widget's state machine; XPButton fills the look.
#pragma once

#include "controls/XPButton.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

namespace quorvantell {

struct XPButtonLook {
    XPButton::ButtonStyleConstants shape = XPButton::lv_Rectangular;
    QSize size;
    QColor container;          // the host's back colour, seen at cut corners
    QColor face;               // back colour, or the hover back colour
    QColor gradient;
    XPButton::GradientConstants gradientMode = XPButton::lv_NoGradient;
    QColor text;
    QColor hoverBorder;
    QColor focusBorder;
    bool pressed = false;
    bool hovered = false;
    bool focused = false;
    bool enabled = true;
    bool showFocusRect = true;
    QString caption;           // as typed: "||" still marks the line breaks
    QFont font;
    int captionAlign = 2;
    XPButton::CaptionEffectConstants captionStyle = XPButton::lv_Default;
    QPixmap picture;           // already in the disabled look when disabled
    XPButton::ImagePlacementConstants pictureAlign = XPButton::lv_LeftEdge;
    XPButton::ImageSizeConstants pictureSize = XPButton::lv_16x16;
};

class XPButtonPainter {
public:
    XPButtonPainter(QPainter& painter, const XPButtonLook& look);

    void Paint();

    // The window region of a shape at a size, in pixels.
    static QRegion Region(XPButton::ButtonStyleConstants shape, const QSize& size);
    // How far the diagonal shapes cut in: (height + 1) / 4.
    static int Cut(int height);
    static bool HasLeftCut(XPButton::ButtonStyleConstants shape);
    static bool HasRightCut(XPButton::ButtonStyleConstants shape);
    static bool IsRound(XPButton::ButtonStyleConstants shape);
    // The caption with its "||" line breaks turned into real ones.
    static QString CaptionText(const QString& caption);
    // Intermediate colours from one colour to another, channel by channel.
    static std::vector<QColor> GradientTable(const QColor& from, const QColor& to, int steps);

private:
    // The first and last pixel of row y inside a shape with straight sides.
    static int LeftEdge(XPButton::ButtonStyleConstants shape, const QSize& size, int y);
    static int RightEdge(XPButton::ButtonStyleConstants shape, const QSize& size, int y);
    static QRegion EllipseRows(const QSize& size);
    static QRegion ShapeRows(XPButton::ButtonStyleConstants shape, const QSize& size);
    static QRegion CornerPixels(XPButton::ButtonStyleConstants shape, const QSize& size);
    QRegion DrawArea() const;
    int Left(int y) const;
    int Right(int y) const;
    QRect ContentRect() const;

    void PaintFace();
    void PaintFrame();
    void PaintRoundFrame();
    QRegion RoundRing(int ring) const;
    void FillRegion(const QRegion& region, const QColor& colour);
    void PaintRing(int ring, const QColor& top, const QColor& left, const QColor& bottom, const QColor& right);
    QRect PaintPicture(const QRect& content);
    QRect PlacePicture(const QRect& content, const QSize& pictureSize, QRect& captionRoom) const;
    void PaintCaption(const QRect& room);
    void DrawCaptionText(const QRect& rect, const QColor& colour);
    void PaintFocus();

    int CaptionFlags() const;

    QPainter& m_painter;
    const XPButtonLook& m_look;
    int m_width;
    int m_height;
    int m_cut;
};

}  // namespace quorvantell
