// CComDialogs: the folder, colour, font, print, open and save dialogs, shown
// through the native utility library's dialog exports. Every member returns
// true when the user confirmed; on cancel or failure the out-arguments are
// left as they were. Folder paths it returns end in "/".
#pragma once

#include "classlib/ClassLibObject.h"

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace quorvantell {

class CFont;

// Result of OpenFile and SaveFile.
struct OFNINFO {
    std::string PathName;               // the chosen folder, ending in "/"
    std::vector<std::string> FileName;  // the chosen names, without folder
    int32_t nFiles = 0;
    int32_t nFilterIndex = 0;  // 1-based filter in use when the dialog closed
};

enum eBIF : int32_t {
    BIF_RETURNONLYFSDIRS = 1,
    BIF_DONTGOBELOWDOMAIN = 2,
    BIF_STATUSTEXT = 4,
    BIF_RETURNFSANCESTORS = 8,
    BIF_BROWSEFORCOMPUTER = 4096,
    BIF_BROWSEFORPRINTER = 8192,
};

enum eCC : int32_t { CC_RGBINIT = 1, CC_FULLOPEN = 2, CC_PREVENTFULLOPEN = 4 };

enum eCF : int32_t {
    CF_SCREENFONTS = 0x1,
    CF_PRINTERFONTS = 0x2,
    CF_BOTH = 0x3,
    CF_SHOWHELP = 0x4,
    CF_INITTOLOGFONTSTRUCT = 0x40,
    CF_EFFECTS = 0x100,
    CF_APPLY = 0x200,
    CF_ANSIONLY = 0x400,
    CF_NOVECTORFONTS = 0x800,
    CF_NOSIMULATIONS = 0x1000,
    CF_LIMITSIZE = 0x2000,
    CF_FIXEDPITCHONLY = 0x4000,
    CF_WYSIWYG = 0x8000,
    CF_FORCEFONTEXIST = 0x10000,
    CF_SCALABLEONLY = 0x20000,
    CF_TTONLY = 0x40000,
    CF_NOFACESEL = 0x80000,
    CF_NOSTYLESEL = 0x100000,
    CF_NOSIZESEL = 0x200000,
    CF_NOVERTFONTS = 0x1000000,
};

enum eOFN : int32_t {
    OFN_READONLY = 0x1,
    OFN_OVERWRITEPROMPT = 0x2,
    OFN_HIDEREADONLY = 0x4,
    OFN_NOCHANGEDIR = 0x8,
    OFN_SHOWHELP = 0x10,
    OFN_NOVALIDATE = 0x100,
    OFN_ALLOWMULTISELECT = 0x200,
    OFN_EXTENSIONDIFFERENT = 0x400,
    OFN_PATHMUSTEXIST = 0x800,
    OFN_FILEMUSTEXIST = 0x1000,
    OFN_CREATEPROMPT = 0x2000,
    OFN_SHAREAWARE = 0x4000,
    OFN_NOREADONLYRETURN = 0x8000,
    OFN_NOTESTFILECREATE = 0x10000,
    OFN_NONETWORKBUTTON = 0x20000,
    OFN_NODEREFERENCELINKS = 0x100000,
};

enum ePD : int32_t {
    PD_ALLPAGES = 0,
    PD_SELECTION = 0x1,
    PD_PAGENUMS = 0x2,
    PD_NOSELECTION = 0x4,
    PD_NOPAGENUMS = 0x8,
    PD_COLLATE = 0x10,
    PD_PRINTTOFILE = 0x20,
    PD_PRINTSETUP = 0x40,
    PD_NOWARNING = 0x80,
    PD_RETURNDC = 0x100,
    PD_RETURNDEFAULT = 0x400,
    PD_SHOWHELP = 0x800,
    PD_USEDEVMODECOPIES = 0x40000,
    PD_USEDEVMODECOPIESANDCOLLATE = 0x40000,
    PD_DISABLEPRINTTOFILE = 0x80000,
    PD_HIDEPRINTTOFILE = 0x100000,
    PD_NONETWORKBUTTON = 0x200000,
};

class CComDialogs : public ClassLibObject {
public:
    // "All Files", NUL, "*.*", NUL, NUL.
    std::string filterAllFiles() const;

    bool BrowseFolder(QWidget* hWnd, const std::string& Caption, const std::string& initPath, int32_t flags,
                      std::string& retVal) const;
    // CustColor: 16 colours of 4 bytes each (0x00BBGGRR, low byte first).
    bool GetColor(QWidget* hWnd, uint32_t& initColor, std::vector<uint8_t>& CustColor, int32_t flags) const;
    // Qt's font dialog offers no colour: f.Color comes back as it went in.
    bool GetFont(QWidget* hWnd, CFont& f, int32_t flags) const;
    // Tells the user "No printers are set up on your system" when there is
    // no printer. On confirmation the chosen printer and its settings become
    // the application's (AppPrinter) and flags the dialog's final flags.
    bool GetPrint(QWidget* hWnd, int32_t& flags) const;
    // FileName is the initial name (shorter than 32,760 bytes); Filter pairs
    // descriptions and patterns, each ended by NUL, the list by a further NUL.
    bool OpenFile(QWidget* hWnd, const std::string& FileName, const std::string& dirName, const std::string& Filter,
                  int32_t flags, const std::string& defExt, const std::string& Caption, OFNINFO& retVal) const;
    bool SaveFile(QWidget* hWnd, const std::string& FileName, const std::string& dirName, const std::string& Filter,
                  int32_t flags, const std::string& defExt, const std::string& Caption, OFNINFO& retVal) const;

private:
    bool FileDialog(bool save, QWidget* hWnd, const std::string& FileName, const std::string& dirName,
                    const std::string& Filter, int32_t flags, const std::string& defExt, const std::string& Caption,
                    OFNINFO& retVal) const;
};

}  // namespace quorvantell
