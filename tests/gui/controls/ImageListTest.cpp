// qvImageList: unique keys, index and key addressing, swap, copy and remove;
// ICO, CUR, ANI, BMP and GIF files the test writes byte by byte; the saved
// records read back pixel for pixel at 24 and 32 bits, through a file and
// through the host's properties; short, damaged and hostile data refused.
#include "controls/ImageFileReader.h"
#include "controls/ImageListData.h"
#include "controls/OleColor.h"
#include "controls/PropertyBag.h"
#include "controls/qvImageList.h"
#include "tests/gui/support/PictureFiles.h"
#include "tests/gui/support/TempFolder.h"

#include <QDataStream>
#include <QProcess>
#include <QResource>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

using quorvantell::ImageFileReader;
using quorvantell::ImageListData;
using quorvantell::OleColor;
using quorvantell::PropertyBag;
using quorvantell::qvImageList;
using namespace velloran::test;

namespace {

// Random pixels; below 32 bits each is either opaque or transparent.
QImage Noise(QSize size, bool withAlpha, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage picture(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb colour = random.generate() | 0xFF000000u;
            const int alpha = withAlpha ? int(random.bounded(256)) : (random.bounded(4) == 0 ? 0 : 255);
            picture.setPixel(x, y, alpha == 0 && !withAlpha ? 0u : qRgba(qRed(colour), qGreen(colour), qBlue(colour), alpha));
        }
    }
    return picture;
}

}  // namespace

class ImageListTest : public QObject {
    Q_OBJECT

private slots:
    void keysAreUniqueAndImagesAddressedByIndexOrKey()
    {
        qvImageList list;
        QVERIFY(list.hIml());
        QVERIFY(list.AddFromHandle(Filled({16, 16}, 0xFFFF0000), qvImageList::IMAGE_ICON, "red"));
        QVERIFY(list.AddFromHandle(Filled({16, 16}, 0xFF0000FF), qvImageList::IMAGE_ICON, "blue"));
        QVERIFY(!list.AddFromHandle(Filled({16, 16}, 0xFF00FF00), qvImageList::IMAGE_ICON, "red"));
        QVERIFY(list.AddFromHandle(Filled({16, 16}, 0xFF00FF00), qvImageList::IMAGE_ICON, "green", 0xFFFFFFFFu, "red"));
        QVERIFY(list.AddFromHandle(Filled({16, 16}, 0xFF000000), qvImageList::IMAGE_ICON));
        QVERIFY(list.AddFromHandle(Filled({16, 16}, 0xFFFFFFFF), qvImageList::IMAGE_ICON, {}, 0xFFFFFFFFu, 1));
        QVERIFY(!list.AddFromHandle(Filled({16, 16}, 0xFFFFFFFF), qvImageList::IMAGE_ICON, "x", 0xFFFFFFFFu, "none"));
        QCOMPARE(Keys(list), QStringList({"red", "", "green", "blue", ""}));
        QCOMPARE(list.ImageCount(), 5);

        QCOMPARE(list.ItemIndex("blue"), 4);
        QCOMPARE(list.ItemIndex(3), 3);
        QCOMPARE(list.ItemIndex("3"), 0);  // a text is always a key
        QCOMPARE(list.ItemIndex(6), 0);
        QVERIFY(list.KeyExists("green") && !list.KeyExists("Green") && !list.KeyExists(""));
        QCOMPARE(list.ItemPicture("green").pixel(8, 8), 0xFF00FF00u);

        QVERIFY(!list.SetItemKey(2, "blue"));
        QVERIFY(list.SetItemKey(4, "blue"));  // its own key again
        QVERIFY(list.SetItemKey(2, "white"));
        QVERIFY(!list.SetItemKey(9, "nine"));
        QCOMPARE(Keys(list), QStringList({"red", "white", "green", "blue", ""}));
    }

