// frmOptions: settings to controls and back, the checks of the number boxes,
// the controls that enable others, the colour, font and file choosers, and
// the script-file association.
#include "app/windows/frmOptions.h"

#include "app/engine/CSync.h"
#include "app/shell/ScriptAssociation.h"
#include "app/shell/frmMain.h"
#include "app/views/HotTrackDelegate.h"
#include "app/views/UiText.h"
#include "app/windows/frmDetails.h"
#include "app/windows/frmLog.h"
#include "app/windows/frmOptionsControls.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/CRegistry.h"
#include "classlib/general/ClassLibrary.h"
#include "classlib/misc/CComDialogs.h"
#include "controls/OleColor.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QSpinBox>
#include <QTreeWidget>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace velloran {

namespace {

// The ranges of the validated boxes txt(0), txt(1) and txt(2).
struct BoxRange {
    int32_t min;
    int32_t max;
};
constexpr BoxRange kBoxRanges[] = {{0, 45}, {1, 30}, {2, 31'536'000}};
constexpr int32_t kFontSizeScale = 10'000;

quorvantell::SharedInstances& Library()
{
    return quorvantell::ClassLibrary::Shared();
}

// A box's text as a number. Text that is no number counts as an empty box,
// 0; a number too long for 64 bits is the nearest end of the range.
int64_t BoxNumber(const QLineEdit* box)
{
    const QString text = box->text().trimmed();
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (ok)
        return value;
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
    if (!digits.match(text).hasMatch())
        return 0;
    return text.startsWith('-') ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
}

bool Checked(const QCheckBox* box)
{
    return box->checkState() == Qt::Checked;
}

void HolderFromSettings(quorvantell::CFont& holder, const std::string& name, int64_t size, int32_t weight,
                        bool italic)
{
    holder.Italic = italic ? 1 : 0;
    holder.Size = static_cast<int32_t>(size / kFontSizeScale);
    holder.Weight = weight;
    holder.Name = name;
}

}  // namespace

void frmOptions::ConnectControls()
{
    Controls& c = *m_controls;
    connect(c.cmd[0], &QPushButton::clicked, this, [this] {
        ApplyOptions();
        accept();
    });
    connect(c.cmd[1], &QPushButton::clicked, this, &QDialog::reject);
    connect(c.cmd[2], &QPushButton::clicked, this, &frmOptions::ApplyOptions);
    connect(c.cmd[3], &QPushButton::clicked, this, [this] { SelectSwatchColor(0, 3); });
    connect(c.cmd[4], &QPushButton::clicked, this, [this] { SelectSwatchColor(1, 4); });
    connect(c.cmd[6], &QPushButton::clicked, this, [this] { SelectSwatchColor(3, 6); });
    connect(c.cmd[5], &QPushButton::clicked, this, [this] { ChooseFont(0, 5); });
    connect(c.cmd[8], &QPushButton::clicked, this, [this] { ChooseFont(1, 8); });
    connect(c.cmd[7], &QPushButton::clicked, this, &frmOptions::BrowseLogFile);
    connect(c.chk[0], &QCheckBox::clicked, this, &frmOptions::ShowInTrayClicked);
    connect(c.chk[2], &QCheckBox::clicked, this, &frmOptions::UseEasyMoveClicked);
    connect(c.chk[3], &QCheckBox::clicked, this, &frmOptions::SnapToEdgesClicked);
    connect(c.chk[7], &QCheckBox::clicked, this, [this] { SetChanged(m_controls->chk[7], true); });
    // A node chosen with the keys shows its page as a click does.
    connect(c.tvwOptions, &QTreeWidget::currentItemChanged, this, &frmOptions::NodeClick);
    c.tvwOptions->viewport()->installEventFilter(this);
    for (QLineEdit* box : c.txt)
        box->installEventFilter(this);
}

