// ImageFileReader: the pictures an image list takes from files - icons and
// cursors (the picture nearest the wanted size, with a cursor's hot spot),
// every frame of an animated cursor, and BMP and GIF pictures. Files are
// known by their first bytes, never by their names.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <vector>

namespace quorvantell {

class ImageFileReader {
public:
    enum Kind { Unknown, Bitmap, Icon, Cursor, AnimatedCursor };
    // Larger files are not image-list pictures.
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

    struct Frame {
        QImage picture;   // ARGB32
        bool icon = true;
        QPoint hotSpot;
    };

    static Kind KindOf(const QByteArray& bytes);
    static Kind KindOf(const QString& fileName);
    // One picture, or every frame of an animated cursor when allFrames;
    // empty when the bytes hold no picture that can be read.
    static std::vector<Frame> Read(const QByteArray& bytes, QSize wanted, bool allFrames);
    static std::vector<Frame> Read(const QString& fileName, QSize wanted, bool allFrames);

private:
    static std::vector<Frame> ReadIconFile(const QByteArray& bytes, QSize wanted);
    static std::vector<Frame> ReadAnimation(const QByteArray& bytes, QSize wanted, bool allFrames);
    static QByteArray Head(const QString& fileName, qint64 length);
};

}  // namespace quorvantell