    void swapMovesKeysCopyKeepsThemRemoveAndClear()
    {
        qvImageList list;
        for (const auto& [key, colour] : {std::pair{"a", 0xFFFF0000u}, {"b", 0xFF00FF00u}, {"c", 0xFF0000FFu}})
            QVERIFY(list.AddFromHandle(Filled({16, 16}, colour), qvImageList::IMAGE_ICON, key));
        QVERIFY(list.SwapOrCopyImage("a", 3));
        QCOMPARE(Keys(list), QStringList({"c", "b", "a"}));
        QCOMPARE(list.ItemPicture("a").pixel(0, 0), 0xFFFF0000u);
        QVERIFY(list.SwapOrCopyImage("b", "c", qvImageList::eilCopy));
        QCOMPARE(Keys(list), QStringList({"c", "b", "a"}));
        QCOMPARE(list.ItemPicture("c").pixel(0, 0), 0xFF00FF00u);
        QVERIFY(!list.SwapOrCopyImage("b", "z"));

        QVERIFY(list.RemoveImage("b"));
        QVERIFY(list.RemoveImage(1));
        QVERIFY(!list.RemoveImage("b"));
        QCOMPARE(Keys(list), QStringList({"a"}));
        list.Clear();
        QCOMPARE(list.ImageCount(), 0);
        list.Destroy();
        QVERIFY(!list.hIml());
        QVERIFY(!list.AddFromHandle(Filled({16, 16}, 0xFFFF0000), qvImageList::IMAGE_ICON));
        QVERIFY(list.Create());
        QVERIFY(list.AddFromHandle(Filled({16, 16}, 0xFFFF0000), qvImageList::IMAGE_ICON));
    }