void frmOptions::ReadOptions()
{
    Controls& c = *m_controls;
    const OptionsRecord& o = m_sync.Options;
    c.chk[0]->setChecked(o.ShowInTray);
    c.chk[1]->setChecked(o.HideFromTaskbar);
    SetFill(0, o.BackgroundColor);
    SetFill(1, o.TextColor);
    SetFill(3, o.HotColor);
    HolderFromSettings(c.font[0], m_sync.ConsoleFont, o.ConsoleFontSize, o.ConsoleFontWeight, o.ConsoleFontItalic);
    HolderFromSettings(c.font[1], m_sync.OthFont, o.OthFontSize, o.OthFontWeight, o.OthFontItalic);
    if (o.ErrorAction >= 0 && o.ErrorAction < 3)
        c.opt[o.ErrorAction]->setChecked(true);
    c.txt[3]->setText(Text(m_sync.OLogFile));
    c.chk[6]->setChecked(o.ShowOneSidedDetails);
    c.txt[4]->setText(QString::number(o.LeftTimeOffset));
    c.chk[2]->setChecked(o.UseEasyMove);
    c.chk[3]->setChecked(o.SnapToEdges);
    c.txt[0]->setText(QString::number(o.SnapDistance));
    c.chk[4]->setChecked(o.OnTop);
    c.chk[9]->setChecked(o.FilterDotFiles);
    c.txt[2]->setText(QString::number(o.FTPTolerance));
    c.chk[8]->setChecked(o.IgnoreNewerOnServer);
    c.spnConnections->setValue(m_sync.FTPConnections);
    c.chk[7]->setChecked(o.AssociateScripts);
    c.sld[0]->setValue(o.ProcessPriority);
    c.sld[1]->setValue(o.ThreadPriority);
    c.txt[1]->setText(QString::number(o.RecentCount));
    c.chk[5]->setChecked(o.SaveOnExit);
    ShowInTrayClicked();
    UseEasyMoveClicked();
    for (QWidget* flagged : {static_cast<QWidget*>(c.chk[7]), static_cast<QWidget*>(c.cmd[3]),
                             static_cast<QWidget*>(c.cmd[4]), static_cast<QWidget*>(c.cmd[5]),
                             static_cast<QWidget*>(c.cmd[6]), static_cast<QWidget*>(c.cmd[8])})
        SetChanged(flagged, false);
}

void frmOptions::ApplyOptions()
{
    Controls& c = *m_controls;
    // "OK" taken with Enter leaves the focus in its box, unchecked.
    for (int box = 0; box < 3; ++box)
        Validate(box);
    OptionsRecord& o = m_sync.Options;
    o.ShowInTray = Checked(c.chk[0]);
    m_sync.SetTrayIcon();
    o.HideFromTaskbar = Checked(c.chk[1]);
    ApplyColorsAndFonts();
    ApplyBehaviour();
    UpdateAssociation();
}

// The main window, the details and error log windows when open, and this dialog.
template <typename Check>
void frmOptions::EachOpenWindow(const Check& check)
{
    check(m_owner);
    if (frmDetails* details = frmDetails::Instance())
        check(*details);
    if (frmLog* log = frmLog::Instance())
        check(*log);
    check(*this);
}

// Colours and fonts reach every open window at once.
void frmOptions::ApplyColorsAndFonts()
{
    Controls& c = *m_controls;
    OptionsRecord& o = m_sync.Options;
    if (Changed(c.cmd[3]) || Changed(c.cmd[4])) {
        o.BackgroundColor = c.fill[0];
        o.TextColor = c.fill[1];
        EachOpenWindow([](auto& window) { window.CheckColors(); });
    }
    if (Changed(c.cmd[6])) {
        o.HotColor = c.fill[3];
        int32_t red = 0, green = 0, blue = 0;
        Library().General->toRGB(o.HotColor, red, green, blue);
        Library().Registry->SetKeyStr(quorvantell::eRegBaseKey::HKCU, "Control Panel\\Colors", "HotTrackingColor",
                                      std::to_string(red) + " " + std::to_string(green) + " " + std::to_string(blue));
        HotTrackDelegate::Reload();
    }
    if (Changed(c.cmd[5]))
        ApplyFont(0);
    if (Changed(c.cmd[8]))
        ApplyFont(1);
    if (Changed(c.cmd[5]) || Changed(c.cmd[8]))
        EachOpenWindow([](auto& window) { window.CheckFonts(); });
}

void frmOptions::ApplyFont(int holder)
{
    const quorvantell::CFont& font = m_controls->font[holder];
    OptionsRecord& o = m_sync.Options;
    const bool lists = holder == 0;
    (lists ? o.ConsoleFontCharset : o.OthFontCharset) = font.Charset;
    (lists ? o.ConsoleFontItalic : o.OthFontItalic) = font.Italic != 0;
    (lists ? o.ConsoleFontSize : o.OthFontSize) = static_cast<int64_t>(font.Size) * kFontSizeScale;
    (lists ? o.ConsoleFontWeight : o.OthFontWeight) = font.Weight;
    (lists ? m_sync.ConsoleFont : m_sync.OthFont) = font.Name;
}

