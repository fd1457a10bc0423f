// StateImages: five marks drawn on a 16-pixel grid.
#include "app/views/StateImages.h"

#include <QPainter>
#include <QPainterPath>

namespace velloran {

namespace {

constexpr int kSide = 16;
const QColor kOneSided(0, 150, 60);
const QColor kMissing(140, 140, 140);
const QColor kNewer(0, 90, 190);
const QColor kSizeDiffers(230, 120, 0);

void Arrow(QPainter& painter, bool right)
{
    QPainterPath path;
    path.moveTo(2, 6.5);
    path.lineTo(8.5, 6.5);
    path.lineTo(8.5, 3);
    path.lineTo(14.5, 8);
    path.lineTo(8.5, 13);
    path.lineTo(8.5, 9.5);
    path.lineTo(2, 9.5);
    path.closeSubpath();
    if (!right) {
        painter.translate(kSide, 0);
        painter.scale(-1, 1);
    }
    painter.fillPath(path, kNewer);
}

void Unequal(QPainter& painter)
{
    painter.setPen(QPen(kSizeDiffers, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(3, 6), QPointF(13, 6));
    painter.drawLine(QPointF(3, 10.5), QPointF(13, 10.5));
    painter.drawLine(QPointF(10.5, 2), QPointF(5.5, 14));
}

void Draw(QPainter& painter, int index)
{
    switch (index) {
    case 1:
        painter.setPen(Qt::NoPen);
        painter.setBrush(kOneSided);
        painter.drawEllipse(QPointF(8, 8), 5, 5);
        break;
    case 2:
        painter.setPen(QPen(kMissing, 1.5, Qt::DotLine));
        painter.drawEllipse(QPointF(8, 8), 5, 5);
        break;
    case 3:
    case 4:
        Arrow(painter, index == 3);
        break;
    default:
        Unequal(painter);
        break;
    }
}

}  // namespace

QPixmap StateImages::Picture(int index, qreal devicePixelRatio)
{
    if (index < 1 || index > kCount)
        return {};
    QPixmap picture(QSize(kSide, kSide) * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter, index);
    return picture;
}

}  // namespace velloran
