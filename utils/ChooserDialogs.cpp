// Colour and font dialogs. Qt's font dialog offers no colour, so the colour
// handed in comes back unchanged; Qt fonts have no character set, so the
// record reports the default one.
#include "utils/ChooserDialogs.h"

#include "utils/WidgetApp.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quorvantell::exports {

namespace {

constexpr int kCustomColours = 16;
constexpr uint8_t FIXED_PITCH = 1;
constexpr uint8_t VARIABLE_PITCH = 2;
constexpr int32_t FW_NORMAL = 400;

QColor FromColorRef(uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

uint32_t ToColorRef(const QColor& colour)
{
    return static_cast<uint32_t>(colour.red()) | static_cast<uint32_t>(colour.green()) << 8 |
           static_cast<uint32_t>(colour.blue()) << 16;
}

// The face name within its 32 bytes, without cutting a UTF-8 sequence.
void CopyFaceName(const QString& family, char (&face)[32])
{
    QByteArray bytes = family.toUtf8();
    qsizetype length = std::min<qsizetype>(bytes.size(), sizeof face - 1);
    if (length < bytes.size()) {
        while (length > 0 && (static_cast<uint8_t>(bytes[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memset(face, 0, sizeof face);
    std::memcpy(face, bytes.constData(), static_cast<size_t>(length));
}

QFont StartFont(const LOGFONT& record)
{
    QFont font;  // the application's default size
    const QString family = QString::fromUtf8(record.lfFaceName, static_cast<qsizetype>(strnlen(record.lfFaceName, sizeof record.lfFaceName)));
    if (!family.isEmpty())
        font.setFamily(family);
    const int32_t weight = record.lfWeight > 0 ? record.lfWeight : FW_NORMAL;
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(record.lfItalic != 0);
    font.setUnderline(record.lfUnderline != 0);
    font.setStrikeOut(record.lfStrikeOut != 0);
    return font;
}

LOGFONT RecordOf(const QFont& font, uint32_t colour)
{
    LOGFONT record;
    const long tenths = std::lround(font.pointSizeF() * 10.0);
    record.lfHeight = static_cast<int32_t>(tenths / 10);
    record.lfWidth = static_cast<int32_t>(colour);
    record.lfWeight = static_cast<int32_t>(font.weight());
    record.lfItalic = font.italic() ? 1 : 0;
    record.lfUnderline = font.underline() ? 1 : 0;
    record.lfStrikeOut = font.strikeOut() ? 1 : 0;
    record.lfCharSet = DEFAULT_CHARSET;
    record.lfPitchAndFamily = QFontInfo(font).fixedPitch() ? FIXED_PITCH : VARIABLE_PITCH;
    CopyFaceName(font.family(), record.lfFaceName);
    return record;
}

QFontDialog::FontDialogOptions FontOptions(int32_t flags)
{
    QFontDialog::FontDialogOptions options;
    if ((flags & CF_FIXEDPITCHONLY) != 0)
        options |= QFontDialog::MonospacedFonts;
    if ((flags & (CF_SCALABLEONLY | CF_TTONLY)) != 0)
        options |= QFontDialog::ScalableFonts;
    return options;
}

}  // namespace

int32_t ChooseColorDlg(void* owner, uint32_t* color, uint32_t* customColors16, int32_t flags)
{
    if (color == nullptr || !CanShowWindows())
        return 0;
    if (customColors16 != nullptr) {
        for (int i = 0; i < kCustomColours; ++i)
            QColorDialog::setCustomColor(i, FromColorRef(customColors16[i]));
    }
    QColorDialog dialog(WidgetFromHandle(owner));
    dialog.setCurrentColor((flags & CC_RGBINIT) != 0 ? FromColorRef(*color) : QColor(Qt::black));
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    *color = ToColorRef(dialog.selectedColor());
    if (customColors16 != nullptr) {
        for (int i = 0; i < kCustomColours; ++i)
            customColors16[i] = ToColorRef(QColorDialog::customColor(i));
    }
    return 1;
}

int32_t ChooseFontDlg(void* owner, LOGFONT* font, int32_t flags)
{
    if (font == nullptr || !CanShowWindows())
        return 0;
    const auto colour = static_cast<uint32_t>(font->lfWidth);
    QFontDialog dialog(StartFont(*font), WidgetFromHandle(owner));
    dialog.setOptions(FontOptions(flags | kFontForcedFlags));
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    *font = RecordOf(dialog.selectedFont(), colour);
    return 1;
}

}  // namespace quorvantell::exports
