// frmSync: filling the dialog for one details row, the direction cycle, the
// sync itself and the layout in twips.
#include "app/shell/frmSync.h"

#include "app/engine/CSync.h"
#include "app/engine/Printable.h"
#include "app/shell/MGeneral.h"
#include "app/shell/SyncPictures.h"
#include "app/views/CListView.h"
#include "app/views/ListImages.h"
#include "app/views/UiText.h"
#include "app/windows/frmDetails.h"
#include "classlib/files/CFile.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"
#include "classlib/misc/CWaitCursor.h"
#include "controls/MinMaxSize.h"
#include "controls/Twips.h"
#include "controls/XPButton.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPointer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <map>

namespace velloran {

namespace {

using quorvantell::Twips;
using quorvantell::XPButton;

// The fixed client width and the smallest client height, in twips.
constexpr int32_t kWidth = 9480, kMinHeight = 1695;
// The row's controls (left edges and widths) and the buttons, in twips.
constexpr int32_t kTop = 140, kIconLeft = 120, kIconSize = 240;
constexpr int32_t kNameLeft = 420, kNameWidth = 2700;
constexpr int32_t kLeftLeft = 3240, kSideWidth = 2640;
constexpr int32_t kDirLeft = 5970, kDirWidth = 660, kDirHeight = 495;
constexpr int32_t kRightLeft = 6720;
constexpr int32_t kButtonWidth = 1215, kButtonHeight = 375;

const char* const kCodes[] = {">", "<", ">+", "+<", "-<", ">-", "S"};

QPointer<frmSync> g_instance;

const quorvantell::CFile& File()
{
    return *quorvantell::ClassLibrary::Shared().File;
}

quorvantell::CGeneral& General()
{
    return *quorvantell::ClassLibrary::Shared().General;
}

// The first code a pair's verdict offers, and the cycle of each verdict.
std::string InitialCode(int32_t syncWay)
{
    switch (syncWay) {
    case 1:
        return ">+";
    case 2:
    case 5:
        return ">";
    case 3:
        return "<";
    case 4:
        return "+<";
    default:
        return "S";
    }
}

std::string NextCode(int32_t syncWay, const std::string& code)
{
    static const std::map<int32_t, std::vector<std::string>> cycles = {
        {1, {">+", "-<", "S"}}, {2, {">", "<", "S"}}, {3, {"<", ">", "S"}},
        {4, {"+<", ">-", "S"}}, {5, {">", "<", "S"}},
    };
    const auto cycle = cycles.find(syncWay);
    if (cycle == cycles.end())
        return code;
    const std::vector<std::string>& codes = cycle->second;
    const auto at = std::find(codes.begin(), codes.end(), code);
    return at == codes.end() || at + 1 == codes.end() ? codes.front() : *(at + 1);
}

int32_t TwipsY(int pixels, const QWidget* w)
{
    return static_cast<int32_t>(std::lround(Twips::FromPixelsY(pixels, w)));
}

}  // namespace

frmSync::frmSync(frmDetails& details)
    : QDialog(&details), m_details(details), m_sync(details.Sync()), imgLst(std::make_unique<ListImages>())
{
    setWindowTitle(QStringLiteral("Sync files"));
    CreateControls();
    Load();
    g_instance = this;
}

frmSync::~frmSync()
{
    formUtils.SaveWindowSettings(false);
    formUtils.Terminate();
}

frmSync* frmSync::Instance()
{
    return g_instance;
}

void frmSync::CreateControls()
{
    m_picRow = new QWidget(this);
    m_cmdSyncDir = new XPButton(m_picRow);
    m_cmdSyncDir->setToolTip(QStringLiteral("Click to change sync mode"));
    m_cmdSyncDir->SetPictureSize(XPButton::lv_16x16);
    m_cmdSyncDir->SetPictureAlign(XPButton::lv_TopCenter);
    m_imgFile = new QLabel(m_picRow);
    m_lblFileName = new QLabel(m_picRow);
    m_lblLeft = new QLabel(m_picRow);
    m_lblRight = new QLabel(m_picRow);
    for (QLabel* label : {m_lblFileName, m_lblLeft, m_lblRight})
        label->setTextFormat(Qt::PlainText);
    const char* const captions[] = {"S&ync", "S&kip"};
    for (int i = 0; i < 2; ++i) {
        m_cmd[i] = new XPButton(this);
        m_cmd[i]->SetCaption(QString::fromUtf8(captions[i]));
    }
    m_minMax = new quorvantell::MinMaxSize(this);
    connect(m_cmdSyncDir, &XPButton::Click, this, &frmSync::CycleSyncMode);
    connect(m_cmd[0], &XPButton::Click, this, &frmSync::SyncClicked);
    connect(m_cmd[1], &XPButton::Click, this, &QDialog::accept);
}

void frmSync::Load()
{
    quorvantell::CWaitCursor wait;
    formUtils.Init(this);
    formUtils.ZOnTop(m_sync.Options.OnTop);
    formUtils.ReadWindowSettings("Sync", 0, 0, kWidth, kMinHeight);
    m_minMax->SetMinMaxSize(kWidth, kMinHeight, kWidth, 0);
    m_minMax->SubClass();
    // The pictures are drawn with transparent backgrounds, so they sit on
    // any window colour as they are.
    for (const char* code : kCodes)
        imgLst->Add(code, SyncPictures::Direction(code, devicePixelRatioF()));
    CheckFonts();
}

void frmSync::CheckFonts()
{
    if (const std::optional<QFont> font = MGeneral::OtherFont(m_sync)) {
        setFont(*font);
        for (QLabel* label : {m_lblFileName, m_lblLeft, m_lblRight})
            label->setFont(*font);
        m_lastHeight = -1;
        ApplyClientSize();
    }
}

// ---- Filling --------------------------------------------------------------

void frmSync::FillForm(int32_t list, int32_t item)
{
    Fill(list, item, false);
}

void frmSync::FillFormFTP(int32_t list, int32_t item)
{
    Fill(list, item, true);
}

void frmSync::Fill(int32_t list, int32_t item, bool ftp)
{
    m_list = list;
    m_item = item;
    m_ftp = ftp;
    CListView& rows = m_details.lvw(list);
    const std::string key = rows.KeyOfIndex(item);
    m_idx = std::stoi(key.substr(1));
    const CVell vell = Record();
    const int32_t way = vell.syncWay();
    // A pair on both sides has a name on each; a one-sided one only there.
    const bool both = way != 1 && way != 4;
    const std::string name = vell.File(way == 4 ? 1 : 0);
    const std::string rel[2] = {both ? vell.File(0) : name, both ? vell.File(1) : name};
    m_folder[0] = File().PathOnly(m_details.FolderCaption(0) + rel[0]);
    m_folder[1] = ftp ? CFTP::PathOnly(m_details.FolderCaption(1) + CFTP::SlashToUnix(rel[1]))
                      : File().PathOnly(m_details.FolderCaption(1) + rel[1]);
    m_name = File().FileNameFromPath(name);

    m_lblFileName->setText(MGeneral::FitTextToWidth(kNameWidth, this, m_name, MGeneral::Ellipsis::End));
    m_lblFileName->setToolTip(Text(m_name));
    FillSide(m_lblLeft, 0, way != 4);
    FillSide(m_lblRight, 1, way != 1);
    SetDirection(InitialCode(way));

    const std::string icon = rows.Icon(item);
    m_imgFile->setPixmap(icon.empty() ? QPixmap() : m_details.Images().Picture(icon));
    m_hasErr = false;
    m_lastHeight = -1;
    ApplyClientSize();
}

void frmSync::FillSide(QLabel* label, int32_t side, bool exists)
{
    const CVell vell = Record();
    QString text = MGeneral::FitTextToWidth(kSideWidth, this, m_folder[side], MGeneral::Ellipsis::Path);
    if (exists) {
        text += QStringLiteral("\n") + Text(General().ConvertBytes(static_cast<double>(vell.Size(side)))) +
                QStringLiteral("\n") + Text(vell.ConvertedDate(side).ToString());
    } else {
        text += QStringLiteral("\nDoesn't exist");
    }
    label->setText(text);
    label->setToolTip(Text(m_folder[side]));
}

std::string frmSync::Direction() const
{
    return m_cmdSyncDir->Tag().toStdString();
}

void frmSync::SetDirection(const std::string& code)
{
    m_cmdSyncDir->SetTag(QString::fromStdString(code));
    m_cmdSyncDir->SetPicture(imgLst->Picture(code));
}

void frmSync::CycleSyncMode()
{
    SetDirection(NextCode(Record().syncWay(), Direction()));
}

// ---- Sync -----------------------------------------------------------------

void frmSync::SyncClicked()
{
    const std::string code = Direction();
    bool done = true;
    if (code == "<" || code == "+<")
        done = CopyRightToLeft();
    else if (code == ">" || code == ">+")
        done = CopyLeftToRight();
    else if (code == "-<")
        done = DeleteSide(0);
    else if (code == ">-")
        done = DeleteSide(1);
    if (done && (code == ">+" || code == "+<")) {
        // The rows no longer stand for a one-sided file.
        for (int i = 0; i < 2; ++i)
            m_details.lvw(i).RemoveState(Key());
    }
    accept();
}

bool frmSync::CopyRightToLeft()
{
    const std::string local = m_folder[0] + m_name;
    errno = 0;
    if (!File().CreateFullPath(m_folder[0]) && !m_ftp) {
        ReportFailure("Error creating folder " + m_folder[0], errno);
        return false;
    }
    if (m_ftp) {
        if (!m_sync.m_FTP.GetFile(CFTP::StripDomain(m_folder[1]) + m_name, local)) {
            m_hasErr = true;
            return false;
        }
        File().SetTime(local, Record().FileDate(1));
    } else {
        bool cancel = false;
        errno = 0;
        if (!File().Copy(m_folder[1] + m_name, local, cancel)) {
            ReportFailure("Error writing file " + local, errno);
            return false;
        }
    }
    MarkSynced(1);
    return true;
}

bool frmSync::CopyLeftToRight()
{
    const std::string local = m_folder[0] + m_name;
    if (m_ftp) {
        // No server folder is made first: a missing one fails the upload.
        const std::string remote = CFTP::StripDomain(m_folder[1]) + m_name;
        if (!m_sync.m_FTP.PutFile(local, remote)) {
            m_hasErr = true;
            return false;
        }
        m_sync.m_FTP.SetTime(remote, Record().FileDate(0));
    } else {
        errno = 0;
        if (!File().CreateFullPath(m_folder[1])) {
            ReportFailure("Error creating folder " + m_folder[1], errno);
            return false;
        }
        bool cancel = false;
        errno = 0;
        if (!File().Copy(local, m_folder[1] + m_name, cancel)) {
            ReportFailure("Error writing file " + m_folder[1] + m_name, errno);
            return false;
        }
    }
    MarkSynced(0);
    return true;
}

bool frmSync::DeleteSide(int32_t side)
{
    const std::string path = m_folder[side] + m_name;
    if (side == 1 && m_ftp) {
        if (!m_sync.m_FTP.Delete(CFTP::StripDomain(m_folder[1]) + m_name)) {
            m_hasErr = true;
            return false;
        }
    } else {
        errno = 0;
        if (!File().Delete(path)) {
            ReportFailure("Error deleting file " + path, errno);
            return false;
        }
    }
    for (int i = 0; i < 2; ++i)
        m_details.lvw(i).RemoveItem(Key());
    return true;
}

void frmSync::MarkSynced(int32_t source)
{
    Record().Sync(source);
    const std::string key = Key();
    CListView& from = m_details.lvw(source);
    CListView& to = m_details.lvw(1 - source);
    for (CListView* rows : {&from, &to})
        rows->SetStateImage(key, 0);
    if (from.IndexOfKey(key) == 0 || to.IndexOfKey(key) == 0)
        return;
    to.SetItem(key, {from.Item(key, 1), from.Item(key, 2), from.Item(key, 3)});
    for (int32_t column = 2; column <= 3; ++column) {
        if (const std::optional<int64_t> value = from.SortValue(key, column))
            to.SetSortValue(key, column, *value);
    }
}

CVell frmSync::Record() const
{
    return m_sync.m_arrFile.vell(m_idx);
}

void frmSync::ReportFailure(const std::string& what, int error)
{
    std::string text = Printable(what);
    if (error != 0)
        text += ": " + std::string(std::strerror(error));
    General().MessageBox(this, text, "Sync files", quorvantell::MB_OK | quorvantell::MB_ICONERROR);
}

// ---- Window ---------------------------------------------------------------

void frmSync::closeEvent(QCloseEvent* event)
{
    // The close box is refused; closing with the owner is not.
    if (event->spontaneous())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void frmSync::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    formUtils.TakeNormalGeometry();
}

void frmSync::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    formUtils.TakeNormalGeometry();
    ApplyClientSize();
}