void frmOptions::ApplyBehaviour()
{
    Controls& c = *m_controls;
    OptionsRecord& o = m_sync.Options;
    for (int i = 0; i < 3; ++i) {
        if (c.opt[i]->isChecked())
            o.ErrorAction = i;
    }
    m_sync.OLogFile = Bytes(c.txt[3]->text());
    o.ShowOneSidedDetails = Checked(c.chk[6]);
    // The offset is 16 bits wide; a longer number is held at its end.
    o.LeftTimeOffset = static_cast<int16_t>(std::clamp<int64_t>(BoxNumber(c.txt[4]), INT16_MIN, INT16_MAX));
    o.UseEasyMove = Checked(c.chk[2]);
    o.SnapToEdges = Checked(c.chk[3]);
    o.SnapDistance = static_cast<int32_t>(BoxNumber(c.txt[0]));
    CFormUtils::SetUseEasyMove(o.UseEasyMove);
    CFormUtils::SetSnapToEdges(o.SnapToEdges);
    CFormUtils::SetSnapDistance(o.SnapDistance);
    o.OnTop = Checked(c.chk[4]);
    m_sync.CheckWindowsOnTop();
    o.FilterDotFiles = Checked(c.chk[9]);
    o.FTPTolerance = static_cast<int32_t>(BoxNumber(c.txt[2]));
    o.IgnoreNewerOnServer = Checked(c.chk[8]);
    m_sync.FTPConnections = c.spnConnections->value();
    o.AssociateScripts = Checked(c.chk[7]);
    o.ProcessPriority = static_cast<int16_t>(c.sld[0]->value());
    o.ThreadPriority = static_cast<int16_t>(c.sld[1]->value());
    m_sync.SetPriority();
    o.RecentCount = static_cast<int32_t>(BoxNumber(c.txt[1]));
    m_owner.recentFiles.MaxRecent = o.RecentCount;
    o.SaveOnExit = Checked(c.chk[5]);
}

void frmOptions::Validate(int box)
{
    const BoxRange range = kBoxRanges[box];
    QLineEdit* field = m_controls->txt[box];
    const auto value = static_cast<int32_t>(
        Library().General->MinMax(static_cast<double>(BoxNumber(field)), range.min, range.max));
    field->setText(QString::number(value));
}

void frmOptions::ShowInTrayClicked()
{
    m_controls->chk[1]->setEnabled(Checked(m_controls->chk[0]));
}

void frmOptions::UseEasyMoveClicked()
{
    Controls& c = *m_controls;
    if (Checked(c.chk[2])) {
        c.chk[3]->setEnabled(true);
        SnapToEdgesClicked();
        return;
    }
    for (QWidget* control : {static_cast<QWidget*>(c.chk[3]), static_cast<QWidget*>(c.txt[0]),
                             static_cast<QWidget*>(c.lbl[5]), static_cast<QWidget*>(c.lbl[3])})
        control->setEnabled(false);
}

void frmOptions::SnapToEdgesClicked()
{
    Controls& c = *m_controls;
    const bool snap = Checked(c.chk[3]);
    for (QWidget* control : {static_cast<QWidget*>(c.txt[0]), static_cast<QWidget*>(c.lbl[5]),
                             static_cast<QWidget*>(c.lbl[3])})
        control->setEnabled(snap);
}

void frmOptions::SelectSwatchColor(int swatch, int button)
{
    OptionsRecord& o = m_sync.Options;
    uint32_t colour = m_controls->fill[swatch];
    std::vector<uint8_t> custom(sizeof o.CustomColors);
    std::memcpy(custom.data(), o.CustomColors.data(), custom.size());
    constexpr int32_t kFullOpenWithColour = quorvantell::CC_RGBINIT | quorvantell::CC_FULLOPEN;
    if (!Library().ComDialogs->GetColor(this, colour, custom, kFullOpenWithColour))
        return;
    std::memcpy(o.CustomColors.data(), custom.data(), std::min(custom.size(), sizeof o.CustomColors));
    SetFill(swatch, colour);
    SetChanged(m_controls->cmd[button], true);
}

void frmOptions::ChooseFont(int holder, int button)
{
    if (Library().ComDialogs->GetFont(this, m_controls->font[holder], 0))
        SetChanged(m_controls->cmd[button], true);
}

void frmOptions::BrowseLogFile()
{
    quorvantell::OFNINFO chosen;
    if (!Library().ComDialogs->SaveFile(this, "", m_sync.lastLogDir, frmLog::LogFileFilter(), 0, "*.log",
                                        "Choose where the log file will be saved", chosen) ||
        chosen.FileName.empty())
        return;
    m_sync.lastLogDir = chosen.PathName;
    m_controls->txt[3]->setText(Text(chosen.PathName + chosen.FileName.front()));
}

void frmOptions::UpdateAssociation()
{
    const ScriptAssociation association(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
    association.WriteScriptClass();
    if (!Changed(m_controls->chk[7]))
        return;
    if (m_sync.Options.AssociateScripts)
        association.Associate();
    else
        association.Dissociate();
}

void frmOptions::SetFill(int swatch, uint32_t colour)
{
    Controls& c = *m_controls;
    c.fill[swatch] = colour;
    QPalette palette = c.shp[swatch]->palette();
    palette.setColor(QPalette::Window, quorvantell::OleColor::ToQColor(colour));
    c.shp[swatch]->setPalette(palette);
}

void frmOptions::SetChanged(QWidget* control, bool changed)
{
    control->setProperty("Tag", changed ? QStringLiteral("True") : QStringLiteral("False"));
}

bool frmOptions::Changed(const QWidget* control) const
{
    return control->property("Tag").toString() == QStringLiteral("True");
}

}  // namespace velloran
