// ListImages: the small pictures of one or more report lists, by key and by
// 1-based index (0 stands for no picture) - file icons looked up once per
// file type, and pictures composed of a base icon with an overlay drawn
// over it. Keys are unique; a picture once added keeps its index.
#pragma once

#include "app/views/FileTypeIcons.h"

#include <QPixmap>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace velloran {

class ListImages {
public:
    explicit ListImages(QSize imageSize = QSize(16, 16));

    QSize ImageSize() const { return m_size; }
    int32_t Count() const { return static_cast<int32_t>(m_keys.size()); }
    // 0 when no picture has the key.
    int32_t IndexOfKey(const std::string& key) const;
    // Empty for an index outside 1 .. Count().
    std::string Key(int32_t index) const;
    QPixmap Picture(int32_t index) const;
    QPixmap Picture(const std::string& key) const { return Picture(IndexOfKey(key)); }
    // The picture, scaled to the image size, under a new key: its index;
    // 0 when the key is empty or taken.
    int32_t Add(const std::string& key, const QPixmap& picture);
    // The picture under "OL" + overlay + "." + baseKey: the base picture
    // with the overlay drawn over it, made on first use. 0 when either
    // picture is missing.
    int32_t Overlaid(const std::string& baseKey, const std::string& overlay);
    // The icon of a file or folder: of its type, or its own (see
    // FileTypeIcons). byName: by the name alone, the file need not exist.
    int32_t FileIcon(const std::string& path, bool byName);

private:
    QSize m_size;
    std::vector<std::string> m_keys;
    std::vector<QPixmap> m_pictures;
    std::unordered_map<std::string, int32_t> m_indexes;
    FileTypeIcons m_types;
};

}  // namespace velloran
