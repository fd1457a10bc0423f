// HotKey: the field reads key presses itself (its edit never inserts text),
// shows the combination with the platform's names, and applies the rules
// when a key completes a combination, as the classic hot-key control does.
#include "controls/HotKey.h"

#include "controls/ApplicationHotKeys.h"
#include "controls/ControlLibrary.h"
#include "controls/HotKeyError.h"
#include "controls/PropertyBag.h"
#include "controls/VirtualKeys.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

namespace quorvantell {

namespace {

constexpr int kCombinationModifiers = HotKey::HOTKEYF_SHIFTCONTROLALT;

Qt::KeyboardModifiers QtModifiers(int bits)
{
    Qt::KeyboardModifiers modifiers;
    if (bits & HotKey::HOTKEYF_SHIFT)
        modifiers |= Qt::ShiftModifier;
    if (bits & HotKey::HOTKEYF_CONTROL)
        modifiers |= Qt::ControlModifier;
    if (bits & HotKey::HOTKEYF_ALT)
        modifiers |= Qt::AltModifier;
    return modifiers;
}

int ModifierOfKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift: return HotKey::HOTKEYF_SHIFT;
    case Qt::Key_Control: return HotKey::HOTKEYF_CONTROL;
    case Qt::Key_Alt: return HotKey::HOTKEYF_ALT;
    default: return HotKey::HOTKEYF_NONE;
    }
}

// The mask bit of a combination of Shift (1), Ctrl (2) and Alt (4).
uint32_t CombinationBit(int modifiers)
{
    static constexpr uint32_t kBits[] = {HotKey::HKCOMB_NONE, HotKey::HKCOMB_S,  HotKey::HKCOMB_C,  HotKey::HKCOMB_SC,
                                         HotKey::HKCOMB_A,    HotKey::HKCOMB_SA, HotKey::HKCOMB_CA, HotKey::HKCOMB_SCA};
    return kBits[modifiers & kCombinationModifiers];
}

[[noreturn]] void Raise(int32_t number, const char* text)
{
    throw HotKeyError(number, QCoreApplication::applicationName() + QStringLiteral(".cHotKey"),
                      QString::fromLatin1(text));
}

}  // namespace

HotKey::HotKey(QWidget* parent) : QWidget(parent), m_edit(new QLineEdit(this))
{
    ControlLibrary::StartUp();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    // Only typed combinations change the text: no pasting, dropping or
    // middle-click insertion.
    m_edit->setReadOnly(true);
    m_edit->setContextMenuPolicy(Qt::NoContextMenu);
    m_edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_edit->installEventFilter(this);
    setFocusProxy(m_edit);
    setFocusPolicy(Qt::StrongFocus);
    QWidget::setFont(DefaultFont());
    ShowText(HOTKEYF_NONE);
    m_edit->setFocus();
}

QFont HotKey::DefaultFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    return font;
}

uint8_t HotKey::GetHotKey() const { return m_key; }

void HotKey::SetHotKey(uint8_t value)
{
    m_key = value;
    ShowText(m_modifiers);
}

HotKey::echkModifierKeys HotKey::HotKeyModifier() const { return echkModifierKeys(m_modifiers); }

void HotKey::SetHotKeyModifier(echkModifierKeys value)
{
    m_modifiers = value;
    ShowText(m_modifiers);
}

int32_t HotKey::HotKeyAndModifier() const { return m_key | (m_modifiers << 8); }

bool HotKey::Allowed(uint32_t bit) const { return (m_invalid & bit) == 0; }

void HotKey::SetAllowed(uint32_t bit, bool value)
{
    if (value)
        m_invalid &= ~bit;
    else
        m_invalid |= bit;
}

bool HotKey::AllowUnmodified() const { return Allowed(HKCOMB_NONE); }
void HotKey::SetAllowUnmodified(bool value) { SetAllowed(HKCOMB_NONE, value); }
bool HotKey::AllowShift() const { return Allowed(HKCOMB_S); }
void HotKey::SetAllowShift(bool value) { SetAllowed(HKCOMB_S, value); }
bool HotKey::AllowCtrl() const { return Allowed(HKCOMB_C); }
void HotKey::SetAllowCtrl(bool value) { SetAllowed(HKCOMB_C, value); }
bool HotKey::AllowAlt() const { return Allowed(HKCOMB_A); }
void HotKey::SetAllowAlt(bool value) { SetAllowed(HKCOMB_A, value); }
bool HotKey::AllowShiftCtrl() const { return Allowed(HKCOMB_SC); }
void HotKey::SetAllowShiftCtrl(bool value) { SetAllowed(HKCOMB_SC, value); }
bool HotKey::AllowShiftAlt() const { return Allowed(HKCOMB_SA); }
void HotKey::SetAllowShiftAlt(bool value) { SetAllowed(HKCOMB_SA, value); }
bool HotKey::AllowCtrlAlt() const { return Allowed(HKCOMB_CA); }
void HotKey::SetAllowCtrlAlt(bool value) { SetAllowed(HKCOMB_CA, value); }
bool HotKey::AllowShiftCtrlAlt() const { return Allowed(HKCOMB_SCA); }
void HotKey::SetAllowShiftCtrlAlt(bool value) { SetAllowed(HKCOMB_SCA, value); }

