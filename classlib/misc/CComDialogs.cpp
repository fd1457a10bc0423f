// CComDialogs: buffers prepared and parsed here, dialogs shown by the native
// utility library. A missing library is a failed dialog.
#include "classlib/misc/CComDialogs.h"

#include "classlib/files/CFile.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"
#include "classlib/misc/AppPrinter.h"
#include "classlib/misc/CFont.h"
#include "utils/UtilsImport.h"

#include <QGuiApplication>
#include <QString>

#include <algorithm>
#include <cstring>

namespace quorvantell {

namespace {

constexpr int32_t kFolderBufferSize = 4096;  // PATH_MAX
constexpr size_t kCustomColourBytes = 64;
const std::string kNul(1, '\0');

std::string CutAtNul(const char* text, size_t size)
{
    return std::string(text, strnlen(text, size));
}

// At most 31 bytes, never ending inside a UTF-8 sequence.
void CopyFaceName(const std::string& name, char (&face)[32])
{
    size_t length = std::min(name.size(), sizeof face - 1);
    while (length > 0 && length < name.size() && (static_cast<uint8_t>(name[length]) & 0xC0) == 0x80)
        --length;
    std::memset(face, 0, sizeof face);
    std::memcpy(face, name.data(), length);
}

// Device names are compared in upper case as far as the settings block can
// hold them.
std::string DeviceKey(const std::string& name)
{
    return QString::fromStdString(name.substr(0, sizeof(DEVMODE::dmDeviceName) - 1)).toUpper().toStdString();
}

void SelectChosenPrinter(const DEVMODE& chosen)
{
    const std::string chosenKey = DeviceKey(CutAtNul(chosen.dmDeviceName, sizeof chosen.dmDeviceName));
    for (const std::string& name : AppPrinter::Available()) {
        if (DeviceKey(name) == chosenKey) {
            AppPrinter::Current().Select(name);
            break;
        }
    }
    AppPrinter::Current().SetSettings(chosen);
}

std::string MessageCaption()
{
    return QGuiApplication::applicationDisplayName().toStdString();
}

}  // namespace

std::string CComDialogs::filterAllFiles() const
{
    return std::string("All Files") + kNul + "*.*" + kNul + kNul;
}

bool CComDialogs::BrowseFolder(QWidget* hWnd, const std::string& Caption, const std::string& initPath, int32_t flags,
                               std::string& retVal) const
{
    std::string start = initPath;
    if (start.size() > 1 && start.back() == '/')  // the root keeps its only "/"
        start.pop_back();
    std::vector<char> path(kFolderBufferSize, '\0');
    try {
        if (utils::BrowseForFolder(hWnd, Caption.c_str(), start.c_str(), flags, path.data(), kFolderBufferSize) == 0)
            return false;
    } catch (const UtilsMissing&) {
        return false;
    }
    retVal = ClassLibrary::Shared().File->AddSlash(CutAtNul(path.data(), path.size()));
    return true;
}

bool CComDialogs::GetColor(QWidget* hWnd, uint32_t& initColor, std::vector<uint8_t>& CustColor, int32_t flags) const
{
    uint32_t colour = initColor;
    uint32_t custom[16] = {};
    std::memcpy(custom, CustColor.data(), std::min(CustColor.size(), kCustomColourBytes));
    try {
        if (utils::ChooseColorDlg(hWnd, &colour, custom, flags) == 0)
            return false;
    } catch (const UtilsMissing&) {
        return false;
    }
    initColor = colour;
    CustColor.assign(kCustomColourBytes, 0);
    std::memcpy(CustColor.data(), custom, kCustomColourBytes);
    return true;
}

bool CComDialogs::GetFont(QWidget* hWnd, CFont& f, int32_t flags) const
{
    LOGFONT record;
    CopyFaceName(f.Name, record.lfFaceName);
    record.lfWeight = f.Weight;
    record.lfItalic = f.Italic;
    record.lfUnderline = f.Underline;
    record.lfStrikeOut = f.Strikethrough;
    record.lfWidth = static_cast<int32_t>(f.Color);
    try {
        if (utils::ChooseFontDlg(hWnd, &record, flags) == 0)
            return false;
    } catch (const UtilsMissing&) {
        return false;
    }
    f.Charset = record.lfCharSet;
    f.Italic = record.lfItalic;
    f.Name = CutAtNul(record.lfFaceName, sizeof record.lfFaceName);
    f.Strikethrough = record.lfStrikeOut;
    f.Underline = record.lfUnderline;
    f.Weight = record.lfWeight;
    f.Size = record.lfHeight;
    f.Color = static_cast<uint32_t>(record.lfWidth);
    return true;
}

bool CComDialogs::GetPrint(QWidget* hWnd, int32_t& flags) const
{
    if (AppPrinter::Available().empty()) {
        ClassLibrary::Shared().General->MessageBox(hWnd, "No printers are set up on your system", MessageCaption(),
                                                   MB_OK | MB_ICONWARNING);
        return false;
    }
    const AppPrinter& printer = AppPrinter::Current();
    const std::vector<char> names = printer.DeviceNames();
    DEVMODE settings = printer.Settings();
    int32_t finalFlags = flags;
    try {
        if (utils::PrintSetupDlg(hWnd, &finalFlags, names.data(), static_cast<int32_t>(names.size()), &settings) == 0)
            return false;
    } catch (const UtilsMissing&) {
        return false;
    }
    SelectChosenPrinter(settings);
    flags = finalFlags;
    return true;
}

bool CComDialogs::OpenFile(QWidget* hWnd, const std::string& FileName, const std::string& dirName,
                           const std::string& Filter, int32_t flags, const std::string& defExt,
                           const std::string& Caption, OFNINFO& retVal) const
{
    return FileDialog(false, hWnd, FileName, dirName, Filter, flags, defExt, Caption, retVal);
}

bool CComDialogs::SaveFile(QWidget* hWnd, const std::string& FileName, const std::string& dirName,
                           const std::string& Filter, int32_t flags, const std::string& defExt,
                           const std::string& Caption, OFNINFO& retVal) const
{
    return FileDialog(true, hWnd, FileName, dirName, Filter, flags, defExt, Caption, retVal);
}

// The export returns the offset n of the first name: the folder is the text
// before it, the names follow as a NUL-separated list ended by a double NUL
// (a single full path is the one-name case of the same form).
bool CComDialogs::FileDialog(bool save, QWidget* hWnd, const std::string& FileName, const std::string& dirName,
                             const std::string& Filter, int32_t flags, const std::string& defExt,
                             const std::string& Caption, OFNINFO& retVal) const
{
    if (FileName.size() >= static_cast<size_t>(kOpenFileBufferSize))
        return false;
    std::string buffer(static_cast<size_t>(kOpenFileBufferSize), '\0');
    std::memcpy(buffer.data(), FileName.data(), FileName.size());
    int32_t filterIndex = 1;
    int32_t offset = 0;
    try {
        const auto dialog = save ? utils::SaveFileDlg : utils::OpenFileDlg;
        offset = dialog(hWnd, buffer.data(), dirName.c_str(), Filter.c_str(), flags, defExt.c_str(), Caption.c_str(),
                        &filterIndex);
    } catch (const UtilsMissing&) {
        return false;
    }
    if (offset <= 0)
        return false;
    OFNINFO result;
    // At the root the folder text is "/" itself and must not be doubled.
    result.PathName = ClassLibrary::Shared().File->AddSlash(buffer.substr(0, static_cast<size_t>(offset - 1)));
    ClassLibrary::Shared().General->SplitString(buffer, result.FileName, kNul, result.nFiles, offset + 1, true);
    result.nFilterIndex = filterIndex;
    retVal = std::move(result);
    return true;
}

}  // namespace quorvantell
