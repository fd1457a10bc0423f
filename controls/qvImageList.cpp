// qvImageList: the images are kept as ARGB32 pictures of the icon size,
// already brought down to the colour depth (below 32 bits a pixel is either
// opaque or transparent, as with an icon's mask), so drawing and saving see
// what the list holds.
#include "controls/qvImageList.h"

#include "controls/ControlLibrary.h"
#include "controls/ImageFileReader.h"
#include "controls/OleColor.h"
#include "controls/PropertyBag.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace quorvantell {

namespace {

constexpr uint32_t k3DLight = OleColor::kSystemFlag | 22u;
constexpr int kOpaqueFrom = 128;  // alpha from which a pixel stays in a mask
constexpr qint64 kMaxListFileBytes = 256 * 1024 * 1024;

bool ValidSize(int32_t value)
{
    return value >= 1 && value <= ImageListData::kMaxSide;
}

bool IsNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

// The sixteen colours of the classic 4-bit palette.
QList<QRgb> SixteenColours()
{
    return {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
            0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
}

QImage Colours(const QImage& opaque, int depth)
{
    switch (depth) {
    case qvImageList::ILC_COLOR24:
        return opaque;
    case qvImageList::ILC_COLOR16:
        return opaque.convertToFormat(QImage::Format_RGB555).convertToFormat(QImage::Format_RGB32);
    case qvImageList::ILC_COLOR8:
        return opaque.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither).convertToFormat(QImage::Format_RGB32);
    default:
        return opaque.convertToFormat(QImage::Format_Indexed8, SixteenColours(), Qt::ThresholdDither)
            .convertToFormat(QImage::Format_RGB32);
    }
}

// Opaque pixels of the picture washed half over with the colour.
QImage Tinted(QImage picture, const QColor& colour)
{
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.setOpacity(0.5);
    painter.fillRect(picture.rect(), colour);
    return picture;
}

void ReplaceColour(QImage& picture, QRgb from, QRgb to)
{
    for (int y = 0; y < picture.height(); ++y) {
        auto* pixels = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(pixels[x]) != 0 && (pixels[x] & 0xFFFFFF) == (from & 0xFFFFFF))
                pixels[x] = to;
        }
    }
}

}  // namespace

qvImageList::qvImageList(QWidget* parent) : QWidget(parent)
{
    ControlLibrary::StartUp();
    hide();
    Create();
}

int32_t qvImageList::IconSizeX() const { return m_sizeX; }

void qvImageList::SetIconSizeX(int32_t value)
{
    if (!ValidSize(value))
        return;
    m_sizeX = value;
    Resize();
}

int32_t qvImageList::IconSizeY() const { return m_sizeY; }

void qvImageList::SetIconSizeY(int32_t value)
{
    if (!ValidSize(value))
        return;
    m_sizeY = value;
    Resize();
}

qvImageList::eilColourDepth qvImageList::ColourDepth() const { return m_depth; }

void qvImageList::SetColourDepth(eilColourDepth value)
{
    m_depth = value;
    for (Image& image : m_images)
        image.picture = Reduced(image.picture);
}

int qvImageList::SystemColourDepth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : ILC_COLOR24;
}

int16_t qvImageList::ImageCount() const { return int16_t(m_images.size()); }

const qvImageList* qvImageList::hIml() const { return m_created ? this : nullptr; }

QString qvImageList::ItemKey(int iIndex) const
{
    return iIndex >= 1 && iIndex <= int(m_images.size()) ? m_images[size_t(iIndex - 1)].key : QString();
}

bool qvImageList::SetItemKey(int iIndex, const QString& key)
{
    if (iIndex < 1 || iIndex > int(m_images.size()))
        return false;
    const int holder = Index(key);
    if (!key.isEmpty() && holder >= 0 && holder != iIndex - 1)
        return false;
    m_images[size_t(iIndex - 1)].key = key;
    return true;
}

