// XPButton: a push button that draws itself - shaped outline (rectangle, cut
// corners, round), optional gradient, a picture beside or above the caption,
// sunken or raised caption text, and separate colours while hovered and
// focused. It raises the usual mouse and keyboard events plus MouseEnter and
// MouseLeave. Colours are stored values (0x00BBGGRR, bit 31 a system colour);
// event coordinates are twips.
#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>

class QPaintDevice;

namespace quorvantell {

class PropertyBag;
struct XPButtonLook;

class XPButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int CaptionAlign READ CaptionAlign WRITE SetCaptionAlign)
    Q_PROPERTY(ButtonStyleConstants ButtonShape READ ButtonShape WRITE SetButtonShape)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE SetForeColor)
    Q_PROPERTY(uint HoverForeColor READ HoverForeColor WRITE SetHoverForeColor)
    Q_PROPERTY(uint HoverBackColor READ HoverBackColor WRITE SetHoverBackColor)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE SetShowFocusRect)
    Q_PROPERTY(HoverLockConstants HoverColorLocks READ HoverColorLocks WRITE SetHoverColorLocks)
    Q_PROPERTY(uint GradientColor READ GradientColor WRITE SetGradientColor)
    Q_PROPERTY(GradientConstants GradientMode READ GradientMode WRITE SetGradientMode)
    Q_PROPERTY(CaptionEffectConstants CaptionStyle READ CaptionStyle WRITE SetCaptionStyle)
    Q_PROPERTY(ImagePlacementConstants PictureAlign READ PictureAlign WRITE SetPictureAlign)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(ImageSizeConstants PictureSize READ PictureSize WRITE SetPictureSize)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(uint BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE SetMousePointer)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE SetMouseIcon)
    Q_PROPERTY(uint GotFocusBorderColor READ GotFocusBorderColor WRITE SetGotFocusBorderColor)
    Q_PROPERTY(uint HoverBorderColor READ HoverBorderColor WRITE SetHoverBorderColor)
    Q_PROPERTY(QString Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)

public:
    enum ButtonStyleConstants {
        lv_Rectangular = 0,
        lv_LeftDiagonal = 1,
        lv_RightDiagonal = 2,
        lv_FullDiagonal = 3,
        lv_Round3D = 4,
        lv_Round3DFixed = 5,
        lv_RoundFlat = 6,
    };
    Q_ENUM(ButtonStyleConstants)
    enum HoverLockConstants {
        lv_LockTextandBackColor = 0,
        lv_LockTextColorOnly = 1,
        lv_LockBackColorOnly = 2,
        lv_NoLocks = 3,
    };
    Q_ENUM(HoverLockConstants)
    enum GradientConstants {
        lv_NoGradient = 0,
        lv_Left2Right = 1,
        lv_Right2Left = 2,
        lv_Top2Bottom = 3,
        lv_Bottom2Top = 4,
    };
    Q_ENUM(GradientConstants)
    enum CaptionEffectConstants {
        lv_Default = 0,
        lv_Sunken = 1,
        lv_Raised = 2,
    };
    Q_ENUM(CaptionEffectConstants)
    enum ImagePlacementConstants {
        lv_LeftEdge = 0,
        lv_LeftOfCaption = 1,
        lv_RightEdge = 2,
        lv_RightOfCaption = 3,
        lv_TopCenter = 4,
        lv_BottomCenter = 5,
    };
    Q_ENUM(ImagePlacementConstants)
    enum ImageSizeConstants {
        lv_16x16 = 0,
        lv_24x24 = 1,
        lv_32x32 = 2,
        lv_Fill_Stretch = 3,
        lv_Fill_ScaleUpDown = 4,
        lv_Full = 5,
    };
    Q_ENUM(ImageSizeConstants)

    // Event argument values: mouse buttons and shift states.
    static constexpr int kLeftButton = 1;
    static constexpr int kRightButton = 2;
    static constexpr int kMiddleButton = 4;
    static constexpr int kShiftMask = 1;
    static constexpr int kCtrlMask = 2;
    static constexpr int kAltMask = 4;

    static constexpr uint32_t kDefaultForeColor = 0x80000012u;      // button text
    static constexpr uint32_t kDefaultBackColor = 0x8000000Fu;      // button face
    static constexpr uint32_t kDefaultGotFocusBorderColor = 15696491u;
    static constexpr uint32_t kDefaultHoverBorderColor = 38631u;
    static constexpr uint32_t kOutlineColor = 0x00733C00u;          // RGB(0, 60, 115)
    // How often a hovered button looks whether the mouse is still over it.
    static constexpr int kHoverIntervalMs = 100;

    explicit XPButton(QWidget* parent = nullptr);

    QString Caption() const;
    void SetCaption(const QString& value);
    int CaptionAlign() const;              // 0 left, 1 right, 2 centre
    void SetCaptionAlign(int value);
    ButtonStyleConstants ButtonShape() const;
    void SetButtonShape(ButtonStyleConstants value);
    QFont Font() const;
    void SetFont(const QFont& value);
    uint32_t ForeColor() const;
    void SetForeColor(uint32_t value);
    uint32_t HoverForeColor() const;
    void SetHoverForeColor(uint32_t value);
    uint32_t HoverBackColor() const;
    void SetHoverBackColor(uint32_t value);
    bool ShowFocusRect() const;
    void SetShowFocusRect(bool value);
    HoverLockConstants HoverColorLocks() const;
    void SetHoverColorLocks(HoverLockConstants value);
    uint32_t GradientColor() const;
    void SetGradientColor(uint32_t value);
    GradientConstants GradientMode() const;
    void SetGradientMode(GradientConstants value);
    CaptionEffectConstants CaptionStyle() const;
    void SetCaptionStyle(CaptionEffectConstants value);
    ImagePlacementConstants PictureAlign() const;
    void SetPictureAlign(ImagePlacementConstants value);
    QPixmap Picture() const;
    void SetPicture(const QPixmap& value);
    ImageSizeConstants PictureSize() const;
    void SetPictureSize(ImageSizeConstants value);
    bool Enabled() const;
    void SetEnabled(bool value);
    uint32_t BackColor() const;
    void SetBackColor(uint32_t value);
    int MousePointer() const;              // the standard pointer numbers; 99 custom
    void SetMousePointer(int value);
    QPixmap MouseIcon() const;
    void SetMouseIcon(const QPixmap& value);
    uint32_t GotFocusBorderColor() const;
    void SetGotFocusBorderColor(uint32_t value);
    uint32_t HoverBorderColor() const;
    void SetHoverBorderColor(uint32_t value);

    // The host's own text; as decimal text it may name the window that
    // receives the arrow keys (see keyPressEvent).
    QString Tag() const;
    void SetTag(const QString& value);
    // Enter (default) or Escape (cancel) anywhere in the window clicks it.
    bool Default() const;
    void SetDefault(bool value);
    bool Cancel() const;
    void SetCancel(bool value);

    // Run-time members.
    void SetValue(bool value);             // true presses the button by program
    void SetResetDefaultColors(bool value);
    QPaintDevice* hdc();                   // the surface the button draws on
    QWidget* hwnd();
    void Refresh();
    void DelayDrawing(bool bDelay);

    bool IsPressed() const;
    bool IsHovered() const;

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    QSize sizeHint() const override;

