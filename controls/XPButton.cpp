// XPButton: properties, the pressed/hovered/focused state machine, mouse and
// keyboard handling and the events. The drawing itself is XPButtonPainter's;
// it goes into a canvas that paint events only copy, so that DelayDrawing can
// hold the last picture while properties change.
#include "controls/XPButton.h"

#include "controls/OleColor.h"
#include "controls/PropertyBag.h"
#include "controls/Twips.h"
#include "controls/VirtualKeys.h"
#include "controls/XPButtonPainter.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace quorvantell {

namespace {

constexpr int kPictureSizeStep = 8;   // stored as size code x 8 + 16
constexpr int kPictureSizeBase = 16;
constexpr int kCustomPointer = 99;

// The platform's virtual-key numbers for the keys a host may look at; a key
// without one keeps Qt's number.
int VirtualKey(int qtKey)
{
    const uint8_t code = VirtualKeys::FromQt(qtKey).code;
    return code != 0 ? code : qtKey & 0xFFFF;
}

int ButtonCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= XPButton::kLeftButton;
    if (buttons & Qt::RightButton)
        code |= XPButton::kRightButton;
    if (buttons & Qt::MiddleButton)
        code |= XPButton::kMiddleButton;
    return code;
}

bool IsArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

// The keyboard scan codes the arrow keys are passed on with.
quint32 ArrowScanCode(int key)
{
    switch (key) {
    case Qt::Key_Left: return 0x4B;
    case Qt::Key_Up: return 0x48;
    case Qt::Key_Right: return 0x4D;
    default: return 0x50;
    }
}

Qt::CursorShape StandardPointer(int pointer)
{
    switch (pointer) {
    case 2: return Qt::CrossCursor;
    case 3: return Qt::IBeamCursor;
    case 5:
    case 15: return Qt::SizeAllCursor;
    case 6: return Qt::SizeBDiagCursor;
    case 7: return Qt::SizeVerCursor;
    case 8: return Qt::SizeFDiagCursor;
    case 9: return Qt::SizeHorCursor;
    case 10: return Qt::UpArrowCursor;
    case 11: return Qt::WaitCursor;
    case 12: return Qt::ForbiddenCursor;
    case 13: return Qt::BusyCursor;
    case 14: return Qt::WhatsThisCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace

XPButton::XPButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);  // hover needs the moves with no button held
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_hoverTimer.setInterval(kHoverIntervalMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &XPButton::HoverTick);
    Redraw();
}

// ---- properties ------------------------------------------------------------

void XPButton::Changed(const char* storedName)
{
    emit PropertyChanged(QString::fromLatin1(storedName));
    Redraw();
}

QString XPButton::Caption() const { return m_caption; }

void XPButton::SetCaption(const QString& value)
{
    m_caption = value;
    RegrabShortcuts();
    updateGeometry();
    Changed("Caption");
}

int XPButton::CaptionAlign() const { return m_captionAlign; }

void XPButton::SetCaptionAlign(int value)
{
    m_captionAlign = value;
    Changed("CapAlign");
}

XPButton::ButtonStyleConstants XPButton::ButtonShape() const { return m_shape; }

void XPButton::SetButtonShape(ButtonStyleConstants value)
{
    m_shape = value;
    Changed("Shape");
}

QFont XPButton::Font() const { return font(); }

void XPButton::SetFont(const QFont& value)
{
    setFont(value);
    updateGeometry();
    Changed("Font");
}

uint32_t XPButton::ForeColor() const { return m_foreColor; }

void XPButton::SetForeColor(uint32_t value)
{
    m_foreColor = value;
    Changed("cFore");
}

uint32_t XPButton::HoverForeColor() const { return m_hoverForeColor; }

void XPButton::SetHoverForeColor(uint32_t value)
{
    m_hoverForeColor = value;
    Changed("cFHover");
}

uint32_t XPButton::HoverBackColor() const { return m_hoverBackColor; }

void XPButton::SetHoverBackColor(uint32_t value)
{
    m_hoverBackColor = value;
    Changed("cBhover");
}

