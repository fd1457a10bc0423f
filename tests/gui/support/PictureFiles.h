// Small picture files written byte by byte for the image-list tests: icon
// and cursor files of 32-bit pictures, animated cursors, BMP and GIF; and
// the keys of a list in image order.
#pragma once

#include "controls/qvImageList.h"
#include "tests/gui/support/TempFolder.h"

#include <QBuffer>
#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QPoint>

#include <utility>
#include <vector>

namespace velloran::test {

inline QImage Filled(QSize size, QRgb colour)
{
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(colour);
    return picture;
}

// An icon (type 1) or cursor (type 2) file of 32-bit pictures, each with its
// hot spot.
inline QByteArray IconFile(uint16_t type, const std::vector<std::pair<QImage, QPoint>>& pictures)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << uint16_t(0) << type << uint16_t(pictures.size());
    QByteArray data;
    for (const auto& [picture, hotSpot] : pictures) {
        const int maskRow = ((picture.width() + 31) / 32) * 4;
        QByteArray dib;
        QDataStream d(&dib, QIODevice::WriteOnly);
        d.setByteOrder(QDataStream::LittleEndian);
        d << uint32_t(40) << int32_t(picture.width()) << int32_t(picture.height() * 2) << uint16_t(1) << uint16_t(32)
          << uint32_t(0) << uint32_t(0) << int32_t(0) << int32_t(0) << uint32_t(0) << uint32_t(0);
        for (int y = picture.height() - 1; y >= 0; --y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb pixel = picture.pixel(x, y);
                d << uint8_t(qBlue(pixel)) << uint8_t(qGreen(pixel)) << uint8_t(qRed(pixel)) << uint8_t(qAlpha(pixel));
            }
        }
        dib.append(QByteArray(maskRow * picture.height(), '\0'));
        const bool cursor = type == 2;
        out << uint8_t(picture.width()) << uint8_t(picture.height()) << uint8_t(0) << uint8_t(0)
            << uint16_t(cursor ? hotSpot.x() : 1) << uint16_t(cursor ? hotSpot.y() : 32) << uint32_t(dib.size())
            << uint32_t(6 + 16 * pictures.size() + data.size());
        data += dib;
    }
    return bytes + data;
}

inline QByteArray Chunk(const char* id, const QByteArray& data)
{
    QByteArray chunk(id, 4);
    QDataStream out(&chunk, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << uint32_t(data.size());
    chunk += data;
    if (data.size() % 2)
        chunk += '\0';
    return chunk;
}

// An animated cursor whose frames are cursor files.
inline QByteArray AnimatedCursor(const std::vector<QByteArray>& frames)
{
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << uint32_t(36) << uint32_t(frames.size()) << uint32_t(frames.size()) << uint32_t(0) << uint32_t(0)
        << uint32_t(0) << uint32_t(0) << uint32_t(10) << uint32_t(1);
    QByteArray list("fram");
    for (const QByteArray& frame : frames)
        list += Chunk("icon", frame);
    return Chunk("RIFF", "ACON" + Chunk("anih", header) + Chunk("LIST", list));
}

inline QByteArray Bmp(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    return bytes;
}

// A 1 x 1 GIF of one red pixel.
inline QByteArray Gif()
{
    return QByteArray::fromHex("474946383961" "01000100" "800000" "ff0000000000" "2c000000000100010000" "0202440100"
                               "3b");
}

inline QByteArray Cursor(QRgb colour, QSize size = QSize(16, 16))
{
    return IconFile(2, {{Filled(size, colour), QPoint(3, 4)}});
}

inline QString Write(const TempFolder& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = QString::fromStdString(folder.Root()) + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

inline QStringList Keys(const quorvantell::qvImageList& list)
{
    QStringList keys;
    for (int i = 1; i <= list.ImageCount(); ++i)
        keys << list.ItemKey(i);
    return keys;
}

}  // namespace velloran::test
