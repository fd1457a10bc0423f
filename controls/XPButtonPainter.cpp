// Drawing of the self-drawn button. Everything is in pixels of the button:
// W and H are its width and height, c the cut of the diagonal shapes.
#include "controls/XPButtonPainter.h"

#include "controls/OleColor.h"
#include "controls/XPShade.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace quorvantell {

namespace {

constexpr int kPadding = 4;         // outline, two bevel rings and one spare pixel
constexpr int kPictureGap = 4;      // between picture and caption
constexpr int kDarkEdge = -104;
constexpr int kLightEdge = 48;
constexpr int kEffectShade = 40;
const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);

QRegion Pixel(int x, int y)
{
    return QRegion(x, y, 1, 1);
}

int FixedPictureSize(XPButton::ImageSizeConstants size)
{
    switch (size) {
    case XPButton::lv_24x24:
        return 24;
    case XPButton::lv_32x32:
        return 32;
    default:
        return 16;
    }
}

}  // namespace

XPButtonPainter::XPButtonPainter(QPainter& painter, const XPButtonLook& look)
    : m_painter(painter), m_look(look), m_width(look.size.width()), m_height(look.size.height()),
      m_cut(Cut(look.size.height()))
{
}

int XPButtonPainter::Cut(int height)
{
    return (height + 1) / 4;
}

bool XPButtonPainter::HasLeftCut(XPButton::ButtonStyleConstants shape)
{
    return shape == XPButton::lv_LeftDiagonal || shape == XPButton::lv_FullDiagonal;
}

bool XPButtonPainter::HasRightCut(XPButton::ButtonStyleConstants shape)
{
    return shape == XPButton::lv_RightDiagonal || shape == XPButton::lv_FullDiagonal;
}

bool XPButtonPainter::IsRound(XPButton::ButtonStyleConstants shape)
{
    return shape == XPButton::lv_Round3D || shape == XPButton::lv_Round3DFixed || shape == XPButton::lv_RoundFlat;
}

QString XPButtonPainter::CaptionText(const QString& caption)
{
    QString text = caption;
    return text.replace(QStringLiteral("||"), QStringLiteral("\n"));
}

std::vector<QColor> XPButtonPainter::GradientTable(const QColor& from, const QColor& to, int steps)
{
    std::vector<QColor> table;
    if (steps <= 0)
        return table;
    table.reserve(static_cast<size_t>(steps));
    const int last = std::max(1, steps - 1);
    for (int i = 0; i < steps; ++i) {
        table.emplace_back(from.red() + (to.red() - from.red()) * i / last,
                           from.green() + (to.green() - from.green()) * i / last,
                           from.blue() + (to.blue() - from.blue()) * i / last);
    }
    return table;
}

int XPButtonPainter::LeftEdge(XPButton::ButtonStyleConstants shape, const QSize& size, int y)
{
    if (!HasLeftCut(shape) || size.height() < 2)
        return 0;
    return (2 * y * Cut(size.height()) + size.height() - 1) / (2 * (size.height() - 1));
}

int XPButtonPainter::RightEdge(XPButton::ButtonStyleConstants shape, const QSize& size, int y)
{
    const int right = size.width() - 1;
    if (!HasRightCut(shape) || size.height() < 2)
        return right;
    const int cut = Cut(size.height());
    return right - cut + (2 * y * cut + size.height() - 1) / (2 * (size.height() - 1));
}

QRegion XPButtonPainter::ShapeRows(XPButton::ButtonStyleConstants shape, const QSize& size)
{
    // Row by row, so that the outline drawn on the same edges is the border.
    QRegion rows;
    for (int y = 0; y < size.height(); ++y) {
        const int left = LeftEdge(shape, size, y);
        rows += QRect(left, y, RightEdge(shape, size, y) - left + 1, 1);
    }
    return rows;
}

QRegion XPButtonPainter::CornerPixels(XPButton::ButtonStyleConstants shape, const QSize& size)
{
    // The corners a cut does not move lose a small triangle of three pixels;
    // the top-left and bottom-right corners never move.
    const int w = size.width();
    const int h = size.height();
    QRegion corners = Pixel(0, 0) + Pixel(1, 0) + Pixel(0, 1);
    corners += Pixel(w - 1, h - 1) + Pixel(w - 2, h - 1) + Pixel(w - 1, h - 2);
    if (!HasLeftCut(shape))
        corners += Pixel(0, h - 1) + Pixel(1, h - 1) + Pixel(0, h - 2);
    if (!HasRightCut(shape))
        corners += Pixel(w - 1, 0) + Pixel(w - 2, 0) + Pixel(w - 1, 1);
    return corners;
}