signals:
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void Click();
    void DoubleClick(int Button);
    void MouseEnter();
    void MouseLeave();
    void PropertyChanged(const QString& name);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Changed(const char* storedName);
    void Redraw();
    bool WidenForCuts();
    XPButtonLook Look() const;
    QColor ContainerBackColor() const;
    QFont ContainerFont() const;
    bool UnderCursor() const;
    bool InsideShape(const QPoint& point) const;
    void HoverTick();
    void Press(const QMouseEvent* event);
    void EmitMouse(void (XPButton::*signal)(int, int, float, float), int button, const QMouseEvent* event);
    void PassArrowKey(const QKeyEvent* event) const;
    void RegrabShortcuts();
    void ApplyPointer();

    QString m_caption;
    int m_captionAlign = 2;
    ButtonStyleConstants m_shape = lv_Rectangular;
    uint32_t m_foreColor = kDefaultForeColor;
    uint32_t m_hoverForeColor = kDefaultForeColor;
    uint32_t m_hoverBackColor = kDefaultBackColor;
    bool m_showFocusRect = true;
    HoverLockConstants m_hoverLocks = lv_LockTextandBackColor;
    uint32_t m_gradientColor = kDefaultBackColor;
    GradientConstants m_gradientMode = lv_NoGradient;
    CaptionEffectConstants m_captionStyle = lv_Default;
    ImagePlacementConstants m_pictureAlign = lv_LeftEdge;
    QPixmap m_picture;
    ImageSizeConstants m_pictureSize = lv_16x16;
    uint32_t m_backColor = kDefaultBackColor;
    int m_mousePointer = 0;
    QPixmap m_mouseIcon;
    uint32_t m_gotFocusBorderColor = kDefaultGotFocusBorderColor;
    uint32_t m_hoverBorderColor = kDefaultHoverBorderColor;
    QString m_tag;
    bool m_default = false;
    bool m_cancel = false;

    // State.
    bool m_pressed = false;
    bool m_pressedAway = false;            // pressed with the mouse, which then left
    bool m_hovered = false;
    bool m_focused = false;
    bool m_drawingSuspended = false;
    Qt::MouseButton m_lastButton = Qt::NoButton;
    QTimer m_hoverTimer;                   // running = hover tracking on
    QPixmap m_canvas;
    int m_mnemonicShortcut = 0;
    int m_enterShortcut = 0;
    int m_returnShortcut = 0;
    int m_escapeShortcut = 0;
};

}  // namespace quorvantell