bool XPButton::ShowFocusRect() const { return m_showFocusRect; }

void XPButton::SetShowFocusRect(bool value)
{
    m_showFocusRect = value;
    Changed("Focus");
}

XPButton::HoverLockConstants XPButton::HoverColorLocks() const { return m_hoverLocks; }

void XPButton::SetHoverColorLocks(HoverLockConstants value)
{
    m_hoverLocks = value;
    Changed("LockHover");
}

uint32_t XPButton::GradientColor() const { return m_gradientColor; }

void XPButton::SetGradientColor(uint32_t value)
{
    m_gradientColor = value;
    Changed("cGradient");
}

XPButton::GradientConstants XPButton::GradientMode() const { return m_gradientMode; }

void XPButton::SetGradientMode(GradientConstants value)
{
    m_gradientMode = value;
    Changed("Gradient");
}

XPButton::CaptionEffectConstants XPButton::CaptionStyle() const { return m_captionStyle; }

void XPButton::SetCaptionStyle(CaptionEffectConstants value)
{
    m_captionStyle = value;
    Changed("CapStyle");
}

XPButton::ImagePlacementConstants XPButton::PictureAlign() const { return m_pictureAlign; }

void XPButton::SetPictureAlign(ImagePlacementConstants value)
{
    m_pictureAlign = value;
    Changed("ImgAlign");
}

QPixmap XPButton::Picture() const { return m_picture; }

void XPButton::SetPicture(const QPixmap& value)
{
    m_picture = value;
    updateGeometry();
    Changed("Image");
}

XPButton::ImageSizeConstants XPButton::PictureSize() const { return m_pictureSize; }

void XPButton::SetPictureSize(ImageSizeConstants value)
{
    m_pictureSize = value;
    updateGeometry();
    Changed("ImgSize");
}

bool XPButton::Enabled() const { return isEnabled(); }

void XPButton::SetEnabled(bool value)
{
    setEnabled(value);
    Changed("Enabled");
}

uint32_t XPButton::BackColor() const { return m_backColor; }

void XPButton::SetBackColor(uint32_t value)
{
    m_backColor = value;
    Changed("cBack");
}

int XPButton::MousePointer() const { return m_mousePointer; }

void XPButton::SetMousePointer(int value)
{
    m_mousePointer = value;
    ApplyPointer();
    emit PropertyChanged(QStringLiteral("mPointer"));
}

QPixmap XPButton::MouseIcon() const { return m_mouseIcon; }

void XPButton::SetMouseIcon(const QPixmap& value)
{
    m_mouseIcon = value;
    ApplyPointer();
    emit PropertyChanged(QStringLiteral("mIcon"));
}

uint32_t XPButton::GotFocusBorderColor() const { return m_gotFocusBorderColor; }

void XPButton::SetGotFocusBorderColor(uint32_t value)
{
    m_gotFocusBorderColor = value;
    Changed("GotFocusBorderColor");
}

uint32_t XPButton::HoverBorderColor() const { return m_hoverBorderColor; }

void XPButton::SetHoverBorderColor(uint32_t value)
{
    m_hoverBorderColor = value;
    Changed("HoverBorderColor");
}

QString XPButton::Tag() const { return m_tag; }

void XPButton::SetTag(const QString& value) { m_tag = value; }

bool XPButton::Default() const { return m_default; }

void XPButton::SetDefault(bool value)
{
    m_default = value;
    RegrabShortcuts();
}

bool XPButton::Cancel() const { return m_cancel; }

void XPButton::SetCancel(bool value)
{
    m_cancel = value;
    RegrabShortcuts();
}

void XPButton::ApplyPointer()
{
    if (m_mousePointer == kCustomPointer && !m_mouseIcon.isNull())
        setCursor(QCursor(m_mouseIcon));
    else if (m_mousePointer == 0)
        unsetCursor();
    else
        setCursor(StandardPointer(m_mousePointer));
}

