// The record layout of a saved image list. Every value is a little-endian
// 32-bit number unless said otherwise.
//
//   version (1)   image count (at most 65535)   colour depth (0, 4, 8, 16, 24, 32)
//   image records, one per image:
//     icon information: icon flag (1 icon, 0 cursor), hot spot x, hot spot y
//     colour bitmap description: type 0, width, height, bytes per row,
//       planes 1 (16-bit), bits per pixel (16-bit: 32 when the colour depth
//       is 32, else 24), bits 0
//     colour rows, top row first, blue green red (alpha) per pixel, each row
//       padded with zeros to a multiple of 4 bytes
//     mask bitmap description as above with 1 bit per pixel
//     mask rows, top row first, most significant bit leftmost, 1 where the
//       image is transparent, each row padded to a multiple of 4 bytes
//   key text length in bytes
//   key text: every image's key in UTF-8 followed by a NUL, in image order
//
// Every image has the same width and height (1 to 256); keys other than the
// empty one are unique. The reader checks every count and length against
// the bytes that are really there before it allocates anything, and accepts
// nothing after the key text.
#include "controls/ImageListData.h"

#include <QDataStream>
#include <QIODevice>
#include <QSet>

namespace quorvantell {

namespace {

constexpr uint32_t kBitmapType = 0;
constexpr uint16_t kPlanes = 1;
constexpr int kRecordHeader = 12;
constexpr int kBitmapDescription = 24;

bool ValidDepth(uint32_t depth)
{
    return depth == 0 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

int RowBytes(int width, int bitsPerPixel)
{
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

void WriteDescription(QDataStream& out, const QImage& picture, uint16_t bitsPerPixel)
{
    out << kBitmapType << uint32_t(picture.width()) << uint32_t(picture.height())
        << uint32_t(RowBytes(picture.width(), bitsPerPixel)) << kPlanes << bitsPerPixel << uint32_t(0);
}

QByteArray ColourRows(const QImage& picture, int bitsPerPixel)
{
    const int rowBytes = RowBytes(picture.width(), bitsPerPixel);
    QByteArray rows(rowBytes * picture.height(), '\0');
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<uchar*>(rows.data()) + y * rowBytes;
        const auto* pixels = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = qAlpha(pixels[x]) == 0 && bitsPerPixel == 24 ? 0 : pixels[x];
            uchar* out = row + x * (bitsPerPixel / 8);
            out[0] = uchar(qBlue(pixel));
            out[1] = uchar(qGreen(pixel));
            out[2] = uchar(qRed(pixel));
            if (bitsPerPixel == 32)
                out[3] = uchar(qAlpha(pixel));
        }
    }
    return rows;
}

QByteArray MaskRows(const QImage& picture)
{
    const int rowBytes = RowBytes(picture.width(), 1);
    QByteArray rows(rowBytes * picture.height(), '\0');
    for (int y = 0; y < picture.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(pixels[x]) == 0)
                rows[y * rowBytes + x / 8] = char(rows[y * rowBytes + x / 8] | (0x80 >> (x % 8)));
        }
    }
    return rows;
}

struct Description {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t rowBytes = 0;
    uint16_t bitsPerPixel = 0;
};

// A bitmap description that fits the list and the bytes left to read.
std::optional<Description> ReadDescription(QDataStream& in, uint16_t wantedBits)
{
    uint32_t type = 0, bits = 0;
    uint16_t planes = 0;
    Description d;
    in >> type >> d.width >> d.height >> d.rowBytes >> planes >> d.bitsPerPixel >> bits;
    if (in.status() != QDataStream::Ok || type != kBitmapType || planes != kPlanes || d.bitsPerPixel != wantedBits)
        return std::nullopt;
    if (d.width < 1 || d.width > uint32_t(ImageListData::kMaxSide) || d.height < 1 ||
        d.height > uint32_t(ImageListData::kMaxSide))
        return std::nullopt;
    if (d.rowBytes != uint32_t(RowBytes(int(d.width), wantedBits)) ||
        qint64(d.rowBytes) * d.height > in.device()->bytesAvailable())
        return std::nullopt;
    return d;
}