    void everyFileTypeLoads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("allFrames");
        QTest::addColumn<QList<QRgb>>("centres");   // one per image added
        QTest::addColumn<QPoint>("hotSpot");        // of the first
        QTest::addColumn<QRgb>("corner");           // of the first
        const QByteArray ani = AnimatedCursor({Cursor(0xFFFF0000), Cursor(0xFF00FF00), Cursor(0xFF0000FF)});
        QImage framed = Filled({32, 32}, 0xFFFF00FF);
        QPainter(&framed).fillRect(8, 8, 16, 16, QColor(0, 0, 255));
        const QByteArray twoSizes = IconFile(1, {{Filled({16, 16}, 0xFFFF0000), {}}, {Filled({32, 32}, 0xFF0000FF), {}}});
        QTest::newRow("ico nearest size") << twoSizes << 1 << false << QList<QRgb>{0xFF0000FF} << QPoint() << 0xFF0000FFu;
        QTest::newRow("cur hot spot") << Cursor(0x8000FF00, {32, 32}) << 2 << false << QList<QRgb>{0x8000FF00}
                                      << QPoint(3, 4) << 0x8000FF00u;
        QTest::newRow("ani first frame") << ani << 2 << false << QList<QRgb>{0xFFFF0000} << QPoint(6, 8) << 0xFFFF0000u;
        QTest::newRow("ani all frames") << ani << 2 << true << QList<QRgb>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF}
                                        << QPoint(6, 8) << 0xFFFF0000u;
        QTest::newRow("bmp back colour") << Bmp(framed) << 0 << false << QList<QRgb>{0xFF0000FF} << QPoint() << 0u;
        QTest::newRow("gif") << Gif() << 0 << false << QList<QRgb>{0xFFFF0000} << QPoint() << 0xFFFF0000u;
        QTest::newRow("bmp as icon") << Bmp(framed) << 1 << false << QList<QRgb>{} << QPoint() << 0u;
        QTest::newRow("icon as bitmap") << twoSizes << 0 << false << QList<QRgb>{} << QPoint() << 0u;
        QTest::newRow("garbage") << QByteArray("not a picture at all") << 1 << false << QList<QRgb>{} << QPoint() << 0u;
    }

    void everyFileTypeLoads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, type);
        QFETCH(bool, allFrames);
        QFETCH(QList<QRgb>, centres);
        velloran::test::TempFolder folder;
        qvImageList list;
        list.SetIconSizeX(32);
        list.SetIconSizeY(32);
        list.SetColourDepth(qvImageList::ILC_COLOR32);
        const QString file = Write(folder, QStringLiteral("picture"), bytes);
        QCOMPARE(list.AddFromFile(file, qvImageList::ImageTypes(type), "first", false, 0x00FF00FF, {}, allFrames),
                 !centres.isEmpty());
        QCOMPARE(list.ImageCount(), centres.size());
        for (int i = 0; i < centres.size(); ++i) {
            const QImage picture = list.ItemPicture(i + 1);
            QCOMPARE(picture.size(), QSize(32, 32));
            QCOMPARE(picture.pixel(16, 16), centres[i]);
        }
        if (centres.isEmpty())
            return;
        QCOMPARE(list.ItemKey(1), QStringLiteral("first"));
        QTEST(list.ItemPicture(1).pixel(0, 0), "corner");
        PropertyBag bag;
        list.WriteProperties(bag);
        const std::optional<ImageListData::Contents> saved = ImageListData::Read(bag.ReadProperty("Images").toByteArray());
        QVERIFY(saved);
        QTEST(saved->images.front().hotSpot, "hotSpot");
        QCOMPARE(saved->images.front().icon, type != 2);
    }

    void resourcesOfTheProgramByNumber()
    {
        TempFolder folder;
        QImage framed = Filled({16, 16}, 0xFFFF00FF);
        framed.setPixel(8, 8, 0xFF0000FF);
        framed.setPixel(1, 1, 0xFFC0C0C0);  // the classic button face
        Write(folder, "icon.ico", IconFile(1, {{Filled({16, 16}, 0xFF00FF00), {}}}));
        Write(folder, "picture.bmp", Bmp(framed));
        const QString qrc = Write(folder, "pictures.qrc",
                                  "<RCC><qresource prefix=\"/velloran-test\"><file alias=\"101\">icon.ico</file>"
                                  "<file alias=\"102\">picture.bmp</file></qresource></RCC>");
        const QString rcc = QString::fromStdString(folder.Root()) + QStringLiteral("/pictures.rcc");
        QCOMPARE(QProcess::execute(QStringLiteral(VELLORAN_RCC), {QStringLiteral("-binary"), qrc, "-o", rcc}), 0);
        QVERIFY(QResource::registerResource(rcc));
        qvImageList list;
        list.SetColourDepth(qvImageList::ILC_COLOR24);
        QVERIFY(list.AddFromResourceID(101, "/velloran-test", qvImageList::IMAGE_ICON, "icon"));
        QVERIFY(list.AddFromResourceID(102, "/velloran-test", qvImageList::IMAGE_BITMAP, "bmp", false, 0x00FF00FF));
        QVERIFY(list.AddFromResourceID(102, "/velloran-test", qvImageList::IMAGE_BITMAP, "mapped", true));
        QVERIFY(!list.AddFromResourceID(103, "/velloran-test", qvImageList::IMAGE_ICON));
        QVERIFY(!list.AddFromResourceID(101, QString(), qvImageList::IMAGE_ICON));
        QVERIFY(QResource::unregisterResource(rcc));
        QCOMPARE(list.ItemPicture("icon").pixel(3, 3), 0xFF00FF00u);
        QCOMPARE(list.ItemPicture("bmp").pixel(3, 3), 0u);
        QCOMPARE(list.ItemPicture("bmp").pixel(8, 8), 0xFF0000FFu);
        QCOMPARE(list.ItemPicture("bmp").pixel(1, 1), 0xFFC0C0C0u);
        QCOMPARE(list.ItemPicture("mapped").pixel(1, 1), OleColor::ToQColor(OleColor::kButtonFace).rgb());
    }

    void saveAndLoadArePixelExact_data()
    {
        QTest::addColumn<int>("depth");
        QTest::newRow("24 bits") << 24;
        QTest::newRow("32 bits") << 32;
    }

    void saveAndLoadArePixelExact()
    {
        QFETCH(int, depth);
        velloran::test::TempFolder folder;
        qvImageList list;
        list.SetIconSizeX(24);
        list.SetIconSizeY(20);
        list.SetColourDepth(qvImageList::eilColourDepth(depth));
        const QString keys[] = {"one", "", QStringLiteral("dr\u00e9i")};
        for (quint32 seed = 0; seed < 3; ++seed)
            QVERIFY(list.AddFromHandle(Noise({24, 20}, depth == 32, seed), qvImageList::IMAGE_ICON, keys[seed]));
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(list.ItemPicture(i), Noise({24, 20}, depth == 32, quint32(i - 1)));

        const QString file = QString::fromStdString(folder.Root()) + QStringLiteral("/list.bin");
        QVERIFY(list.SaveToFile(file));
        PropertyBag bag;
        list.WriteProperties(bag);
        qvImageList fromFile;
        QVERIFY(fromFile.LoadFromFile(file));
        qvImageList fromBag;
        fromBag.ReadProperties(bag);
        for (const qvImageList* loaded : {&fromFile, &fromBag}) {
            QCOMPARE(loaded->ImageCount(), 3);
            QCOMPARE(loaded->ColourDepth(), list.ColourDepth());
            QCOMPARE(QSize(loaded->IconSizeX(), loaded->IconSizeY()), QSize(24, 20));
            QCOMPARE(Keys(*loaded), Keys(list));
            for (int i = 1; i <= 3; ++i)
                QCOMPARE(loaded->ItemPicture(i), list.ItemPicture(i));
        }
        // The layout itself: three values, the records, the key text.
        const QByteArray bytes = bag.ReadProperty("Images").toByteArray();
        QCOMPARE(bag.ReadProperty("Size").toLongLong(), bytes.size());
        const int colourRow = ((24 * (depth == 32 ? 32 : 24) + 31) / 32) * 4;
        const int record = 12 + 24 + colourRow * 20 + 24 + 4 * 20;
        const QByteArray keyText = QByteArray("one\0\0dr\xc3\xa9i\0", 11);
        QCOMPARE(bytes.size(), 12 + 3 * record + 4 + keyText.size());
        QCOMPARE(bytes.right(keyText.size()), keyText);
    }

    void shortDamagedAndHostileDataIsRefused()
    {
        qvImageList list;
        list.SetColourDepth(qvImageList::ILC_COLOR32);
        QVERIFY(list.AddFromHandle(Noise({16, 16}, true, 7), qvImageList::IMAGE_CURSOR, "k"));
        QVERIFY(list.AddFromHandle(Noise({16, 16}, true, 8), qvImageList::IMAGE_ICON, "l"));
        PropertyBag bag;
        list.WriteProperties(bag);
        const QByteArray whole = bag.ReadProperty("Images").toByteArray();
        for (qsizetype length = 0; length < whole.size(); ++length)
            QVERIFY2(!ImageListData::Read(whole.left(length)), qPrintable(QString::number(length)));
        QVERIFY(!ImageListData::Read(whole + '\0'));

        // One 32-bit value changed at a time: counts, sizes, row lengths, depths.
        const std::pair<int, uint32_t> hostile[] = {
            {0, 2},            {4, 0xFFFFFFFF}, {4, 3},       {8, 12},  {16, 16},   {24, 0x7FFFFFFF},
            {28, 100000},      {32, 4},         {36, 0x00FF0001}, {4, 65535}, {12, 2},
        };
        for (const auto& [offset, value] : hostile) {
            QByteArray damaged = whole;
            QDataStream out(&damaged, QIODevice::ReadWrite);
            out.setByteOrder(QDataStream::LittleEndian);
            out.device()->seek(offset);
            out << value;
            QVERIFY2(!ImageListData::Read(damaged), qPrintable(QStringLiteral("offset %1").arg(offset)));
        }
        QByteArray twoKeysAlike = whole;
        twoKeysAlike[twoKeysAlike.size() - 2] = 'k';
        QVERIFY(!ImageListData::Read(twoKeysAlike));

        // A damaged file leaves the list as it was; damaged properties leave it empty.
        velloran::test::TempFolder folder;
        qvImageList target;
        QVERIFY(target.AddFromHandle(Filled({16, 16}, 0xFFFF0000), qvImageList::IMAGE_ICON, "kept"));
        QVERIFY(!target.LoadFromFile(Write(folder, "short", whole.left(whole.size() / 2))));
        QVERIFY(!target.LoadFromFile(Write(folder, "garbage", QByteArray(5000, 'x'))));
        QVERIFY(!target.LoadFromFile(QString::fromStdString(folder.Root()) + "/missing"));
        QCOMPARE(Keys(target), QStringList({"kept"}));
        for (const auto& [name, value] : {std::pair{"Images", QVariant(whole.left(100))}, {"Size", QVariant(7)},
                                         {"Version", QVariant(2)}}) {
            PropertyBag damagedBag;
            list.WriteProperties(damagedBag);
            damagedBag.WriteProperty(name, value);
            qvImageList fromBag;
            fromBag.ReadProperties(damagedBag);
            QCOMPARE(fromBag.ImageCount(), 0);
        }
    }

    void damagedPictureFilesAddNothing()
    {
        // Every cut of an animated cursor and an icon file: no read past the
        // end (the sanitizer watches), and never a half-read frame.
        const QByteArray files[] = {AnimatedCursor({Cursor(0xFFFF0000), Cursor(0xFF00FF00)}),
                                    IconFile(1, {{Filled({16, 16}, 0xFFFF0000), {}}, {Filled({8, 8}, 0xFF00FF00), {}}})};
        for (const QByteArray& whole : files) {
            for (qsizetype length = 0; length < whole.size(); ++length) {
                for (const ImageFileReader::Frame& frame : ImageFileReader::Read(whole.left(length), {16, 16}, true))
                    QCOMPARE(frame.picture.size(), QSize(16, 16));
            }
        }
        QByteArray hugeDirectory = IconFile(1, {{Filled({16, 16}, 0xFFFF0000), {}}});
        hugeDirectory[4] = char(0xFF);
        hugeDirectory[5] = char(0xFF);
        QVERIFY(ImageFileReader::Read(hugeDirectory, {16, 16}, false).empty());
        QByteArray farOffset = IconFile(1, {{Filled({16, 16}, 0xFFFF0000), {}}});
        farOffset[18] = char(0x7F);
        QVERIFY(ImageFileReader::Read(farOffset, {16, 16}, false).empty());
    }

    void drawnNormalSelectedCutAndDisabled()
    {
        qvImageList list;
        list.SetColourDepth(qvImageList::ILC_COLOR24);
        QImage picture = Filled({16, 16}, 0xFFC00000);
        picture.setPixel(0, 0, 0);
        QVERIFY(list.AddFromHandle(picture, qvImageList::IMAGE_ICON, "pic"));
        qvImageList other;
        QVERIFY(other.AddFromHandle(Filled({16, 16}, 0xFF00FF00), qvImageList::IMAGE_ICON));

        const auto drawn = [&](bool selected, bool cut, bool disabled, const qvImageList* external = nullptr) {
            QImage surface(16, 16, QImage::Format_ARGB32);
            surface.fill(Qt::white);
            QPainter painter(&surface);
            if (!list.DrawImage("pic", painter, 0, 0, selected, cut, disabled, 0x00FFFF00, external))
                surface = QImage();
            return surface;
        };
        const QImage normal = drawn(false, false, false);
        QCOMPARE(normal.pixel(8, 8), 0xFFC00000u);
        QCOMPARE(normal.pixel(0, 0), 0xFFFFFFFFu);
        const QImage looks[] = {drawn(true, false, false), drawn(false, true, false), drawn(false, false, true)};
        for (const QImage& look : looks) {
            QVERIFY(look.pixel(8, 8) != normal.pixel(8, 8));
            QCOMPARE(look.pixel(0, 0), 0xFFFFFFFFu);
        }
        QVERIFY(looks[0].pixel(8, 8) != looks[1].pixel(8, 8));
        QVERIFY(qAbs(qBlue(looks[1].pixel(8, 8)) - 0x80) <= 1);  // half way to the cut colour 0x00FFFF00 (blue)
        QCOMPARE(drawn(false, false, false, &other).pixel(8, 8), 0xFF00FF00u);
        QImage surface(4, 4, QImage::Format_ARGB32);
        QPainter painter(&surface);
        QVERIFY(!list.DrawImage("none", painter, 0, 0));
    }

    void stripsPicturesDepthsAndSizes()
    {
        qvImageList list;
        list.SetColourDepth(qvImageList::ILC_COLOR24);
        QImage half = Filled({16, 16}, 0xFF102030);
        half.setPixel(1, 1, 0x40FFFFFF);  // mostly transparent: not in a mask
        half.setPixel(2, 2, 0xC0123456);  // mostly opaque: in it
        QVERIFY(list.AddFromHandle(half, qvImageList::IMAGE_ICON, "a"));
        QWidget box;
        box.setAutoFillBackground(true);
        box.setPalette(QPalette(QColor(0, 0, 255)));
        box.resize(40, 40);
        QVERIFY(list.AddFromPictureBox(&box, "box", 10, 10));
        QCOMPARE(list.ItemPicture("box").pixel(8, 8), 0xFF0000FFu);
        QCOMPARE(list.ItemPicture("a").pixel(1, 1), 0u);
        QCOMPARE(list.ItemPicture("a").pixel(2, 2), 0xFF123456u);

        const QImage strip = list.ImagePictureStrip("a", "box", 0x0000FF00);
        QCOMPARE(strip.size(), QSize(32, 16));
        QCOMPARE(strip.pixel(1, 1), 0xFF00FF00u);
        QCOMPARE(strip.pixel(20, 8), 0xFF0000FFu);
        QVERIFY(list.ImagePictureStrip("box", "a", 0).isNull());
        QVERIFY(!list.ItemCopyOfIcon("box").isNull());
        QVERIFY(list.ItemCopyOfIcon("none").isNull());

        list.SetColourDepth(qvImageList::ILC_COLOR16);  // five bits a channel
        QCOMPARE(list.ItemPicture("a").pixel(5, 5), qRgb(0x10, 0x21, 0x31));
        list.SetIconSizeX(32);  // the images are stretched
        QCOMPARE(list.ItemPicture("a").size(), QSize(32, 16));
        list.SetIconSizeX(0);  // refused
        QCOMPARE(list.IconSizeX(), 32);
        QVERIFY(qvImageList::SystemColourDepth() > 0);
    }
};

QTEST_MAIN(ImageListTest)
#include "ImageListTest.moc"