void XPButton::RegrabShortcuts()
{
    for (int* id : {&m_mnemonicShortcut, &m_enterShortcut, &m_returnShortcut, &m_escapeShortcut}) {
        if (*id != 0)
            releaseShortcut(*id);
        *id = 0;
    }
    const QKeySequence mnemonic = QKeySequence::mnemonic(XPButtonPainter::CaptionText(m_caption));
    if (!mnemonic.isEmpty())
        m_mnemonicShortcut = grabShortcut(mnemonic);
    if (m_default) {
        m_returnShortcut = grabShortcut(QKeySequence(Qt::Key_Return));
        m_enterShortcut = grabShortcut(QKeySequence(Qt::Key_Enter));
    }
    if (m_cancel)
        m_escapeShortcut = grabShortcut(QKeySequence(Qt::Key_Escape));
}

// ---- run-time members ----------------------------------------------------

void XPButton::SetValue(bool value)
{
    // Pressing by program: shown pressed while the click is handled.
    if (!value || !isEnabled())
        return;
    m_pressed = true;
    Refresh();
    emit Click();
    m_pressed = false;
    Refresh();
}

void XPButton::SetResetDefaultColors(bool value)
{
    if (!value)
        return;
    m_foreColor = kDefaultForeColor;
    m_hoverForeColor = kDefaultForeColor;
    m_backColor = kDefaultBackColor;
    m_hoverBackColor = kDefaultBackColor;
    m_gradientColor = kDefaultBackColor;
    m_gotFocusBorderColor = kDefaultGotFocusBorderColor;
    m_hoverBorderColor = kDefaultHoverBorderColor;
    Redraw();
}

QPaintDevice* XPButton::hdc()
{
    return &m_canvas;
}

QWidget* XPButton::hwnd()
{
    return this;
}

void XPButton::Refresh()
{
    Redraw();
    repaint();
}

void XPButton::DelayDrawing(bool bDelay)
{
    m_drawingSuspended = bDelay;
    if (!bDelay)
        Redraw();
}

bool XPButton::IsPressed() const { return m_pressed; }

bool XPButton::IsHovered() const { return m_hovered; }

// ---- stored properties -----------------------------------------------------

void XPButton::ReadProperties(const PropertyBag& bag)
{
    const bool suspended = m_drawingSuspended;
    DelayDrawing(true);
    SetCaption(bag.ReadProperty(QStringLiteral("Caption"), QString()).toString());
    SetCaptionAlign(bag.ReadProperty(QStringLiteral("CapAlign"), 0).toInt());
    SetButtonShape(static_cast<ButtonStyleConstants>(bag.ReadProperty(QStringLiteral("Shape"), 0).toInt()));
    SetFont(bag.ReadProperty(QStringLiteral("Font"), ContainerFont()).value<QFont>());
    SetForeColor(bag.ReadProperty(QStringLiteral("cFore"), kDefaultForeColor).toUInt());
    SetHoverForeColor(bag.ReadProperty(QStringLiteral("cFHover"), kDefaultForeColor).toUInt());
    // The hover face falls back to the face colour, so that one is read first.
    SetBackColor(bag.ReadProperty(QStringLiteral("cBack"), kDefaultBackColor).toUInt());
    SetHoverBackColor(bag.ReadProperty(QStringLiteral("cBhover"), m_backColor).toUInt());
    SetShowFocusRect(bag.ReadProperty(QStringLiteral("Focus"), true).toBool());
    SetHoverColorLocks(static_cast<HoverLockConstants>(bag.ReadProperty(QStringLiteral("LockHover"), 0).toInt()));
    SetGradientColor(bag.ReadProperty(QStringLiteral("cGradient"), kDefaultBackColor).toUInt());
    SetGradientMode(static_cast<GradientConstants>(bag.ReadProperty(QStringLiteral("Gradient"), 0).toInt()));
    SetCaptionStyle(static_cast<CaptionEffectConstants>(bag.ReadProperty(QStringLiteral("CapStyle"), 0).toInt()));
    SetPictureAlign(static_cast<ImagePlacementConstants>(bag.ReadProperty(QStringLiteral("ImgAlign"), 0).toInt()));
    SetPicture(bag.ReadProperty(QStringLiteral("Image")).value<QPixmap>());
    const int storedSize = bag.ReadProperty(QStringLiteral("ImgSize"), kPictureSizeBase).toInt();
    SetPictureSize(static_cast<ImageSizeConstants>(
        std::clamp((storedSize - kPictureSizeBase) / kPictureSizeStep, int(lv_16x16), int(lv_Full))));
    SetEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
    SetMousePointer(bag.ReadProperty(QStringLiteral("mPointer"), 0).toInt());
    SetMouseIcon(bag.ReadProperty(QStringLiteral("mIcon")).value<QPixmap>());
    SetGotFocusBorderColor(bag.ReadProperty(QStringLiteral("GotFocusBorderColor"), kDefaultGotFocusBorderColor).toUInt());
    SetHoverBorderColor(bag.ReadProperty(QStringLiteral("HoverBorderColor"), kDefaultHoverBorderColor).toUInt());
    DelayDrawing(suspended);
}

