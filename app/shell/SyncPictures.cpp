// SyncPictures: arrows, plus, cross, plus-minus and the skip mark drawn on a
// 16-pixel grid.
#include "app/shell/SyncPictures.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace velloran {

namespace {

constexpr int kSide = 16;
const QColor kCopyColour(0, 128, 0);
const QColor kDeleteColour(200, 0, 0);
const QColor kUpdateColour(0, 70, 160);
const QColor kSkipColour(90, 90, 110);

// A thick arrow across the picture, pointing right or left.
void Arrow(QPainter& painter, bool right, const QColor& colour)
{
    QPainterPath path;
    path.moveTo(1, 10);
    path.lineTo(9, 10);
    path.lineTo(9, 7.5);
    path.lineTo(15, 11.5);
    path.lineTo(9, 15.5);
    path.lineTo(9, 13);
    path.lineTo(1, 13);
    path.closeSubpath();
    painter.save();
    if (!right) {
        painter.translate(kSide, 0);
        painter.scale(-1, 1);
    }
    painter.fillPath(path, colour);
    painter.restore();
}

enum class SignKind { Plus, Cross, PlusMinus };

// A small sign above the left or right end of the arrow.
void Sign(QPainter& painter, bool atRight, const QColor& colour, SignKind kind)
{
    const qreal cx = atRight ? 12.5 : 3.5;
    const qreal cy = kind == SignKind::PlusMinus ? 2.5 : 3.5;
    painter.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::FlatCap));
    if (kind == SignKind::Cross) {
        painter.drawLine(QPointF(cx - 2.5, cy - 2.5), QPointF(cx + 2.5, cy + 2.5));
        painter.drawLine(QPointF(cx - 2.5, cy + 2.5), QPointF(cx + 2.5, cy - 2.5));
        return;
    }
    painter.drawLine(QPointF(cx, cy - 2.5), QPointF(cx, cy + 2.5));
    painter.drawLine(QPointF(cx - 2.5, cy), QPointF(cx + 2.5, cy));
    if (kind == SignKind::PlusMinus)
        painter.drawLine(QPointF(cx - 2.5, cy + 4), QPointF(cx + 2.5, cy + 4));
}

// A circle with a bar across it: the file is left alone.
void SkipMark(QPainter& painter)
{
    painter.setPen(QPen(kSkipColour, 1.8));
    painter.drawEllipse(QPointF(8, 8), 5.5, 5.5);
    painter.drawLine(QPointF(4.2, 4.2), QPointF(11.8, 11.8));
}

// A transparent picture of 16 by 16 logical pixels with `draw` on it.
QPixmap Drawn(qreal devicePixelRatio, const std::function<void(QPainter&)>& draw)
{
    QPixmap picture(QSize(kSide, kSide) * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return picture;
}

// A plain copy arrow, in the middle of the picture since no sign sits above it.
void CopyArrow(QPainter& painter, bool right)
{
    painter.translate(0, -3.5);
    Arrow(painter, right, kCopyColour);
}

void ButtonPicture(QPainter& painter, int index)
{
    switch (index) {
    case 0:  // copy left to right: files are added on the right
        Arrow(painter, true, kCopyColour);
        Sign(painter, true, kCopyColour, SignKind::Plus);
        break;
    case 1:  // copy right to left
        Arrow(painter, false, kCopyColour);
        Sign(painter, false, kCopyColour, SignKind::Plus);
        break;
    case 2:  // delete from the right what the left lacks
        Arrow(painter, true, kDeleteColour);
        Sign(painter, true, kDeleteColour, SignKind::Cross);
        break;
    case 3:  // delete from the left what the right lacks
        Arrow(painter, false, kDeleteColour);
        Sign(painter, false, kDeleteColour, SignKind::Cross);
        break;
    default:  // update the right from the left
        Arrow(painter, true, kUpdateColour);
        Sign(painter, true, kUpdateColour, SignKind::PlusMinus);
        break;
    }
}

}  // namespace

QPixmap SyncPictures::Picture(int index, qreal devicePixelRatio)
{
    return Drawn(devicePixelRatio, [index](QPainter& painter) { ButtonPicture(painter, index); });
}

QPixmap SyncPictures::Direction(const std::string& code, qreal devicePixelRatio)
{
    // A copy to the side that lacks the file and a delete on the side that
    // has it look as the main window's buttons for the same action do.
    if (code == ">+")
        return Picture(0, devicePixelRatio);
    if (code == "+<")
        return Picture(1, devicePixelRatio);
    if (code == ">-")
        return Picture(2, devicePixelRatio);
    if (code == "-<")
        return Picture(3, devicePixelRatio);
    if (code == ">" || code == "<")
        return Drawn(devicePixelRatio, [right = code == ">"](QPainter& painter) { CopyArrow(painter, right); });
    if (code == "S")
        return Drawn(devicePixelRatio, SkipMark);
    return {};
}

}  // namespace velloran
