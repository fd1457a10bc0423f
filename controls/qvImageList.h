// qvImageList: an invisible control that owns a list of same-sized images,
// each with an optional unique key, addressed by 1-based index (a number) or
// by key (a text). It takes pictures from files, Qt images, widgets and the
// program's resources, draws them normal, selected, cut or disabled, and
// saves and loads its images as a file or with the host's properties.
#pragma once

#include "controls/ImageListData.h"

#include <QIcon>
#include <QImage>
#include <QVariant>
#include <QWidget>

#include <cstdint>
#include <vector>

class QPainter;

namespace quorvantell {

class PropertyBag;

class qvImageList : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int IconSizeX READ IconSizeX WRITE SetIconSizeX)
    Q_PROPERTY(int IconSizeY READ IconSizeY WRITE SetIconSizeY)
    Q_PROPERTY(eilColourDepth ColourDepth READ ColourDepth WRITE SetColourDepth)
    Q_PROPERTY(int SystemColourDepth READ SystemColourDepth)
    Q_PROPERTY(int ImageCount READ ImageCount)

public:
    enum eilColourDepth {
        ILC_COLOR = 0,
        ILC_COLOR4 = 4,
        ILC_COLOR8 = 8,
        ILC_COLOR16 = 16,
        ILC_COLOR24 = 24,
        ILC_COLOR32 = 32,
    };
    Q_ENUM(eilColourDepth)
    enum eilSwapTypes { eilCopy = 0, eilSwap = 1 };
    Q_ENUM(eilSwapTypes)
    enum ImageTypes { IMAGE_BITMAP = 0, IMAGE_ICON = 1, IMAGE_CURSOR = 2 };
    Q_ENUM(ImageTypes)

    // A colour argument meaning "none" (no transparent colour, the default
    // cut colour).
    static constexpr uint32_t kNoColour = 0xFFFFFFFFu;
    static constexpr int kDefaultIconSize = 16;

    explicit qvImageList(QWidget* parent = nullptr);

    // Pixels; a list already created scales its images to a new size.
    int32_t IconSizeX() const;
    void SetIconSizeX(int32_t value);
    int32_t IconSizeY() const;
    void SetIconSizeY(int32_t value);
    // A list already created brings its images down to a lower depth.
    eilColourDepth ColourDepth() const;
    void SetColourDepth(eilColourDepth value);
    static int SystemColourDepth();
    int16_t ImageCount() const;
    // The list while it exists (from Create to Destroy), else null.
    const qvImageList* hIml() const;

    QString ItemKey(int iIndex) const;
    // False when the index is out of range or another image has the key.
    bool SetItemKey(int iIndex, const QString& key);
    // The 1-based index of the image; 0 when there is none.
    int ItemIndex(const QVariant& vKeY) const;
    bool KeyExists(const QString& Key) const;
    // Null pictures when there is no such image. Pictures are QImages, so
    // that they keep every bit of the list's pixels.
    QImage ItemPicture(const QVariant& vKeY) const;
    QIcon ItemCopyOfIcon(const QVariant& vKeY) const;
    // The images from the first to the last given, side by side on the colour.
    QImage ImagePictureStrip(const QVariant& vStartKeY, const QVariant& vEndKeY, uint32_t oBackColor) const;

    // Makes a new empty list of the icon size and colour depth.
    bool Create();
    void Destroy();
    void Clear();

    // Each adds after vKeyAfter (an index or key; nothing: at the end) and
    // reports whether the picture was added. A key already in the list or a
    // list not created adds nothing. lBackColor is the colour that becomes
    // transparent in a bitmap.
    bool AddFromFile(const QString& sFileName, ImageTypes iType, const QString& vKeY = {}, bool bMapSysColors = false,
                     uint32_t lBackColor = kNoColour, const QVariant& vKeyAfter = {}, bool bAllFrames = false);
    bool AddFromHandle(const QImage& hImage, ImageTypes iType, const QString& vKeY = {}, uint32_t lBackColor = kNoColour,
                       const QVariant& vKeyAfter = {});
    // The icon-sized area of the widget at (LeftPixels, TopPixels).
    bool AddFromPictureBox(QWidget* pic, const QString& vKeY = {}, int LeftPixels = 0, int TopPixels = 0,
                           uint32_t lBackColor = kNoColour);
    // The resource ":<hInst>/<lID>" of the program (hInst empty: its root).
    bool AddFromResourceID(int32_t lID, const QString& hInst, ImageTypes iType, const QString& vKeY = {},
                           bool bMapSysColors = false, uint32_t lBackColor = kNoColour,
                           const QVariant& vKeyAfter = {});
    bool RemoveImage(const QVariant& vKeY);
    bool SwapOrCopyImage(const QVariant& vKeySrc, const QVariant& vKeyDst, eilSwapTypes eSwap = eilSwap);
    // Draws the image (of hExternalIml at the same index, when given).
    bool DrawImage(const QVariant& vKeY, QPainter& hdc, int xPixels, int yPixels, bool bSelected = false,
                   bool bCut = false, bool bDisabled = false, uint32_t oCutDitherColour = kNoColour,
                   const qvImageList* hExternalIml = nullptr) const;

    bool SaveToFile(const QString& sFile) const;
    bool LoadFromFile(const QString& sFile);

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

private:
    using Image = ImageListData::Image;

    int Index(const QVariant& vKeY) const;  // 0-based, -1 when none
    bool Insert(std::vector<Image> images, const QVariant& vKeyAfter);
    bool AddFrames(const QByteArray& bytes, ImageTypes iType, const QString& vKeY, bool bMapSysColors,
                   uint32_t lBackColor, const QVariant& vKeyAfter, bool bAllFrames);
    Image Prepared(QImage picture, bool mapSysColors, uint32_t backColor) const;
    QImage Reduced(const QImage& picture) const;
    void Resize();
    bool Adopt(ImageListData::Contents contents);

    int32_t m_sizeX = kDefaultIconSize;
    int32_t m_sizeY = kDefaultIconSize;
    eilColourDepth m_depth = ILC_COLOR;
    bool m_created = false;
    std::vector<Image> m_images;
};

}  // namespace quorvantell