int qvImageList::ItemIndex(const QVariant& vKeY) const { return Index(vKeY) + 1; }

bool qvImageList::KeyExists(const QString& Key) const { return !Key.isEmpty() && Index(Key) >= 0; }

int qvImageList::Index(const QVariant& vKeY) const
{
    if (IsNumber(vKeY)) {
        const int index = vKeY.toInt() - 1;
        return index >= 0 && index < int(m_images.size()) ? index : -1;
    }
    const QString key = vKeY.toString();
    if (key.isEmpty())
        return -1;
    const auto it = std::find_if(m_images.begin(), m_images.end(), [&key](const Image& image) { return image.key == key; });
    return it == m_images.end() ? -1 : int(it - m_images.begin());
}

QImage qvImageList::ItemPicture(const QVariant& vKeY) const
{
    const int index = Index(vKeY);
    return index < 0 ? QImage() : m_images[size_t(index)].picture;
}

QIcon qvImageList::ItemCopyOfIcon(const QVariant& vKeY) const
{
    const QImage picture = ItemPicture(vKeY);
    return picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture));
}

QImage qvImageList::ImagePictureStrip(const QVariant& vStartKeY, const QVariant& vEndKeY, uint32_t oBackColor) const
{
    const int first = Index(vStartKeY);
    const int last = Index(vEndKeY);
    if (first < 0 || last < first)
        return {};
    QImage strip((last - first + 1) * m_sizeX, m_sizeY, QImage::Format_ARGB32);
    strip.fill(OleColor::ToQColor(oBackColor));
    QPainter painter(&strip);
    for (int index = first; index <= last; ++index)
        painter.drawImage((index - first) * m_sizeX, 0, m_images[size_t(index)].picture);
    return strip;
}

bool qvImageList::Create()
{
    m_images.clear();
    m_created = true;
    return true;
}

void qvImageList::Destroy()
{
    m_images.clear();
    m_created = false;
}

void qvImageList::Clear()
{
    m_images.clear();
}

bool qvImageList::Insert(std::vector<Image> images, const QVariant& vKeyAfter)
{
    if (!m_created || images.empty() || m_images.size() + images.size() > ImageListData::kMaxImages)
        return false;
    if (KeyExists(images.front().key))
        return false;
    size_t at = m_images.size();
    if (vKeyAfter.isValid() && !(vKeyAfter.typeId() == QMetaType::QString && vKeyAfter.toString().isEmpty())) {
        const int after = Index(vKeyAfter);
        if (after < 0)
            return false;
        at = size_t(after + 1);
    }
    m_images.insert(m_images.begin() + std::ptrdiff_t(at), std::make_move_iterator(images.begin()),
                    std::make_move_iterator(images.end()));
    return true;
}