QRegion XPButtonPainter::EllipseRows(const QSize& size)
{
    // Each row spans the ellipse's width at the row's middle, symmetric about
    // the centre: a smooth edge, where the region Qt builds from a coarse
    // polygon comes to points at the ends.
    QRegion rows;
    const double a = size.width() / 2.0;
    const double b = size.height() / 2.0;
    for (int y = 0; y < size.height(); ++y) {
        const double t = (y + 0.5 - b) / b;
        const int left = static_cast<int>(std::lround(a - a * std::sqrt(std::max(0.0, 1.0 - t * t))));
        if (size.width() - 2 * left > 0)
            rows += QRect(left, y, size.width() - 2 * left, 1);
    }
    return rows;
}

QRegion XPButtonPainter::Region(XPButton::ButtonStyleConstants shape, const QSize& size)
{
    if (IsRound(shape))
        return EllipseRows(size);
    if (shape == XPButton::lv_Rectangular)
        return QRegion(0, 0, size.width(), size.height());
    return ShapeRows(shape, size) - CornerPixels(shape, size);
}

QRegion XPButtonPainter::DrawArea() const
{
    if (IsRound(m_look.shape))
        return Region(m_look.shape, m_look.size);
    // The rectangle keeps its whole window but draws rounded corners.
    return ShapeRows(m_look.shape, m_look.size) - CornerPixels(m_look.shape, m_look.size);
}

int XPButtonPainter::Left(int y) const
{
    return LeftEdge(m_look.shape, m_look.size, y);
}

int XPButtonPainter::Right(int y) const
{
    return RightEdge(m_look.shape, m_look.size, y);
}

QRect XPButtonPainter::ContentRect() const
{
    if (IsRound(m_look.shape)) {
        // The rectangle inscribed in the ellipse.
        const int dx = static_cast<int>(std::ceil(m_width * (1.0 - M_SQRT1_2) / 2.0));
        const int dy = static_cast<int>(std::ceil(m_height * (1.0 - M_SQRT1_2) / 2.0));
        return QRect(dx, dy, m_width - 2 * dx, m_height - 2 * dy);
    }
    const int left = (HasLeftCut(m_look.shape) ? m_cut : 0) + kPadding;
    const int right = (HasRightCut(m_look.shape) ? m_width - m_cut : m_width) - kPadding;
    return QRect(left, kPadding, right - left, m_height - 2 * kPadding);
}

void XPButtonPainter::Paint()
{
    if (m_width <= 0 || m_height <= 0)
        return;
    m_painter.fillRect(QRect(0, 0, m_width, m_height), m_look.container);
    m_painter.setClipRegion(DrawArea());
    PaintFace();
    if (IsRound(m_look.shape))
        PaintRoundFrame();
    else
        PaintFrame();
    const QRect room = PaintPicture(ContentRect());
    PaintCaption(room);
    PaintFocus();
}

void XPButtonPainter::PaintFace()
{
    const QRect all(0, 0, m_width, m_height);
    const auto mode = m_look.gradientMode;
    if (mode == XPButton::lv_NoGradient) {
        m_painter.fillRect(all, m_look.face);
        return;
    }
    const bool across = mode == XPButton::lv_Left2Right || mode == XPButton::lv_Right2Left;
    const bool reversed = mode == XPButton::lv_Right2Left || mode == XPButton::lv_Bottom2Top;
    const int steps = across ? m_width : m_height;
    const std::vector<QColor> table = GradientTable(m_look.face, m_look.gradient, steps);
    for (int i = 0; i < steps; ++i) {
        const QColor& colour = table[static_cast<size_t>(reversed ? steps - 1 - i : i)];
        if (across)
            m_painter.fillRect(QRect(i, 0, 1, m_height), colour);
        else
            m_painter.fillRect(QRect(0, i, m_width, 1), colour);
    }
}

void XPButtonPainter::PaintRing(int ring, const QColor& top, const QColor& left, const QColor& bottom,
                                const QColor& right)
{
    // Ring 0 is the outline; rings 1 and 2 lie just inside it.
    const int topRow = ring;
    const int bottomRow = m_height - 1 - ring;
    if (bottomRow < topRow)
        return;
    for (int y = topRow + 1; y < bottomRow; ++y) {
        m_painter.setPen(left);
        m_painter.drawPoint(Left(y) + ring, y);
        m_painter.setPen(right);
        m_painter.drawPoint(Right(y) - ring, y);
    }
    m_painter.setPen(bottom);
    m_painter.drawLine(Left(bottomRow) + ring, bottomRow, Right(bottomRow) - ring, bottomRow);
    m_painter.setPen(top);
    m_painter.drawLine(Left(topRow) + ring, topRow, Right(topRow) - ring, topRow);
}