HotKey::echkModifierKeys HotKey::AlternateModifier() const { return echkModifierKeys(m_alternate); }
void HotKey::SetAlternateModifier(echkModifierKeys value) { m_alternate = value; }

bool HotKey::Enabled() const { return isEnabled(); }
void HotKey::SetEnabled(bool value) { setEnabled(value); }

QFont HotKey::Font() const { return font(); }
void HotKey::SetFont(const QFont& value) { QWidget::setFont(value); }

void HotKey::SetRules()
{
    m_rulesInvalid = m_invalid;
    m_rulesAlternate = m_alternate;
}

void HotKey::SetApplicationHotKey(QWidget* window)
{
    switch (ApplicationHotKeys::Instance().Set(window, uint16_t(HotKeyAndModifier()))) {
    case ApplicationHotKeys::Done:
        return;
    case ApplicationHotKeys::InvalidWindow:
        Raise(HotKeyError::eHotKeyInvalidWindow, "Invalid window for Hot key");
    case ApplicationHotKeys::AlreadyAssigned:
        Raise(HotKeyError::eHotKeyAlreadyAssigned, "Hot key previously assigned");
    case ApplicationHotKeys::InvalidHotKey:
        Raise(HotKeyError::eHotKeyInvalidHotKey, "Invalid Hot key");
    default:
        Raise(HotKeyError::eHotKeyUnknownError, "Failed to set Hot key");
    }
}

QString HotKey::Text() const { return m_edit->text(); }

void HotKey::ReadProperties(const PropertyBag& bag)
{
    SetHotKey(uint8_t(bag.ReadProperty(QStringLiteral("HotKey"), 0).toUInt()));
    SetHotKeyModifier(echkModifierKeys(bag.ReadProperty(QStringLiteral("HotKeyModifier"), 0).toInt()));
    m_invalid = bag.ReadProperty(QStringLiteral("ModInvalid"), 0u).toUInt();
    m_alternate = bag.ReadProperty(QStringLiteral("ModAlternate"), 0).toInt();
    SetEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
    SetFont(bag.ReadProperty(QStringLiteral("Font"), DefaultFont()).value<QFont>());
    // Stored rules are the field's rules from the start.
    SetRules();
}

void HotKey::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("HotKey"), uint(m_key), 0u);
    bag.WriteProperty(QStringLiteral("HotKeyModifier"), m_modifiers, 0);
    bag.WriteProperty(QStringLiteral("ModInvalid"), m_invalid, 0u);
    bag.WriteProperty(QStringLiteral("ModAlternate"), m_alternate, 0);
    bag.WriteProperty(QStringLiteral("Enabled"), isEnabled(), true);
    bag.WriteProperty(QStringLiteral("Font"), font(), DefaultFont());
}

bool HotKey::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_edit)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Every combination is the field's while it has the focus, not the
        // window's shortcuts'.
        event->accept();
        return true;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false;  // moves the focus on
        KeyPressed(key);
        return true;
    }
    case QEvent::KeyRelease:
        KeyReleased(static_cast<QKeyEvent*>(event));
        return true;
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

void HotKey::KeyPressed(const QKeyEvent* event)
{
    const int modifiers = VirtualKeys::ShiftState(event->modifiers());
    if (VirtualKeys::IsModifier(event->key())) {
        // A combination being held: shown, not yet chosen. X reports the
        // modifiers as they were before this press.
        m_key = 0;
        m_modifiers = HOTKEYF_NONE;
        ShowText(modifiers | ModifierOfKey(event->key()));
        return;
    }
    if (modifiers == HOTKEYF_NONE && (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)) {
        Choose(0, HOTKEYF_NONE);
        return;
    }
    const VirtualKeys::Key key = VirtualKeys::FromQt(event->key(), event->modifiers());
    if (key.code == 0)
        return;
    int chosen = (m_rulesInvalid & CombinationBit(modifiers)) ? m_rulesAlternate : modifiers;
    if (key.extended)
        chosen |= HOTKEYF_EXT;
    Choose(key.code, chosen);
}

void HotKey::KeyReleased(const QKeyEvent* event)
{
    // Modifiers let go without a key: the ones still held, or "None".
    if (m_key == 0)
        ShowText(VirtualKeys::ShiftState(event->modifiers()) & ~ModifierOfKey(event->key()));
}

void HotKey::Choose(uint8_t key, int modifiers)
{
    m_key = key;
    m_modifiers = modifiers;
    ShowText(modifiers);
    emit Change();
}

void HotKey::ShowText(int modifiers)
{
    const int qtKey = VirtualKeys::ToQt(m_key);
    if (m_key != 0 && qtKey == 0) {
        m_edit->setText(QStringLiteral("0x%1").arg(m_key, 2, 16, QLatin1Char('0')));
        return;
    }
    if (qtKey == 0 && (modifiers & kCombinationModifiers) == 0) {
        m_edit->setText(tr("None"));
        return;
    }
    const QKeySequence sequence(QKeyCombination(QtModifiers(modifiers), Qt::Key(qtKey)));
    m_edit->setText(sequence.toString(QKeySequence::NativeText));
}

}  // namespace quorvantell
