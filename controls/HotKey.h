// HotKey: an edit field in which the user presses a key combination and sees
// it as text, with rules for which modifier combinations are allowed (an
// invalid one is replaced by AlternateModifier while typing), and a way to
// make the chosen combination the global hot key of a window.
#pragma once

#include <QFont>
#include <QWidget>

#include <cstdint>

class QLineEdit;
class QKeyEvent;

namespace quorvantell {

class PropertyBag;

class HotKey : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int HotKey READ GetHotKey WRITE SetHotKey)
    Q_PROPERTY(echkModifierKeys HotKeyModifier READ HotKeyModifier WRITE SetHotKeyModifier)
    Q_PROPERTY(int HotKeyAndModifier READ HotKeyAndModifier)
    Q_PROPERTY(bool AllowUnmodified READ AllowUnmodified WRITE SetAllowUnmodified)
    Q_PROPERTY(bool AllowShift READ AllowShift WRITE SetAllowShift)
    Q_PROPERTY(bool AllowCtrl READ AllowCtrl WRITE SetAllowCtrl)
    Q_PROPERTY(bool AllowAlt READ AllowAlt WRITE SetAllowAlt)
    Q_PROPERTY(bool AllowShiftCtrl READ AllowShiftCtrl WRITE SetAllowShiftCtrl)
    Q_PROPERTY(bool AllowShiftAlt READ AllowShiftAlt WRITE SetAllowShiftAlt)
    Q_PROPERTY(bool AllowCtrlAlt READ AllowCtrlAlt WRITE SetAllowCtrlAlt)
    Q_PROPERTY(bool AllowShiftCtrlAlt READ AllowShiftCtrlAlt WRITE SetAllowShiftCtrlAlt)
    Q_PROPERTY(echkModifierKeys AlternateModifier READ AlternateModifier WRITE SetAlternateModifier)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)

public:
    enum echkModifierKeys {
        HOTKEYF_NONE = 0,
        HOTKEYF_SHIFT = 1,
        HOTKEYF_CONTROL = 2,
        HOTKEYF_SHIFTCONTROL = 3,
        HOTKEYF_ALT = 4,
        HOTKEYF_SHIFTALT = 5,
        HOTKEYF_CONTROLALT = 6,
        HOTKEYF_SHIFTCONTROLALT = 7,
        HOTKEYF_EXT = 8,
    };
    Q_ENUM(echkModifierKeys)

    // Bits of the invalid-combination mask ("ModInvalid").
    static constexpr uint32_t HKCOMB_NONE = 1, HKCOMB_S = 2, HKCOMB_C = 4, HKCOMB_A = 8, HKCOMB_SC = 16,
                              HKCOMB_SA = 32, HKCOMB_CA = 64, HKCOMB_SCA = 128;

    explicit HotKey(QWidget* parent = nullptr);

    // The chosen key's virtual-key code (0: none). Named Get/Set because a
    // member cannot share the class's name.
    uint8_t GetHotKey() const;
    void SetHotKey(uint8_t value);
    echkModifierKeys HotKeyModifier() const;
    void SetHotKeyModifier(echkModifierKeys value);
    // Key code in the low byte, modifiers in the next.
    int32_t HotKeyAndModifier() const;

    // Each reads true while its bit of the invalid-combination mask is clear.
    bool AllowUnmodified() const;
    void SetAllowUnmodified(bool value);
    bool AllowShift() const;
    void SetAllowShift(bool value);
    bool AllowCtrl() const;
    void SetAllowCtrl(bool value);
    bool AllowAlt() const;
    void SetAllowAlt(bool value);
    bool AllowShiftCtrl() const;
    void SetAllowShiftCtrl(bool value);
    bool AllowShiftAlt() const;
    void SetAllowShiftAlt(bool value);
    bool AllowCtrlAlt() const;
    void SetAllowCtrlAlt(bool value);
    bool AllowShiftCtrlAlt() const;
    void SetAllowShiftCtrlAlt(bool value);
    echkModifierKeys AlternateModifier() const;
    void SetAlternateModifier(echkModifierKeys value);
    bool Enabled() const;
    void SetEnabled(bool value);
    QFont Font() const;
    void SetFont(const QFont& value);

    // Makes the mask and the alternate modifier the rules of the field.
    void SetRules();
    // Makes HotKeyAndModifier the global hot key that brings window to the
    // front (a key of 0 removes the window's hot key). Throws HotKeyError
    // when the window, the key or the platform cannot take it.
    void SetApplicationHotKey(QWidget* window);

    // The text the field shows.
    QString Text() const;

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    static QFont DefaultFont();

signals:
    // The user chose a combination or cleared the field.
    void Change();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Allowed(uint32_t bit) const;
    void SetAllowed(uint32_t bit, bool value);
    void KeyPressed(const QKeyEvent* event);
    void KeyReleased(const QKeyEvent* event);
    void Choose(uint8_t key, int modifiers);
    void ShowText(int modifiers);

    QLineEdit* m_edit;
    uint8_t m_key = 0;
    int m_modifiers = HOTKEYF_NONE;
    uint32_t m_invalid = 0;             // "ModInvalid"
    int m_alternate = HOTKEYF_NONE;     // "ModAlternate"
    uint32_t m_rulesInvalid = 0;        // the rules in force since SetRules
    int m_rulesAlternate = HOTKEYF_NONE;
};

}  // namespace quorvantell
