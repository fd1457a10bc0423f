// ImageListData: the images of a qvImageList as bytes - the layout of the
// files SaveToFile writes and of the "Images" property - and the reader that
// takes them back, refusing anything short, damaged or out of bounds.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace quorvantell {

class ImageListData {
public:
    static constexpr uint32_t kVersion = 1;
    static constexpr int kMaxSide = 256;          // pixels across or down
    static constexpr uint32_t kMaxImages = 0xFFFF;  // ImageCount is 16-bit

    struct Image {
        QImage picture;       // ARGB32, the list's icon size
        bool icon = true;     // false: a cursor, whose hot spot counts
        QPoint hotSpot;
        QString key;          // empty: none
    };

    struct Contents {
        int colourDepth = 0;
        std::vector<Image> images;
    };

    static QByteArray Write(const Contents& contents);
    // Nothing when the bytes are not exactly one whole record set.
    static std::optional<Contents> Read(const QByteArray& bytes);
};

}  // namespace quorvantell