void frmSync::ApplyClientSize()
{
    const auto place = [this](QWidget* w, int32_t left, int32_t top, int32_t width, int32_t height) {
        w->setGeometry(Twips::ToPixelsX(left, this), Twips::ToPixelsY(top, this), Twips::ToPixelsX(width, this),
                       Twips::ToPixelsY(height, this));
    };
    const int32_t lineHeight = TwipsY(m_lblLeft->fontMetrics().lineSpacing(), this);
    const int32_t sideHeight = 3 * lineHeight + 30;
    const int32_t rowHeight = sideHeight + 280;
    place(m_picRow, 0, 0, kWidth, rowHeight);
    place(m_imgFile, kIconLeft, kTop, kIconSize, kIconSize);
    place(m_lblFileName, kNameLeft, kTop, kNameWidth, lineHeight + 30);
    place(m_lblLeft, kLeftLeft, kTop, kSideWidth, sideHeight);
    place(m_cmdSyncDir, kDirLeft, kTop, kDirWidth, kDirHeight);
    place(m_lblRight, kRightLeft, kTop, kSideWidth, sideHeight);
    m_minMax->SetMinMaxSize(kWidth, std::max(kMinHeight, rowHeight + 720), kWidth, 0);
    const int32_t H = TwipsY(height(), this);
    if (H != m_lastHeight) {
        const int32_t left = kWidth / 2 - 1275;
        place(m_cmd[0], left, H - 495, kButtonWidth, kButtonHeight);
        place(m_cmd[1], left + 1335, H - 495, kButtonWidth, kButtonHeight);
        m_lastHeight = H;
    }
}

}  // namespace velloran