void XPButtonPainter::PaintFrame()
{
    const QColor& face = m_look.face;
    const QColor dark = XPShade::Apply(face, kDarkEdge, XPShade::Variant::DarkEdge, true);
    const QColor light = XPShade::Apply(face, kLightEdge, XPShade::Variant::Plain, true);
    const bool pressed = m_look.pressed && m_look.enabled;
    if (pressed) {
        PaintRing(1, dark, dark, light, light);
        PaintRing(2, XPShade::Apply(face, -48), XPShade::Apply(face, -30), XPShade::Apply(face, 60),
                  XPShade::Apply(face, 90));
    } else if ((m_look.hovered || m_look.focused) && m_look.enabled) {
        const QColor& border = m_look.hovered ? m_look.hoverBorder : m_look.focusBorder;
        PaintRing(1, border, border, border, border);
        PaintRing(2, border, border, border, border);
    } else {
        PaintRing(1, light, light, dark, dark);
        PaintRing(2, XPShade::Apply(face, 90), XPShade::Apply(face, 60), XPShade::Apply(face, -48),
                  XPShade::Apply(face, -30));
    }

    const QColor outline = m_look.enabled ? OleColor::ToQColor(XPButton::kOutlineColor)
                                          : XPShade::Apply(face, -80, XPShade::Variant::Plain, true);
    PaintRing(0, outline, outline, outline, outline);
    if (!m_look.enabled)
        return;
    m_painter.setPen(outline);
    // Corner pixels that make the uncut corners look rounded.
    if (!HasLeftCut(m_look.shape)) {
        m_painter.drawPoint(1, 1);
        m_painter.drawPoint(1, m_height - 2);
    }
    if (!HasRightCut(m_look.shape)) {
        m_painter.drawPoint(m_width - 2, 1);
        m_painter.drawPoint(m_width - 2, m_height - 2);
    }
}

QRegion XPButtonPainter::RoundRing(int ring) const
{
    // The pixels of the window region that lie exactly `ring` pixels inside
    // its edge. A drawn ellipse never matches the region's own rows, so its
    // pixels outside the clip went missing and the outline broke up.
    const auto shrink = [](const QRegion& r) {
        return r & r.translated(1, 0) & r.translated(-1, 0) & r.translated(0, 1) & r.translated(0, -1);
    };
    QRegion outer = Region(m_look.shape, m_look.size);
    for (int i = 0; i < ring; ++i)
        outer = shrink(outer);
    return outer - shrink(outer);
}

void XPButtonPainter::FillRegion(const QRegion& region, const QColor& colour)
{
    for (const QRect& rect : region)
        m_painter.fillRect(rect, colour);
}

void XPButtonPainter::PaintRoundFrame()
{
    const bool enabled = m_look.enabled;
    const QRegion outline = RoundRing(0);
    if (m_look.shape == XPButton::lv_RoundFlat) {
        FillRegion(outline, Qt::black);
    } else {
        // The fixed variant keeps its raised edge while pressed. The upper
        // left half runs from the top right to the bottom left of the box.
        const bool sunken = m_look.pressed && enabled && m_look.shape == XPButton::lv_Round3D;
        const QRegion upperLeft(QPolygon({QPoint(0, 0), QPoint(m_width, 0), QPoint(0, m_height)}));
        FillRegion(outline & upperLeft, sunken ? kGrey : kWhite);
        FillRegion(outline - upperLeft, sunken ? kWhite : kGrey);
    }
    if (!enabled || m_look.pressed || !(m_look.hovered || m_look.focused))
        return;
    const QColor& border = m_look.hovered ? m_look.hoverBorder : m_look.focusBorder;
    FillRegion(RoundRing(1) + RoundRing(2), border);
}

QRect XPButtonPainter::PlacePicture(const QRect& content, const QSize& size, QRect& captionRoom) const
{
    const int w = size.width();
    const int h = size.height();
    const int midX = content.left() + (content.width() - w) / 2;
    const int midY = content.top() + (content.height() - h) / 2;
    captionRoom = content;
    switch (m_look.pictureAlign) {
    case XPButton::lv_LeftEdge:
        captionRoom.setLeft(content.left() + w + kPictureGap);
        return QRect(content.left(), midY, w, h);
    case XPButton::lv_RightEdge:
        captionRoom.setRight(content.right() - w - kPictureGap);
        return QRect(content.right() + 1 - w, midY, w, h);
    case XPButton::lv_TopCenter:
        captionRoom.setTop(content.top() + h + kPictureGap);
        return QRect(midX, content.top(), w, h);
    case XPButton::lv_BottomCenter:
        captionRoom.setBottom(content.bottom() - h - kPictureGap);
        return QRect(midX, content.bottom() + 1 - h, w, h);
    case XPButton::lv_LeftOfCaption:
    case XPButton::lv_RightOfCaption:
        break;
    }
    // Beside the caption: the picture sits next to the text as it is aligned.
    const bool left = m_look.pictureAlign == XPButton::lv_LeftOfCaption;
    if (left)
        captionRoom.setLeft(content.left() + w + kPictureGap);
    else
        captionRoom.setRight(content.right() - w - kPictureGap);
    const QString text = CaptionText(m_look.caption);
    if (text.isEmpty())
        return QRect(midX, midY, w, h);
    const QRect textRect = QFontMetrics(m_look.font).boundingRect(captionRoom, CaptionFlags(), text);
    const int x = left ? textRect.left() - kPictureGap - w : textRect.right() + 1 + kPictureGap;
    return QRect(x, midY, w, h);
}