void XPButton::WriteProperties(PropertyBag& bag) const
{
    const auto picture = [](const QPixmap& pixmap) { return pixmap.isNull() ? QVariant() : QVariant(pixmap); };
    bag.WriteProperty(QStringLiteral("Caption"), m_caption, QString());
    bag.WriteProperty(QStringLiteral("CapAlign"), m_captionAlign, 0);
    bag.WriteProperty(QStringLiteral("Shape"), int(m_shape), 0);
    bag.WriteProperty(QStringLiteral("Font"), font(), ContainerFont());
    bag.WriteProperty(QStringLiteral("cFore"), m_foreColor, kDefaultForeColor);
    bag.WriteProperty(QStringLiteral("cFHover"), m_hoverForeColor, kDefaultForeColor);
    bag.WriteProperty(QStringLiteral("cBhover"), m_hoverBackColor, m_backColor);
    bag.WriteProperty(QStringLiteral("Focus"), m_showFocusRect, true);
    bag.WriteProperty(QStringLiteral("LockHover"), int(m_hoverLocks), 0);
    bag.WriteProperty(QStringLiteral("cGradient"), m_gradientColor, kDefaultBackColor);
    bag.WriteProperty(QStringLiteral("Gradient"), int(m_gradientMode), 0);
    bag.WriteProperty(QStringLiteral("CapStyle"), int(m_captionStyle), 0);
    bag.WriteProperty(QStringLiteral("ImgAlign"), int(m_pictureAlign), 0);
    bag.WriteProperty(QStringLiteral("Image"), picture(m_picture));
    bag.WriteProperty(QStringLiteral("ImgSize"), QVariant::fromValue<qint16>(qint16(m_pictureSize * kPictureSizeStep + kPictureSizeBase)),
                      QVariant::fromValue<qint16>(qint16(kPictureSizeBase)));
    bag.WriteProperty(QStringLiteral("Enabled"), isEnabled(), true);
    bag.WriteProperty(QStringLiteral("cBack"), m_backColor, kDefaultBackColor);
    bag.WriteProperty(QStringLiteral("mPointer"), QVariant::fromValue<qint16>(qint16(m_mousePointer)),
                      QVariant::fromValue<qint16>(0));
    bag.WriteProperty(QStringLiteral("mIcon"), picture(m_mouseIcon));
    bag.WriteProperty(QStringLiteral("GotFocusBorderColor"), m_gotFocusBorderColor, kDefaultGotFocusBorderColor);
    bag.WriteProperty(QStringLiteral("HoverBorderColor"), m_hoverBorderColor, kDefaultHoverBorderColor);
}

QSize XPButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    const QRect text = metrics.boundingRect(QRect(0, 0, 1000, 1000), Qt::TextShowMnemonic,
                                            XPButtonPainter::CaptionText(m_caption));
    int width = text.width() + 24;
    int height = text.height() + 12;
    if (!m_picture.isNull()) {
        width += 36;
        height = std::max(height, 40);
    }
    return QSize(std::max(width, 75), std::max(height, 23));
}

