// XPButton: stored properties, shapes, the drawn looks (two-line captions,
// hover locks, focus rectangle, disabled look, pictures, gradients), the
// hover enter/leave cycle, mouse and keyboard clicks, Value, DelayDrawing,
// access keys and the shade rule.
#include "controls/PropertyBag.h"
#include "controls/XPButton.h"
#include "controls/XPShade.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <memory>

using quorvantell::PropertyBag;
using quorvantell::XPButton;
using quorvantell::XPShade;

namespace {

constexpr uint32_t kRed = 0x000000FFu;     // 0x00BBGGRR
constexpr uint32_t kWhite = 0x00FFFFFFu;
constexpr uint32_t kGreen = 0x0000FF00u;
constexpr uint32_t kBlue = 0x00FF0000u;
constexpr uint32_t kBlack = 0x00000000u;

bool IsRed(QRgb pixel)
{
    return qRed(pixel) > 150 && qGreen(pixel) < 110 && qBlue(pixel) < 110;
}

// Bands of rows holding caption pixels, between the top and bottom padding.
int TextBands(const QImage& image)
{
    int bands = 0;
    bool inBand = false;
    for (int y = 4; y < image.height() - 4; ++y) {
        bool text = false;
        for (int x = 4; x < image.width() - 4 && !text; ++x)
            text = IsRed(image.pixel(x, y));
        if (text && !inBand)
            ++bands;
        inBand = text;
    }
    return bands;
}

int LeftmostRed(const QImage& image)
{
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (IsRed(image.pixel(x, y)))
                return x;
    return -1;
}

bool HasColour(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) == (colour & 0xFFFFFFu))
                return true;
    return false;
}

QPixmap SolidPicture(const QSize& size, Qt::GlobalColor colour)
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

}  // namespace

class XPButtonTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    XPButton* m_button = nullptr;

    // A white-faced button with red text on a shown window.
    XPButton& Make(const QSize& size = QSize(120, 40), const QString& caption = QStringLiteral("OK"))
    {
        m_window = std::make_unique<QWidget>();
        m_window->setGeometry(100, 100, 300, 200);
        // First in the focus chain, so the button has no focus unless a test gives it.
        auto* focusSink = new QWidget(m_window.get());
        focusSink->setGeometry(290, 190, 5, 5);
        focusSink->setFocusPolicy(Qt::StrongFocus);
        m_button = new XPButton(m_window.get());
        m_button->setGeometry(QRect(QPoint(20, 20), size));
        m_button->SetBackColor(kWhite);
        m_button->SetHoverBackColor(kWhite);
        m_button->SetForeColor(kRed);
        m_button->SetHoverForeColor(kRed);
        m_button->SetCaption(caption);
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            qFatal("window not exposed");
        return *m_button;
    }

    QImage Image() const { return m_button->grab().toImage(); }

    void Hover()
    {
        QTest::mouseMove(m_button, m_button->rect().center());
    }

    void MouseAway()
    {
        QTest::mouseMove(m_window.get(), QPoint(280, 180));
    }

    void Activate()
    {
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void SendKey(QEvent::Type type, int key, bool autoRepeat, const QString& text = QString())
    {
        QKeyEvent event(type, key, Qt::NoModifier, text, autoRepeat);
        QApplication::sendEvent(m_button, &event);
    }

private slots:
    void cleanup()
    {
        if (m_window)
            MouseAway();
        m_window.reset();
        m_button = nullptr;
    }

    // ---- stored properties ------------------------------------------------

    void newButtonHasItsDefaults()
    {
        XPButton button;
        QCOMPARE(button.CaptionAlign(), 2);
        QVERIFY(button.ShowFocusRect());
        QCOMPARE(button.ForeColor(), 0x80000012u);
        QCOMPARE(button.HoverForeColor(), 0x80000012u);
        QCOMPARE(button.BackColor(), 0x8000000Fu);
        QCOMPARE(button.GradientColor(), 0x8000000Fu);
        QCOMPARE(button.GotFocusBorderColor(), 15696491u);
        QCOMPARE(button.HoverBorderColor(), 38631u);
        QCOMPARE(button.PictureSize(), XPButton::lv_16x16);
    }

    void storedPropertiesKeepTheirNamesAndOrder()
    {
        XPButton& b = Make();
        b.SetCaption(QStringLiteral("Go||on"));
        b.SetCaptionAlign(1);
        b.SetButtonShape(XPButton::lv_FullDiagonal);
        QFont font = b.Font();
        font.setPointSize(font.pointSize() + 3);
        b.SetFont(font);
        b.SetForeColor(kBlue);
        b.SetHoverForeColor(kGreen);
        b.SetHoverBackColor(kBlack);
        b.SetShowFocusRect(false);
        b.SetHoverColorLocks(XPButton::lv_NoLocks);
        b.SetGradientColor(kRed);
        b.SetGradientMode(XPButton::lv_Top2Bottom);
        b.SetCaptionStyle(XPButton::lv_Raised);
        b.SetPictureAlign(XPButton::lv_TopCenter);
        b.SetPicture(SolidPicture(QSize(8, 8), Qt::blue));
        b.SetPictureSize(XPButton::lv_32x32);
        b.SetEnabled(false);
        b.SetBackColor(0x00808080u);
        b.SetMousePointer(99);
        b.SetMouseIcon(SolidPicture(QSize(16, 16), Qt::black));
        b.SetGotFocusBorderColor(kGreen);
        b.SetHoverBorderColor(kBlue);

        PropertyBag bag;
        b.WriteProperties(bag);
        QCOMPARE(bag.Names(),
                 QStringList({"Caption", "CapAlign", "Shape", "Font", "cFore", "cFHover", "cBhover", "Focus",
                              "LockHover", "cGradient", "Gradient", "CapStyle", "ImgAlign", "Image", "ImgSize",
                              "Enabled", "cBack", "mPointer", "mIcon", "GotFocusBorderColor", "HoverBorderColor"}));
        QCOMPARE(bag.ReadProperty("ImgSize").toInt(), 32);
        QCOMPARE(bag.ReadProperty("cbhover").toUInt(), kBlack);

        XPButton copy(m_window.get());
        copy.ReadProperties(bag);
        QCOMPARE(copy.Caption(), QStringLiteral("Go||on"));
        QCOMPARE(copy.CaptionAlign(), 1);
        QCOMPARE(copy.ButtonShape(), XPButton::lv_FullDiagonal);
        QCOMPARE(copy.Font(), font);
        QCOMPARE(copy.ForeColor(), kBlue);
        QCOMPARE(copy.HoverForeColor(), kGreen);
        QCOMPARE(copy.HoverBackColor(), kBlack);
        QVERIFY(!copy.ShowFocusRect());
        QCOMPARE(copy.HoverColorLocks(), XPButton::lv_NoLocks);
        QCOMPARE(copy.GradientColor(), kRed);
        QCOMPARE(copy.GradientMode(), XPButton::lv_Top2Bottom);
        QCOMPARE(copy.CaptionStyle(), XPButton::lv_Raised);
        QCOMPARE(copy.PictureAlign(), XPButton::lv_TopCenter);
        QCOMPARE(copy.Picture().size(), QSize(8, 8));
        QCOMPARE(copy.PictureSize(), XPButton::lv_32x32);
        QVERIFY(!copy.Enabled());
        QCOMPARE(copy.BackColor(), 0x00808080u);
        QCOMPARE(copy.MousePointer(), 99);
        QVERIFY(!copy.MouseIcon().isNull());
        QCOMPARE(copy.GotFocusBorderColor(), kGreen);
        QCOMPARE(copy.HoverBorderColor(), kBlue);
    }

    void absentPropertiesReadAsTheirDefaults()
    {
        Make();
        PropertyBag bag;
        bag.WriteProperty("cBack", kGreen);
        XPButton button(m_window.get());
        button.ReadProperties(bag);
        QCOMPARE(button.CaptionAlign(), 0);  // a new control starts centred, a read one left
        QCOMPARE(button.HoverBackColor(), kGreen);
        QCOMPARE(button.Font(), m_window->font());
        QCOMPARE(button.ForeColor(), 0x80000012u);
        QCOMPARE(button.PictureSize(), XPButton::lv_16x16);
    }

    void resetDefaultColorsPutsTheColoursBack()
    {
        XPButton& b = Make();
        b.SetGradientColor(kRed);
        b.SetHoverBorderColor(kRed);
        b.SetGotFocusBorderColor(kRed);
        b.SetResetDefaultColors(false);
        QCOMPARE(b.ForeColor(), kRed);
        b.SetResetDefaultColors(true);
        QCOMPARE(b.ForeColor(), 0x80000012u);
        QCOMPARE(b.HoverForeColor(), 0x80000012u);
        QCOMPARE(b.BackColor(), 0x8000000Fu);
        QCOMPARE(b.HoverBackColor(), 0x8000000Fu);
        QCOMPARE(b.GradientColor(), 0x8000000Fu);
        QCOMPARE(b.HoverBorderColor(), 38631u);
        QCOMPARE(b.GotFocusBorderColor(), 15696491u);
    }

    // ---- shapes -----------------------------------------------------------

    void shapesCutTheWindowRegion()
    {
        XPButton& b = Make(QSize(100, 31));  // cut (31 + 1) / 4 = 8
        const QPoint centre(50, 15);
        QVERIFY(b.mask().contains(QPoint(0, 0)));  // rectangle: the whole of it

        b.SetButtonShape(XPButton::lv_LeftDiagonal);
        QVERIFY(b.mask().contains(centre));
        QVERIFY(!b.mask().contains(QPoint(3, 29)));
        QVERIFY(b.mask().contains(QPoint(96, 1)));
        QVERIFY(!b.mask().contains(QPoint(99, 0)));   // small triangle off the square corner
        QVERIFY(b.mask().contains(QPoint(97, 29)));

        b.SetButtonShape(XPButton::lv_RightDiagonal);
        QVERIFY(!b.mask().contains(QPoint(96, 1)));
        QVERIFY(b.mask().contains(QPoint(3, 29)));

        b.SetButtonShape(XPButton::lv_FullDiagonal);
        QVERIFY(!b.mask().contains(QPoint(96, 1)));
        QVERIFY(!b.mask().contains(QPoint(3, 29)));
        QVERIFY(b.mask().contains(centre));

        for (auto shape : {XPButton::lv_Round3D, XPButton::lv_Round3DFixed, XPButton::lv_RoundFlat}) {
            b.SetButtonShape(shape);
            QVERIFY(!b.mask().contains(QPoint(2, 2)));
            QVERIFY(b.mask().contains(centre));
            QVERIFY(b.mask().contains(QPoint(1, 15)));
        }
    }

    void narrowDiagonalButtonWidensItselfInStepsOfFive()
    {
        XPButton& b = Make(QSize(20, 31));
        b.SetButtonShape(XPButton::lv_LeftDiagonal);
        QCOMPARE(b.width(), 40);  // 40 - 4 x 8 is no longer below 5
        b.SetButtonShape(XPButton::lv_Rectangular);
        b.resize(12, 31);
        QCOMPARE(b.width(), 12);
    }

    void everyShapeDrawsItsCaption()
    {
        XPButton& b = Make(QSize(110, 50), QStringLiteral("Shape"));
        for (int shape = XPButton::lv_Rectangular; shape <= XPButton::lv_RoundFlat; ++shape) {
            b.SetButtonShape(XPButton::ButtonStyleConstants(shape));
            QCOMPARE(TextBands(Image()), 1);
        }
    }

    // The round outline lies on every edge pixel of the window region, so it
    // shows whole: black when flat, white above and grey below when 3-D.
    void roundOutlineCoversTheWholeEdge()
    {
        XPButton& b = Make(QSize(100, 31), QString());
        b.SetBackColor(kGreen);
        const QColor grey(128, 128, 128);
        const std::pair<XPButton::ButtonStyleConstants, QList<QColor>> shapes[] = {
            {XPButton::lv_RoundFlat, {Qt::black}},
            {XPButton::lv_Round3D, {Qt::white, grey}},
            {XPButton::lv_Round3DFixed, {Qt::white, grey}},
        };
        for (const auto& [shape, outline] : shapes) {
            b.SetButtonShape(shape);
            const QImage image = Image();
            const QRegion region = b.mask();
            const auto inside = [&region](int x, int y) { return region.contains(QPoint(x, y)); };
            int edge = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (!inside(x, y) || (inside(x - 1, y) && inside(x + 1, y) && inside(x, y - 1) && inside(x, y + 1)))
                        continue;
                    ++edge;
                    QVERIFY2(outline.contains(QColor(image.pixel(x, y))),
                             qPrintable(QStringLiteral("shape %1, pixel %2,%3").arg(shape).arg(x).arg(y)));
                }
            }
            QVERIFY(edge > 200);
            QCOMPARE(QColor(image.pixel(50, 0)), outline.first());
            QCOMPARE(QColor(image.pixel(50, 30)), outline.last());
        }
    }

    // ---- drawn looks ------------------------------------------------------

    void doubleBarBreaksTheCaptionIntoTwoLines()
    {
        XPButton& b = Make(QSize(140, 60), QStringLiteral("OK||Cancel"));
        QCOMPARE(TextBands(Image()), 2);
        b.SetCaption(QStringLiteral("OK Cancel"));
        QCOMPARE(TextBands(Image()), 1);
        b.SetCaption(QStringLiteral("A||B||C"));
        b.resize(140, 80);
        QCOMPARE(TextBands(Image()), 3);
    }

    void captionAlignmentMovesTheText()
    {
        XPButton& b = Make(QSize(160, 40), QStringLiteral("Text"));
        b.SetCaptionAlign(0);
        const int left = LeftmostRed(Image());
        b.SetCaptionAlign(2);
        const int centre = LeftmostRed(Image());
        b.SetCaptionAlign(1);
        const int right = LeftmostRed(Image());
        QVERIFY(left >= 4 && left < centre && centre < right);
    }

    void captionEffectsDrawShadedCopies()
    {
        XPButton& b = Make(QSize(120, 40), QStringLiteral("Deep"));
        b.SetBackColor(0x00808080u);
        const QImage plain = Image();
        b.SetCaptionStyle(XPButton::lv_Sunken);
        const QImage sunken = Image();
        b.SetCaptionStyle(XPButton::lv_Raised);
        const QImage raised = Image();
        QVERIFY(plain != sunken && sunken != raised && plain != raised);
        // Sunken: the face shaded by -40 appears beside the text.
        QVERIFY(HasColour(sunken, XPShade::Apply(QColor(128, 128, 128), -40).rgb()));
        QVERIFY(!HasColour(plain, XPShade::Apply(QColor(128, 128, 128), -40).rgb()));
    }

    void hoverWithTheDefaultLockChangesOnlyTheBorder()
    {
        XPButton& b = Make(QSize(120, 40), QStringLiteral("Hover"));
        b.SetHoverBackColor(kGreen);
        b.SetHoverForeColor(kBlue);
        b.SetHoverBorderColor(kBlue);
        const QImage normal = Image();
        Hover();
        QVERIFY(b.IsHovered());
        const QImage hovered = Image();
        QVERIFY(hovered != normal);
        QCOMPARE(hovered.pixel(60, 6), normal.pixel(60, 6));     // face
        QCOMPARE(LeftmostRed(hovered), LeftmostRed(normal));     // text colour
        QCOMPARE(QColor(hovered.pixel(1, 20)), QColor(Qt::blue)); // inner border

        b.SetHoverColorLocks(XPButton::lv_NoLocks);
        const QImage unlocked = Image();
        QCOMPARE(QColor(unlocked.pixel(60, 6)), QColor(Qt::green));
        QCOMPARE(LeftmostRed(unlocked), -1);

        b.SetHoverColorLocks(XPButton::lv_LockTextColorOnly);
        QCOMPARE(QColor(Image().pixel(60, 6)), QColor(Qt::green));
        QVERIFY(LeftmostRed(Image()) > 0);

        b.SetHoverColorLocks(XPButton::lv_LockBackColorOnly);
        QCOMPARE(Image().pixel(60, 6), normal.pixel(60, 6));
        QCOMPARE(LeftmostRed(Image()), -1);
    }

    void focusRectangleIsDrawnOnlyWhenAsked()
    {
        XPButton& b = Make(QSize(120, 40), QString());
        b.SetGotFocusBorderColor(kGreen);
        Activate();
        const QImage unfocused = Image();
        b.setFocus();
        QTRY_VERIFY(b.hasFocus());
        const QImage focused = Image();
        QVERIFY(IsRed(focused.pixel(3, 3)));   // dotted: every other pixel
        QVERIFY(!IsRed(focused.pixel(4, 3)));
        QVERIFY(IsRed(focused.pixel(5, 3)));
        QVERIFY(!IsRed(unfocused.pixel(3, 3)));
        QCOMPARE(QColor(focused.pixel(1, 20)), QColor(Qt::green));

        b.SetShowFocusRect(false);
        const QImage noRect = Image();
        QVERIFY(!IsRed(noRect.pixel(3, 3)));
        QCOMPARE(QColor(noRect.pixel(1, 20)), QColor(Qt::green));  // the border stays
    }

    void disabledButtonLooksDisabled()
    {
        XPButton& b = Make(QSize(140, 40), QStringLiteral("Disabled"));
        b.SetPicture(SolidPicture(QSize(16, 16), Qt::blue));
        const QImage enabled = Image();
        b.SetEnabled(false);
        const QImage disabled = Image();
        QVERIFY(enabled != disabled);
        QCOMPARE(LeftmostRed(disabled), -1);
        QVERIFY(HasColour(disabled, qRgb(128, 128, 128)));
        QCOMPARE(QColor(enabled.pixel(12, 20)), QColor(Qt::blue));
        QVERIFY(QColor(disabled.pixel(12, 20)) != QColor(Qt::blue));  // the picture greyed too
        // Outline: the enabled one is RGB(0, 60, 115).
        QCOMPARE(QColor(enabled.pixel(60, 0)), QColor(0, 60, 115));
        QVERIFY(QColor(disabled.pixel(60, 0)) != QColor(0, 60, 115));
    }

    void picturesArePlacedAndSized_data()
    {
        QTest::addColumn<int>("align");
        QTest::addColumn<int>("size");
        QTest::addColumn<QPoint>("inside");
        QTest::addColumn<QPoint>("outside");
        // A 160 x 60 button: the content area runs from 4 to 155 and 4 to 55.
        QTest::newRow("left edge 16") << int(XPButton::lv_LeftEdge) << 0 << QPoint(12, 30) << QPoint(25, 30);
        QTest::newRow("left edge 24") << int(XPButton::lv_LeftEdge) << 1 << QPoint(25, 30) << QPoint(30, 30);
        QTest::newRow("left edge 32") << int(XPButton::lv_LeftEdge) << 2 << QPoint(33, 30) << QPoint(38, 30);
        QTest::newRow("right edge") << int(XPButton::lv_RightEdge) << 0 << QPoint(148, 30) << QPoint(135, 30);
        QTest::newRow("top centre") << int(XPButton::lv_TopCenter) << 0 << QPoint(80, 6) << QPoint(80, 24);
        QTest::newRow("bottom centre") << int(XPButton::lv_BottomCenter) << 0 << QPoint(80, 53) << QPoint(80, 35);
        QTest::newRow("stretch") << int(XPButton::lv_LeftEdge) << 3 << QPoint(150, 50) << QPoint(2, 30);
        QTest::newRow("scaled") << int(XPButton::lv_LeftEdge) << 4 << QPoint(80, 10) << QPoint(20, 30);
        QTest::newRow("own size") << int(XPButton::lv_LeftEdge) << 5 << QPoint(13, 30) << QPoint(15, 30);
    }

    void picturesArePlacedAndSized()
    {
        QFETCH(int, align);
        QFETCH(int, size);
        QFETCH(QPoint, inside);
        QFETCH(QPoint, outside);
        XPButton& b = Make(QSize(160, 60), QString());
        b.SetPicture(SolidPicture(size == 5 ? QSize(10, 10) : QSize(20, 20), Qt::blue));
        b.SetPictureAlign(XPButton::ImagePlacementConstants(align));
        b.SetPictureSize(XPButton::ImageSizeConstants(size));
        const QImage image = Image();
        QCOMPARE(QColor(image.pixel(inside)), QColor(Qt::blue));
        QVERIFY(QColor(image.pixel(outside)) != QColor(Qt::blue));
    }

    void pictureBesideTheCaptionFollowsTheText()
    {
        XPButton& b = Make(QSize(200, 40), QStringLiteral("Text"));
        b.SetPicture(SolidPicture(QSize(16, 16), Qt::blue));
        b.SetPictureAlign(XPButton::lv_LeftOfCaption);
        QImage image = Image();
        const int text = LeftmostRed(image);
        QCOMPARE(QColor(image.pixel(text - 6, 20)), QColor(Qt::blue));
        QVERIFY(QColor(image.pixel(12, 20)) != QColor(Qt::blue));

        b.SetPictureAlign(XPButton::lv_RightOfCaption);
        image = Image();
        QVERIFY(QColor(image.pixel(LeftmostRed(image) - 6, 20)) != QColor(Qt::blue));
    }

    void gradientRunsFromTheFaceToTheSecondColour()
    {
        XPButton& b = Make(QSize(120, 60), QString());
        b.SetGradientColor(kBlack);
        b.SetGradientMode(XPButton::lv_Left2Right);
        QImage image = Image();
        QVERIFY(qGray(image.pixel(10, 30)) > qGray(image.pixel(60, 30)));
        QVERIFY(qGray(image.pixel(60, 30)) > qGray(image.pixel(110, 30)));
        b.SetGradientMode(XPButton::lv_Right2Left);
        image = Image();
        QVERIFY(qGray(image.pixel(10, 30)) < qGray(image.pixel(110, 30)));
        b.SetGradientMode(XPButton::lv_Top2Bottom);
        image = Image();
        QVERIFY(qGray(image.pixel(60, 8)) > qGray(image.pixel(60, 52)));
        b.SetGradientMode(XPButton::lv_Bottom2Top);
        image = Image();
        QVERIFY(qGray(image.pixel(60, 8)) < qGray(image.pixel(60, 52)));
        QCOMPARE(qGray(image.pixel(60, 8)), qGray(image.pixel(20, 8)));
    }

    void delayDrawingHoldsThePicture()
    {
        XPButton& b = Make();
        const QImage before = Image();
        b.DelayDrawing(true);
        b.SetCaption(QStringLiteral("Changed"));
        b.SetBackColor(kGreen);
        QCOMPARE(Image(), before);
        b.DelayDrawing(false);
        QVERIFY(Image() != before);
        QCOMPARE(QColor(Image().pixel(60, 6)), QColor(Qt::green));
    }

    // ---- hover ---------------------------------------------------------------

    void leavingRaisesMouseLeaveOnce()
    {
        XPButton& b = Make();
        QSignalSpy enter(&b, &XPButton::MouseEnter);
        QSignalSpy leave(&b, &XPButton::MouseLeave);
        QSignalSpy moves(&b, &XPButton::MouseMove);
        Hover();
        QCOMPARE(enter.count(), 1);
        QTest::mouseMove(&b, QPoint(30, 10));
        QCOMPARE(enter.count(), 1);
        QVERIFY(moves.count() >= 2);

        MouseAway();
        QTRY_COMPARE(leave.count(), 1);
        QVERIFY(!b.IsHovered());
        QTest::qWait(XPButton::kHoverIntervalMs * 4);
        QCOMPARE(leave.count(), 1);
        QCOMPARE(enter.count(), 1);

        Hover();  // and again
        QCOMPARE(enter.count(), 2);
        MouseAway();
        QTRY_COMPARE(leave.count(), 2);
    }

    void leavingTheCutCornerOfARoundButtonCountsAsLeaving()
    {
        XPButton& b = Make(QSize(60, 60), QString());
        b.SetButtonShape(XPButton::lv_RoundFlat);
        QSignalSpy leave(&b, &XPButton::MouseLeave);
        Hover();
        QVERIFY(b.IsHovered());
        QTest::mouseMove(m_window.get(), QPoint(21, 21));  // the button's corner, outside the ellipse
        QTRY_COMPARE(leave.count(), 1);
    }

    // ---- mouse ---------------------------------------------------------------

    void leftClickRaisesDownUpAndClick()
    {
        XPButton& b = Make();
        QStringList log;
        connect(&b, &XPButton::MouseDown, this, [&log](int button, int, float, float) { log << QString("down %1").arg(button); });
        connect(&b, &XPButton::MouseUp, this, [&log](int button, int, float, float) { log << QString("up %1").arg(button); });
        connect(&b, &XPButton::Click, this, [&log] { log << "click"; });
        connect(&b, &XPButton::DoubleClick, this, [&log](int button) { log << QString("double %1").arg(button); });

        QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(log, QStringList({"down 1", "up 1", "click"}));
        log.clear();
        QTest::mouseClick(&b, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(log, QStringList({"down 2", "up 2"}));
        log.clear();

        QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(b.IsPressed());
        QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(200, 10));  // let go elsewhere
        QVERIFY(!b.IsPressed());
        QCOMPARE(log, QStringList({"down 1", "up 1"}));
        log.clear();

        QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseDClick(&b, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(log, QStringList({"down 1", "up 1", "click", "double 1", "down 1", "up 1", "click"}));
    }

    void mouseEventsCarryTwips()
    {
        XPButton& b = Make();
        QSignalSpy down(&b, &XPButton::MouseDown);
        QTest::mousePress(&b, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 4));
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.at(0).at(1).toInt(), XPButton::kShiftMask);
        QCOMPARE(down.at(0).at(2).toFloat(), 150.0f);
        QCOMPARE(down.at(0).at(3).toFloat(), 60.0f);
        QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(10, 4));
    }

    void pressedButtonLooksPressed()
    {
        XPButton& b = Make();
        b.setFocusPolicy(Qt::TabFocus);  // the click alone, without the focus look
        const QImage normal = Image();
        QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
        const QImage pressed = Image();
        QVERIFY(pressed != normal);
        // The caption moves one pixel right and down.
        QCOMPARE(LeftmostRed(pressed), LeftmostRed(normal) + 1);
        QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(Image(), normal);
    }

    void buttonHeldWhileTheMouseIsAwayLooksRaised()
    {
        // Through the window, as the platform delivers them, so that the
        // pointer moves made with the button held go to the held button.
        XPButton& b = Make();
        b.setFocusPolicy(Qt::TabFocus);
        QWindow* window = m_window->windowHandle();
        QSignalSpy leave(&b, &XPButton::MouseLeave);
        QSignalSpy enter(&b, &XPButton::MouseEnter);
        QSignalSpy click(&b, &XPButton::Click);
        const QImage normal = Image();
        const QPoint centre = b.geometry().center();
        Hover();
        QTest::mousePress(window, Qt::LeftButton, {}, centre);
        QVERIFY(b.IsPressed());
        const QImage pressed = Image();
        QVERIFY(pressed != normal);

        QCursor::setPos(m_window->mapToGlobal(QPoint(280, 180)));
        QTRY_COMPARE(leave.count(), 1);
        QVERIFY(b.IsPressed());
        QCOMPARE(Image(), normal);

        QCursor::setPos(m_window->mapToGlobal(centre));  // back, still held
        QTRY_COMPARE(enter.count(), 2);
        QCOMPARE(Image(), pressed);
        QTest::mouseRelease(window, Qt::LeftButton, {}, centre);
        QCOMPARE(click.count(), 1);
        QVERIFY(!b.IsPressed());
    }

    void disabledButtonIgnoresMouseAndKeys()
    {
        XPButton& b = Make();
        b.SetEnabled(false);
        QSignalSpy click(&b, &XPButton::Click);
        QTest::mouseClick(&b, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::keyClick(&b, Qt::Key_Space);
        b.SetValue(true);
        QCOMPARE(click.count(), 0);
    }

    // ---- keyboard ----------------------------------------------------------

    void heldSpaceBarRaisesOneClickOnRelease()
    {
        XPButton& b = Make();
        QSignalSpy click(&b, &XPButton::Click);
        const QImage normal = Image();
        SendKey(QEvent::KeyPress, Qt::Key_Space, false, " ");
        QVERIFY(b.IsPressed());
        const QImage pressed = Image();
        QVERIFY(pressed != normal);
        for (int i = 0; i < 3; ++i) {  // the key repeats while held
            SendKey(QEvent::KeyRelease, Qt::Key_Space, true, " ");
            SendKey(QEvent::KeyPress, Qt::Key_Space, true, " ");
        }
        QCOMPARE(click.count(), 0);
        QVERIFY(b.IsPressed());
        QCOMPARE(Image(), pressed);
        SendKey(QEvent::KeyRelease, Qt::Key_Space, false, " ");
        QCOMPARE(click.count(), 1);
        QVERIFY(!b.IsPressed());
        QCOMPARE(Image(), normal);
    }

    void otherKeysRaiseKeyEvents()
    {
        XPButton& b = Make();
        QSignalSpy down(&b, &XPButton::KeyDown);
        QSignalSpy press(&b, &XPButton::KeyPress);
        QSignalSpy up(&b, &XPButton::KeyUp);
        QTest::keyClick(&b, Qt::Key_A);
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.at(0).at(0).toInt(), 65);
        QCOMPARE(press.at(0).at(0).toInt(), int('a'));
        QCOMPARE(up.at(0).at(0).toInt(), 65);
        QTest::keyClick(&b, Qt::Key_F2);
        QCOMPARE(down.at(1).at(0).toInt(), 0x71);
        QTest::keyRelease(&b, Qt::Key_Shift);
        QCOMPARE(up.count(), 2);  // shift up is not reported
    }

    void arrowKeysArePassedToTheWindowNamedByTag()
    {
        XPButton& b = Make();
        QWidget target;
        struct Recorder : QObject {
            QList<QPair<int, quint32>> keys;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::KeyPress) {
                    auto* key = static_cast<QKeyEvent*>(event);
                    keys.append({key->key(), key->nativeScanCode()});
                    return true;
                }
                return false;
            }
        } recorder;
        target.installEventFilter(&recorder);
        QSignalSpy down(&b, &XPButton::KeyDown);

        QTest::keyClick(&b, Qt::Key_Left);  // no window named: swallowed
        b.SetTag(QString::number(target.winId()));
        QTest::keyClick(&b, Qt::Key_Left);
        QTest::keyClick(&b, Qt::Key_Up);
        QTest::keyClick(&b, Qt::Key_Right);
        QTest::keyClick(&b, Qt::Key_Down);
        QCoreApplication::processEvents();
        QCOMPARE(down.count(), 0);
        QCOMPARE(recorder.keys, (QList<QPair<int, quint32>>({{Qt::Key_Left, 0x4Bu}, {Qt::Key_Up, 0x48u},
                                                               {Qt::Key_Right, 0x4Du}, {Qt::Key_Down, 0x50u}})));
    }

    void accessKeysClick()
    {
        XPButton& b = Make(QSize(120, 40), QStringLiteral("&Go"));
        QSignalSpy click(&b, &XPButton::Click);
        Activate();
        QTest::keyClick(m_window.get(), Qt::Key_G, Qt::AltModifier);
        QCOMPARE(click.count(), 1);

        b.SetDefault(true);
        QTest::keyClick(m_window.get(), Qt::Key_Return);
        QCOMPARE(click.count(), 2);
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QCOMPARE(click.count(), 2);
        b.SetCancel(true);
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QCOMPARE(click.count(), 3);
        b.SetCaption(QStringLiteral("&Stop"));
        QTest::keyClick(m_window.get(), Qt::Key_G, Qt::AltModifier);
        QCOMPARE(click.count(), 3);
    }

    // ---- run-time members ---------------------------------------------------

    void valuePressesTheButtonByProgram()
    {
        XPButton& b = Make();
        const QImage normal = Image();
        SendKey(QEvent::KeyPress, Qt::Key_Space, false, " ");
        const QImage pressed = Image();
        SendKey(QEvent::KeyRelease, Qt::Key_Space, false, " ");

        QImage duringClick;
        int clicks = 0;
        connect(&b, &XPButton::Click, this, [&] {
            ++clicks;
            duringClick = Image();
        });
        b.SetValue(true);
        QCOMPARE(clicks, 1);
        QCOMPARE(duringClick, pressed);
        QCOMPARE(Image(), normal);
        b.SetValue(false);
        QCOMPARE(clicks, 1);
    }

    void handlesNameTheSurfaceAndTheWindow()
    {
        XPButton& b = Make();
        QCOMPARE(b.hwnd(), &b);
        QPaintDevice* surface = b.hdc();
        QVERIFY(surface);
        QCOMPARE(surface->width(), b.width());
        QCOMPARE(static_cast<QPixmap*>(surface)->toImage(), Image());
    }

    // ---- shade rule ---------------------------------------------------------

    void shadeRuleLimitsChannelsAndAvoidsExtremes()
    {
        QCOMPARE(XPShade::Apply(QColor(100, 100, 100), 20), QColor(120, 120, 120));
        // Green and blue are read as byte x 256 / 255 first.
        QCOMPARE(XPShade::Apply(QColor(200, 200, 200), 10), QColor(210, 211, 211));
        QCOMPARE(XPShade::Apply(QColor(250, 10, 250), 48), QColor(255, 58, 255));
        QCOMPARE(XPShade::Apply(QColor(255, 255, 255), 48), QColor(255, 255, 255));
        QCOMPARE(XPShade::Apply(QColor(255, 255, 255), 48, XPShade::Variant::Plain, true), QColor(207, 208, 208));
        QCOMPARE(XPShade::Apply(QColor(0, 0, 0), 0, XPShade::Variant::Plain, true), QColor(64, 64, 64));
        // The dark edge scales the blue offset by the blue itself.
        QCOMPARE(XPShade::Apply(QColor(200, 200, 192), -104, XPShade::Variant::DarkEdge), QColor(96, 97, 89));
        QCOMPARE(XPShade::Apply(QColor(100, 100, 100), 0, XPShade::Variant::Inverted), QColor(155, 155, 155));
    }
};

QTEST_MAIN(XPButtonTest)
#include "XPButtonTest.moc"