qvImageList::Image qvImageList::Prepared(QImage picture, bool mapSysColors, uint32_t backColor) const
{
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    if (mapSysColors) {
        ReplaceColour(picture, 0xFF808080, OleColor::ToQColor(OleColor::kButtonShadow).rgb());
        ReplaceColour(picture, 0xFFC0C0C0, OleColor::ToQColor(OleColor::kButtonFace).rgb());
        ReplaceColour(picture, 0xFFDFDFDF, OleColor::ToQColor(k3DLight).rgb());
    }
    if (backColor != kNoColour)
        ReplaceColour(picture, OleColor::ToQColor(backColor).rgb(), 0);
    if (picture.size() != QSize(m_sizeX, m_sizeY))
        picture = picture.scaled(m_sizeX, m_sizeY, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Image image;
    image.picture = Reduced(picture);
    return image;
}

QImage qvImageList::Reduced(const QImage& picture) const
{
    if (m_depth == ILC_COLOR32)
        return picture;
    const QImage colours = Colours(picture.convertToFormat(QImage::Format_RGB32), m_depth);
    QImage reduced(picture.size(), QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        const auto* alpha = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const auto* colour = reinterpret_cast<const QRgb*>(colours.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(reduced.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            out[x] = qAlpha(alpha[x]) < kOpaqueFrom ? 0u : (colour[x] | 0xFF000000u);
    }
    return reduced;
}

void qvImageList::Resize()
{
    for (Image& image : m_images) {
        const QSize old = image.picture.size();
        image.picture = image.picture.scaled(m_sizeX, m_sizeY, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.hotSpot = QPoint(std::min(image.hotSpot.x() * m_sizeX / old.width(), m_sizeX - 1),
                               std::min(image.hotSpot.y() * m_sizeY / old.height(), m_sizeY - 1));
    }
}

bool qvImageList::AddFrames(const QByteArray& bytes, ImageTypes iType, const QString& vKeY, bool bMapSysColors,
                            uint32_t lBackColor, const QVariant& vKeyAfter, bool bAllFrames)
{
    const ImageFileReader::Kind kind = ImageFileReader::KindOf(bytes);
    if ((iType == IMAGE_BITMAP) != (kind == ImageFileReader::Bitmap))
        return false;
    std::vector<Image> images;
    for (const ImageFileReader::Frame& frame : ImageFileReader::Read(bytes, QSize(m_sizeX, m_sizeY), bAllFrames)) {
        Image image = Prepared(frame.picture, bMapSysColors, lBackColor);
        image.icon = frame.icon;
        image.hotSpot = frame.hotSpot;
        images.push_back(std::move(image));
    }
    if (!images.empty())
        images.front().key = vKeY;
    return Insert(std::move(images), vKeyAfter);
}

bool qvImageList::AddFromFile(const QString& sFileName, ImageTypes iType, const QString& vKeY, bool bMapSysColors,
                              uint32_t lBackColor, const QVariant& vKeyAfter, bool bAllFrames)
{
    QFile file(sFileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > ImageFileReader::kMaxFileBytes)
        return false;
    return AddFrames(file.readAll(), iType, vKeY, bMapSysColors, lBackColor, vKeyAfter, bAllFrames);
}

bool qvImageList::AddFromHandle(const QImage& hImage, ImageTypes iType, const QString& vKeY, uint32_t lBackColor,
                                const QVariant& vKeyAfter)
{
    if (hImage.isNull())
        return false;
    Image image = Prepared(hImage, false, lBackColor);
    image.icon = iType != IMAGE_CURSOR;
    image.key = vKeY;
    return Insert({image}, vKeyAfter);
}

bool qvImageList::AddFromPictureBox(QWidget* pic, const QString& vKeY, int LeftPixels, int TopPixels,
                                    uint32_t lBackColor)
{
    if (!pic)
        return false;
    const QImage area = pic->grab(QRect(LeftPixels, TopPixels, m_sizeX, m_sizeY)).toImage();
    return AddFromHandle(area, IMAGE_BITMAP, vKeY, lBackColor);
}

bool qvImageList::AddFromResourceID(int32_t lID, const QString& hInst, ImageTypes iType, const QString& vKeY,
                                    bool bMapSysColors, uint32_t lBackColor, const QVariant& vKeyAfter)
{
    return AddFromFile(QStringLiteral(":%1/%2").arg(hInst).arg(lID), iType, vKeY, bMapSysColors, lBackColor,
                       vKeyAfter);
}

bool qvImageList::RemoveImage(const QVariant& vKeY)
{
    const int index = Index(vKeY);
    if (index < 0)
        return false;
    m_images.erase(m_images.begin() + index);
    return true;
}

bool qvImageList::SwapOrCopyImage(const QVariant& vKeySrc, const QVariant& vKeyDst, eilSwapTypes eSwap)
{
    const int source = Index(vKeySrc);
    const int target = Index(vKeyDst);
    if (source < 0 || target < 0)
        return false;
    Image& from = m_images[size_t(source)];
    Image& to = m_images[size_t(target)];
    if (eSwap == eilSwap) {
        std::swap(from, to);  // the keys go with their images
        return true;
    }
    // A copy keeps the target's key: keys stay unique.
    const QString key = to.key;
    to = from;
    to.key = key;
    return true;
}

bool qvImageList::DrawImage(const QVariant& vKeY, QPainter& hdc, int xPixels, int yPixels, bool bSelected, bool bCut,
                            bool bDisabled, uint32_t oCutDitherColour, const qvImageList* hExternalIml) const
{
    const qvImageList& list = hExternalIml ? *hExternalIml : *this;
    const int index = Index(vKeY);
    if (index < 0 || index >= int(list.m_images.size()))
        return false;
    QImage picture = list.m_images[size_t(index)].picture;
    if (bDisabled) {
        QStyleOption option;
        option.initFrom(this);
        hdc.drawPixmap(xPixels, yPixels,
                       QApplication::style()->generatedIconPixmap(QIcon::Disabled, QPixmap::fromImage(picture), &option));
        return true;
    }
    if (bCut)
        picture = Tinted(picture, oCutDitherColour == kNoColour ? palette().color(QPalette::Window)
                                                                : OleColor::ToQColor(oCutDitherColour));
    if (bSelected)
        picture = Tinted(picture, palette().color(QPalette::Highlight));
    hdc.drawImage(xPixels, yPixels, picture);
    return true;
}

bool qvImageList::Adopt(ImageListData::Contents contents)
{
    m_depth = eilColourDepth(contents.colourDepth);
    if (!contents.images.empty()) {
        m_sizeX = contents.images.front().picture.width();
        m_sizeY = contents.images.front().picture.height();
    }
    m_images = std::move(contents.images);
    m_created = true;
    return true;
}

bool qvImageList::SaveToFile(const QString& sFile) const
{
    // Written aside and renamed over the old file only when whole.
    QSaveFile file(sFile);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = ImageListData::Write({int(m_depth), m_images});
    return file.write(bytes) == bytes.size() && file.commit();
}

bool qvImageList::LoadFromFile(const QString& sFile)
{
    QFile file(sFile);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxListFileBytes)
        return false;
    std::optional<ImageListData::Contents> contents = ImageListData::Read(file.readAll());
    return contents && Adopt(std::move(*contents));
}

void qvImageList::ReadProperties(const PropertyBag& bag)
{
    SetIconSizeX(bag.ReadProperty(QStringLiteral("IconSizeX"), kDefaultIconSize).toInt());
    SetIconSizeY(bag.ReadProperty(QStringLiteral("IconSizeY"), kDefaultIconSize).toInt());
    m_depth = eilColourDepth(bag.ReadProperty(QStringLiteral("ColourDepth"), int(ILC_COLOR)).toInt());
    Create();
    const QByteArray data = bag.ReadProperty(QStringLiteral("Images")).toByteArray();
    const bool whole = bag.ReadProperty(QStringLiteral("Version"), 0u).toUInt() == ImageListData::kVersion &&
                       bag.ReadProperty(QStringLiteral("Size"), -1).toLongLong() == data.size();
    // Damaged image data leaves the list empty rather than half read.
    if (whole) {
        if (std::optional<ImageListData::Contents> contents = ImageListData::Read(data))
            Adopt(std::move(*contents));
    }
}

void qvImageList::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("IconSizeX"), m_sizeX, kDefaultIconSize);
    bag.WriteProperty(QStringLiteral("IconSizeY"), m_sizeY, kDefaultIconSize);
    bag.WriteProperty(QStringLiteral("ColourDepth"), int(m_depth), int(ILC_COLOR));
    const QByteArray data = m_images.empty() ? QByteArray() : ImageListData::Write({int(m_depth), m_images});
    bag.WriteProperty(QStringLiteral("Version"), ImageListData::kVersion);
    bag.WriteProperty(QStringLiteral("Size"), qint64(data.size()), qint64(0));
    bag.WriteProperty(QStringLiteral("Images"), data, QByteArray());
}

}  // namespace quorvantell
