// Icon and cursor files are a directory of pictures; the one nearest the
// wanted size (then the deepest) is cut out as a one-picture icon file for
// Qt's reader, which knows the DIB and PNG pictures inside. Animated cursors
// are RIFF files whose "fram" list holds one icon or cursor file per frame.
// Every offset and length read from a file is checked against its size.
#include "controls/ImageFileReader.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QImageReader>

#include <cstdlib>
#include <optional>

namespace quorvantell {

namespace {

constexpr int kIconHeader = 6;
constexpr int kIconEntry = 16;
constexpr uint16_t kTypeIcon = 1;
constexpr uint16_t kTypeCursor = 2;
constexpr uint32_t kAnimationIconFlag = 1;  // frames are icon or cursor files
constexpr size_t kMaxFrames = 0xFFFF;

uint16_t U16(const QByteArray& bytes, qsizetype at)
{
    return uint16_t(uchar(bytes[at]) | (uchar(bytes[at + 1]) << 8));
}

uint32_t U32(const QByteArray& bytes, qsizetype at)
{
    return uint32_t(U16(bytes, at)) | (uint32_t(U16(bytes, at + 2)) << 16);
}

struct Entry {
    int width;
    int height;
    int bitCount;
    QPoint hotSpot;
    uint32_t length;
    uint32_t offset;
};

std::optional<Entry> EntryAt(const QByteArray& bytes, int index, uint16_t type)
{
    const qsizetype at = kIconHeader + qsizetype(index) * kIconEntry;
    Entry entry;
    entry.width = uchar(bytes[at]) == 0 ? 256 : uchar(bytes[at]);
    entry.height = uchar(bytes[at + 1]) == 0 ? 256 : uchar(bytes[at + 1]);
    const uint16_t planes = U16(bytes, at + 4);
    const uint16_t bitCount = U16(bytes, at + 6);
    entry.bitCount = type == kTypeIcon ? bitCount : 0;
    entry.hotSpot = type == kTypeCursor ? QPoint(planes, bitCount) : QPoint();
    entry.length = U32(bytes, at + 8);
    entry.offset = U32(bytes, at + 12);
    if (entry.length == 0 || entry.offset > uint64_t(bytes.size()) || entry.length > bytes.size() - entry.offset)
        return std::nullopt;
    return entry;
}

// Nearest in size to the wanted one; of equal nearness, the deepest.
bool Better(const Entry& candidate, const Entry& best, QSize wanted)
{
    const int candidateGap = std::abs(candidate.width - wanted.width()) + std::abs(candidate.height - wanted.height());
    const int bestGap = std::abs(best.width - wanted.width()) + std::abs(best.height - wanted.height());
    return candidateGap < bestGap || (candidateGap == bestGap && candidate.bitCount > best.bitCount);
}

// The entry as an icon file of its own.
QImage Decode(const QByteArray& bytes, const Entry& entry)
{
    QByteArray single;
    QDataStream out(&single, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << uint16_t(0) << kTypeIcon << uint16_t(1);
    out << uint8_t(entry.width == 256 ? 0 : entry.width) << uint8_t(entry.height == 256 ? 0 : entry.height)
        << uint8_t(0) << uint8_t(0) << uint16_t(1) << uint16_t(entry.bitCount) << entry.length
        << uint32_t(kIconHeader + kIconEntry);
    single += bytes.mid(entry.offset, entry.length);
    QBuffer buffer(&single);
    QImageReader reader(&buffer, "ico");
    return reader.read();
}

QImage Fitted(const QImage& picture, QSize wanted)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    if (!wanted.isValid() || argb.size() == wanted)
        return argb;
    return argb.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QPoint ScaledHotSpot(QPoint hotSpot, QSize from, QSize to)
{
    if (!to.isValid() || from == to)
        return hotSpot;
    return QPoint(std::min(hotSpot.x() * to.width() / from.width(), to.width() - 1),
                  std::min(hotSpot.y() * to.height() / from.height(), to.height() - 1));
}

struct Chunk {
    QByteArray id;
    qsizetype start;
    qsizetype length;
};

// The chunk at `at` within [at, end), or nothing when it does not fit.
std::optional<Chunk> ChunkAt(const QByteArray& bytes, qsizetype at, qsizetype end)
{
    if (end - at < 8)
        return std::nullopt;
    const uint32_t length = U32(bytes, at + 4);
    if (length > uint64_t(end - at - 8))
        return std::nullopt;
    return Chunk{bytes.mid(at, 4), at + 8, qsizetype(length)};
}

qsizetype After(const Chunk& chunk)
{
    return chunk.start + chunk.length + (chunk.length & 1);
}

}  // namespace

ImageFileReader::Kind ImageFileReader::KindOf(const QByteArray& bytes)
{
    if (bytes.startsWith("BM") || bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return Bitmap;
    if (bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "ACON")
        return AnimatedCursor;
    if (bytes.size() >= kIconHeader && U16(bytes, 0) == 0 && U16(bytes, 4) > 0) {
        if (U16(bytes, 2) == kTypeIcon)
            return Icon;
        if (U16(bytes, 2) == kTypeCursor)
            return Cursor;
    }
    return Unknown;
}

ImageFileReader::Kind ImageFileReader::KindOf(const QString& fileName)
{
    return KindOf(Head(fileName, 12));
}

QByteArray ImageFileReader::Head(const QString& fileName, qint64 length)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return {};
    return file.read(length);
}

std::vector<ImageFileReader::Frame> ImageFileReader::Read(const QString& fileName, QSize wanted, bool allFrames)
{
    return Read(Head(fileName, kMaxFileBytes), wanted, allFrames);
}

std::vector<ImageFileReader::Frame> ImageFileReader::Read(const QByteArray& bytes, QSize wanted, bool allFrames)
{
    switch (KindOf(bytes)) {
    case Icon:
    case Cursor:
        return ReadIconFile(bytes, wanted);
    case AnimatedCursor:
        return ReadAnimation(bytes, wanted, allFrames);
    case Bitmap: {
        const QImage picture = QImage::fromData(bytes);
        if (picture.isNull())
            return {};
        return {Frame{Fitted(picture, wanted), true, QPoint()}};
    }
    case Unknown:
        break;
    }
    return {};
}

std::vector<ImageFileReader::Frame> ImageFileReader::ReadIconFile(const QByteArray& bytes, QSize wanted)
{
    const Kind kind = KindOf(bytes);
    if (kind != Icon && kind != Cursor)
        return {};
    const uint16_t type = U16(bytes, 2);
    const int count = U16(bytes, 4);
    if (bytes.size() < kIconHeader + qsizetype(count) * kIconEntry)
        return {};
    std::optional<Entry> best;
    for (int i = 0; i < count; ++i) {
        const std::optional<Entry> entry = EntryAt(bytes, i, type);
        if (entry && (!best || Better(*entry, *best, wanted)))
            best = entry;
    }
    if (!best)
        return {};
    const QImage picture = Decode(bytes, *best);
    if (picture.isNull())
        return {};
    Frame frame{Fitted(picture, wanted), type == kTypeIcon, QPoint()};
    frame.hotSpot = ScaledHotSpot(best->hotSpot, picture.size(), frame.picture.size());
    return {frame};
}

std::vector<ImageFileReader::Frame> ImageFileReader::ReadAnimation(const QByteArray& bytes, QSize wanted,
                                                                   bool allFrames)
{
    const qsizetype end = std::min<qsizetype>(bytes.size(), 8 + qsizetype(U32(bytes, 4)));
    bool iconFrames = false;
    std::vector<Frame> frames;
    for (qsizetype at = 12; at < end;) {
        const std::optional<Chunk> chunk = ChunkAt(bytes, at, end);
        if (!chunk)
            return {};
        if (chunk->id == "anih" && chunk->length >= 36)
            iconFrames = (U32(bytes, chunk->start + 32) & kAnimationIconFlag) != 0;
        if (chunk->id == "LIST" && chunk->length >= 4 && bytes.mid(chunk->start, 4) == "fram") {
            if (!iconFrames)
                return {};  // raw bitmap frames, or no header before the frames
            const qsizetype listEnd = chunk->start + chunk->length;
            for (qsizetype inner = chunk->start + 4; inner < listEnd;) {
                const std::optional<Chunk> icon = ChunkAt(bytes, inner, listEnd);
                if (!icon)
                    return {};
                if (icon->id == "icon") {
                    const std::vector<Frame> frame = ReadIconFile(bytes.mid(icon->start, icon->length), wanted);
                    if (frame.empty())
                        return {};
                    frames.push_back(frame.front());
                    if (!allFrames)
                        return frames;
                    if (frames.size() > kMaxFrames)
                        return {};  // more than any image list can hold
                }
                inner = After(*icon);
            }
        }
        at = After(*chunk);
    }
    return frames;
}

}  // namespace quorvantell