// ---- drawing -------------------------------------------------------------

QColor XPButton::ContainerBackColor() const
{
    const QWidget* container = parentWidget();
    return container ? container->palette().color(container->backgroundRole()) : palette().color(QPalette::Window);
}

QFont XPButton::ContainerFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

XPButtonLook XPButton::Look() const
{
    XPButtonLook look;
    look.shape = m_shape;
    look.size = size();
    look.container = ContainerBackColor();
    const bool hoverFace = m_hovered && (m_hoverLocks == lv_LockTextColorOnly || m_hoverLocks == lv_NoLocks);
    const bool hoverText = m_hovered && (m_hoverLocks == lv_LockBackColorOnly || m_hoverLocks == lv_NoLocks);
    look.face = OleColor::ToQColor(hoverFace ? m_hoverBackColor : m_backColor);
    look.gradient = OleColor::ToQColor(m_gradientColor);
    look.gradientMode = m_gradientMode;
    look.text = OleColor::ToQColor(hoverText ? m_hoverForeColor : m_foreColor);
    look.hoverBorder = OleColor::ToQColor(m_hoverBorderColor);
    look.focusBorder = OleColor::ToQColor(m_gotFocusBorderColor);
    look.pressed = m_pressed && !m_pressedAway;
    look.hovered = m_hovered;
    look.focused = m_focused;
    look.enabled = isEnabled();
    look.showFocusRect = m_showFocusRect;
    look.caption = m_caption;
    look.font = font();
    look.captionAlign = m_captionAlign;
    look.captionStyle = m_captionStyle;
    look.pictureAlign = m_pictureAlign;
    look.pictureSize = m_pictureSize;
    if (!m_picture.isNull() && !isEnabled()) {
        QStyleOption option;
        option.initFrom(this);
        look.picture = style()->generatedIconPixmap(QIcon::Disabled, m_picture, &option);
    } else {
        look.picture = m_picture;
    }
    return look;
}

bool XPButton::WidenForCuts()
{
    // A diagonal button needs room between its cuts for a caption.
    if (!XPButtonPainter::HasLeftCut(m_shape) && !XPButtonPainter::HasRightCut(m_shape))
        return false;
    const int cut = XPButtonPainter::Cut(height());
    int newWidth = width();
    while (newWidth - 4 * cut < 5)
        newWidth += 5;
    if (newWidth == width())
        return false;
    resize(newWidth, height());
    return true;
}

void XPButton::Redraw()
{
    if (m_drawingSuspended || WidenForCuts())
        return;
    const QRegion region = XPButtonPainter::Region(m_shape, size());
    if (region != mask())
        setMask(region);
    const qreal ratio = devicePixelRatioF();
    if (m_canvas.size() != size() * ratio || m_canvas.devicePixelRatio() != ratio) {
        m_canvas = QPixmap(size() * ratio);
        m_canvas.setDevicePixelRatio(ratio);
    }
    if (!m_canvas.isNull()) {
        QPainter painter(&m_canvas);
        const XPButtonLook look = Look();
        XPButtonPainter(painter, look).Paint();
    }
    update();
}

void XPButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_canvas);
}

void XPButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Redraw();
}

void XPButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled()) {
            m_pressed = false;
            m_pressedAway = false;
        }
        Redraw();
        break;
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::ParentChange:
        // The container's colour shows at the cut corners.
        Redraw();
        break;
    default:
        break;
    }
}

bool XPButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        const int id = static_cast<QShortcutEvent*>(event)->shortcutId();
        if (id != 0 && (id == m_mnemonicShortcut || id == m_returnShortcut || id == m_enterShortcut ||
                        id == m_escapeShortcut)) {
            Redraw();
            emit Click();
            return true;
        }
    }
    return QWidget::event(event);
}

// ---- mouse ----------------------------------------------------------------