QRect XPButtonPainter::PaintPicture(const QRect& content)
{
    if (m_look.picture.isNull())
        return content;
    const QPixmap& picture = m_look.picture;
    QRect room = content;
    switch (m_look.pictureSize) {
    case XPButton::lv_Fill_Stretch:
        m_painter.drawPixmap(content, picture);
        return content;
    case XPButton::lv_Fill_ScaleUpDown: {
        QSize fitted = picture.size().scaled(content.size(), Qt::KeepAspectRatio);
        const QRect target(content.left() + (content.width() - fitted.width()) / 2,
                           content.top() + (content.height() - fitted.height()) / 2, fitted.width(), fitted.height());
        m_painter.drawPixmap(target, picture);
        return content;
    }
    case XPButton::lv_Full:
        m_painter.drawPixmap(PlacePicture(content, picture.size(), room), picture);
        return room;
    default: {
        const int side = FixedPictureSize(m_look.pictureSize);
        m_painter.drawPixmap(PlacePicture(content, QSize(side, side), room), picture);
        return room;
    }
    }
}

int XPButtonPainter::CaptionFlags() const
{
    int align = Qt::AlignHCenter;
    if (m_look.captionAlign == 0)
        align = Qt::AlignLeft;
    else if (m_look.captionAlign == 1)
        align = Qt::AlignRight;
    return align | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
}

void XPButtonPainter::DrawCaptionText(const QRect& rect, const QColor& colour)
{
    m_painter.setPen(colour);
    m_painter.drawText(rect, CaptionFlags(), CaptionText(m_look.caption));
}

void XPButtonPainter::PaintCaption(const QRect& room)
{
    if (m_look.caption.isEmpty() || room.width() <= 0)
        return;
    m_painter.setFont(m_look.font);
    const QRect measured = QFontMetrics(m_look.font).boundingRect(room, CaptionFlags(), CaptionText(m_look.caption));
    QRect rect(room.left(), room.top() + (room.height() - measured.height()) / 2, room.width(), measured.height());
    if (m_look.pressed && m_look.enabled)
        rect.translate(IsRound(m_look.shape) ? 0 : 1, 1);

    if (!m_look.enabled) {
        DrawCaptionText(rect.translated(1, 1), kWhite);
        DrawCaptionText(rect, kGrey);
        return;
    }
    if (m_look.captionStyle != XPButton::lv_Default) {
        const int first = m_look.captionStyle == XPButton::lv_Sunken ? -kEffectShade : kEffectShade;
        DrawCaptionText(rect.translated(-1, 0), XPShade::Apply(m_look.face, first));
        DrawCaptionText(rect.translated(1, 2), XPShade::Apply(m_look.face, -first));
        rect.translate(0, 1);
    }
    DrawCaptionText(rect, m_look.text);
}

void XPButtonPainter::PaintFocus()
{
    if (!m_look.showFocusRect || !m_look.focused || !m_look.enabled)
        return;
    QRect rect;
    if (IsRound(m_look.shape)) {
        rect = ContentRect().adjusted(-1, -1, 1, 1);
    } else {
        // Inside the rings and clear of the cuts on every row.
        const int left = Left(m_height - 1) + 3;
        const int right = Right(0) - 3;
        rect = QRect(QPoint(left, 3), QPoint(right, m_height - 4));
    }
    // A dotted line: every other pixel of the rectangle's outline.
    m_painter.setPen(m_look.text);
    for (int x = rect.left(); x <= rect.right(); ++x) {
        if ((x + rect.top()) % 2 == 0)
            m_painter.drawPoint(x, rect.top());
        if ((x + rect.bottom()) % 2 == 0)
            m_painter.drawPoint(x, rect.bottom());
    }
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
        if ((rect.left() + y) % 2 == 0)
            m_painter.drawPoint(rect.left(), y);
        if ((rect.right() + y) % 2 == 0)
            m_painter.drawPoint(rect.right(), y);
    }
}

}  // namespace quorvantell