std::optional<ImageListData::Image> ReadImage(QDataStream& in, uint16_t colourBits)
{
    uint32_t iconFlag = 0, hotX = 0, hotY = 0;
    in >> iconFlag >> hotX >> hotY;
    const std::optional<Description> colour = ReadDescription(in, colourBits);
    if (!colour || iconFlag > 1 || hotX >= colour->width || hotY >= colour->height)
        return std::nullopt;
    const QByteArray colourRows = in.device()->read(qint64(colour->rowBytes) * colour->height);
    const std::optional<Description> mask = ReadDescription(in, 1);
    if (!mask || mask->width != colour->width || mask->height != colour->height)
        return std::nullopt;
    const QByteArray maskRows = in.device()->read(qint64(mask->rowBytes) * mask->height);

    ImageListData::Image image;
    image.icon = iconFlag == 1;
    image.hotSpot = QPoint(int(hotX), int(hotY));
    image.picture = QImage(int(colour->width), int(colour->height), QImage::Format_ARGB32);
    const int step = colourBits / 8;
    for (int y = 0; y < image.picture.height(); ++y) {
        const auto* row = reinterpret_cast<const uchar*>(colourRows.constData()) + y * colour->rowBytes;
        const auto* maskRow = reinterpret_cast<const uchar*>(maskRows.constData()) + y * mask->rowBytes;
        auto* pixels = reinterpret_cast<QRgb*>(image.picture.scanLine(y));
        for (int x = 0; x < image.picture.width(); ++x) {
            const uchar* p = row + x * step;
            const bool transparent = maskRow[x / 8] & (0x80 >> (x % 8));
            const int alpha = transparent ? 0 : (step == 4 ? p[3] : 255);
            pixels[x] = alpha == 0 && step == 3 ? 0u : qRgba(p[2], p[1], p[0], alpha);
        }
    }
    return image;
}

bool ReadKeys(QDataStream& in, std::vector<ImageListData::Image>& images)
{
    uint32_t length = 0;
    in >> length;
    if (in.status() != QDataStream::Ok || length != in.device()->bytesAvailable())
        return false;
    const QByteArray text = in.device()->read(length);
    if (text.count('\0') != qsizetype(images.size()) || (!text.isEmpty() && !text.endsWith('\0')))
        return false;
    QSet<QString> seen;
    qsizetype start = 0;
    for (ImageListData::Image& image : images) {
        const qsizetype end = text.indexOf('\0', start);
        image.key = QString::fromUtf8(text.mid(start, end - start));
        start = end + 1;
        if (image.key.isEmpty())
            continue;
        if (seen.contains(image.key))
            return false;
        seen.insert(image.key);
    }
    return true;
}

}  // namespace

QByteArray ImageListData::Write(const Contents& contents)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const uint16_t colourBits = contents.colourDepth == 32 ? 32 : 24;
    out << kVersion << uint32_t(contents.images.size()) << uint32_t(contents.colourDepth);
    QByteArray keys;
    for (const Image& image : contents.images) {
        const QImage picture = image.picture.convertToFormat(QImage::Format_ARGB32);
        out << uint32_t(image.icon ? 1 : 0) << uint32_t(image.hotSpot.x()) << uint32_t(image.hotSpot.y());
        WriteDescription(out, picture, colourBits);
        const QByteArray colour = ColourRows(picture, colourBits);
        out.writeRawData(colour.constData(), int(colour.size()));
        WriteDescription(out, picture, 1);
        const QByteArray mask = MaskRows(picture);
        out.writeRawData(mask.constData(), int(mask.size()));
        keys += image.key.toUtf8();
        keys += '\0';
    }
    out << uint32_t(keys.size());
    out.writeRawData(keys.constData(), int(keys.size()));
    return bytes;
}

std::optional<ImageListData::Contents> ImageListData::Read(const QByteArray& bytes)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    uint32_t version = 0, count = 0, depth = 0;
    in >> version >> count >> depth;
    if (in.status() != QDataStream::Ok || version != kVersion || count > kMaxImages || !ValidDepth(depth))
        return std::nullopt;
    // Each record takes at least its fixed parts and one row of each bitmap.
    const qint64 smallestRecord = kRecordHeader + 2 * kBitmapDescription + 8;
    if (qint64(count) * smallestRecord > in.device()->bytesAvailable())
        return std::nullopt;
    Contents contents;
    contents.colourDepth = int(depth);
    const uint16_t colourBits = depth == 32 ? 32 : 24;
    contents.images.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        std::optional<Image> image = ReadImage(in, colourBits);
        if (!image || (i > 0 && image->picture.size() != contents.images.front().picture.size()))
            return std::nullopt;
        contents.images.push_back(std::move(*image));
    }
    if (!ReadKeys(in, contents.images))
        return std::nullopt;
    return contents;
}

}  // namespace quorvantell