void XPButton::EmitMouse(void (XPButton::*signal)(int, int, float, float), int button, const QMouseEvent* event)
{
    const QPointF pos = event->position();
    emit(this->*signal)(button, VirtualKeys::ShiftState(event->modifiers()), float(Twips::FromPixelsX(pos.x(), this)),
                        float(Twips::FromPixelsY(pos.y(), this)));
}

bool XPButton::UnderCursor() const
{
    // Where the pointer position goes stale once it leaves our windows (as on
    // Wayland), the leave event Qt delivers still tells.
    return underMouse() && QApplication::widgetAt(QCursor::pos()) == this;
}

bool XPButton::InsideShape(const QPoint& point) const
{
    return mask().isEmpty() ? rect().contains(point) : mask().contains(point);
}

void XPButton::Press(const QMouseEvent* event)
{
    m_lastButton = event->button();
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_pressedAway = false;
        Redraw();
    }
    EmitMouse(&XPButton::MouseDown, ButtonCode(event->button()), event);
}

void XPButton::mousePressEvent(QMouseEvent* event)
{
    Press(event);
}

void XPButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second click of a double click looks and acts like a press.
    emit DoubleClick(ButtonCode(event->button()));
    Press(event);
}

void XPButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_hoverTimer.isActive() && UnderCursor()) {
        m_hovered = true;
        m_pressedAway = false;
        emit MouseEnter();
        m_hoverTimer.start();
        Redraw();
    }
    EmitMouse(&XPButton::MouseMove, ButtonCode(event->buttons()), event);
}

void XPButton::HoverTick()
{
    if (UnderCursor())
        return;
    m_hoverTimer.stop();
    m_hovered = false;
    // A button held down with the mouse looks raised while the mouse is away.
    if (m_pressed && m_lastButton == Qt::LeftButton)
        m_pressedAway = true;
    emit MouseLeave();
    Redraw();
}

void XPButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool left = event->button() == Qt::LeftButton;
    if (left) {
        m_pressed = false;
        m_pressedAway = false;
        Redraw();
    }
    EmitMouse(&XPButton::MouseUp, ButtonCode(event->button()), event);
    if (left && m_lastButton == Qt::LeftButton && InsideShape(event->position().toPoint()))
        emit Click();
}

// ---- keyboard -------------------------------------------------------------

void XPButton::PassArrowKey(const QKeyEvent* event) const
{
    bool ok = false;
    const qulonglong handle = m_tag.toULongLong(&ok);
    QWidget* target = ok && handle != 0 ? QWidget::find(static_cast<WId>(handle)) : nullptr;
    if (!target)
        return;
    const int key = event->key();
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, ArrowScanCode(key),
                                                      quint32(VirtualKey(key)), 0, QString(), false, 1));
}

void XPButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (IsArrow(key)) {
        PassArrowKey(event);
        return;
    }
    if (key == Qt::Key_Space) {
        if (!m_pressed) {
            m_pressed = true;
            m_pressedAway = false;
            Redraw();
        }
    } else {
        emit KeyDown(VirtualKey(key), VirtualKeys::ShiftState(event->modifiers()));
    }
    const QString text = event->text();
    if (!text.isEmpty())
        emit KeyPress(text.at(0).unicode());
}

void XPButton::keyReleaseEvent(QKeyEvent* event)
{
    // Held keys repeat as press/release pairs on some platforms; only the
    // real release counts.
    if (event->isAutoRepeat())
        return;
    const int key = event->key();
    if (IsArrow(key) || key == Qt::Key_Shift)
        return;
    emit KeyUp(VirtualKey(key), VirtualKeys::ShiftState(event->modifiers()));
    if (key == Qt::Key_Space && m_pressed) {
        m_pressed = false;
        m_pressedAway = false;
        Redraw();
        emit Click();
    }
}

void XPButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    m_focused = true;
    Redraw();
}

void XPButton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    m_focused = false;
    Redraw();
}

}  // namespace quorvantell
