// ListImages. Pictures are drawn onto a transparent canvas of the image size,
// so icons of other sizes and overlays line up.
#include "app/views/ListImages.h"

#include <QPainter>

namespace velloran {

ListImages::ListImages(QSize imageSize) : m_size(imageSize) {}

int32_t ListImages::IndexOfKey(const std::string& key) const
{
    const auto found = m_indexes.find(key);
    return found == m_indexes.end() ? 0 : found->second;
}

std::string ListImages::Key(int32_t index) const
{
    return index >= 1 && index <= Count() ? m_keys[index - 1] : std::string();
}

QPixmap ListImages::Picture(int32_t index) const
{
    return index >= 1 && index <= Count() ? m_pictures[index - 1] : QPixmap();
}

int32_t ListImages::Add(const std::string& key, const QPixmap& picture)
{
    if (key.empty() || m_indexes.count(key) != 0)
        return 0;
    QPixmap canvas(m_size);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    if (!picture.isNull())
        painter.drawPixmap(QRect(QPoint(0, 0), m_size), picture);
    painter.end();
    m_keys.push_back(key);
    m_pictures.push_back(canvas);
    m_indexes.emplace(key, Count());
    return Count();
}

int32_t ListImages::Overlaid(const std::string& baseKey, const std::string& overlay)
{
    const std::string key = "OL" + overlay + "." + baseKey;
    if (const int32_t existing = IndexOfKey(key))
        return existing;
    const int32_t base = IndexOfKey(baseKey), over = IndexOfKey(overlay);
    if (base == 0 || over == 0)
        return 0;
    QPixmap canvas = Picture(base);
    QPainter painter(&canvas);
    painter.drawPixmap(0, 0, Picture(over));
    painter.end();
    return Add(key, canvas);
}

int32_t ListImages::FileIcon(const std::string& path, bool byName)
{
    const FileTypeIcons::FileType type = m_types.TypeOf(path, byName);
    if (const int32_t cached = IndexOfKey(type.key))
        return cached;
    return Add(type.key, m_types.Picture(type, path, m_size));
}

}  // namespace velloran
