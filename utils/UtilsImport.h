// Lazy binding to QuorvantellUtils by ordinal. The library is loaded at the
// first call of any of its functions; a missing library or ordinal raises
// UtilsMissing with a message that names what was looked for.
#pragma once

#include "utils/QuorvantellUtils.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

namespace quorvantell {

constexpr const char* kUtilsLibraryName = "libQuorvantellUtils.so.1";

class UtilsMissing : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace detail {

// The folder holding the object this code was linked into; the libraries are
// installed side by side, so that is where QuorvantellUtils lives.
inline std::string OwnFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&OwnFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::string path = info.dli_fname;
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

inline void* OpenUtilsLibrary(const std::string& name)
{
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    // Beside the caller in the build tree; from an installed program in
    // bin/, the libraries' folder.
    for (const char* folder : {"", "../lib/velloran/"}) {
        if (handle == nullptr && name.find('/') == std::string::npos)
            handle = dlopen((OwnFolder() + folder + name).c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    if (handle == nullptr)
        throw UtilsMissing("The native utility library " + name + " could not be loaded: " + dlerror());
    return handle;
}

}  // namespace detail

// Address of the export with the given ordinal in the named library.
inline void* BindUtilsOrdinal(int32_t ordinal, const std::string& libraryName = kUtilsLibraryName)
{
    void* handle = detail::OpenUtilsLibrary(libraryName);
    using Table = void*(int32_t);
    auto* table = reinterpret_cast<Table*>(dlsym(handle, "QuorvantellUtilsOrdinal"));
    if (table == nullptr)
        throw UtilsMissing(libraryName + " has no ordinal table");
    void* fn = table(ordinal);
    if (fn == nullptr)
        throw UtilsMissing(libraryName + " has no export with ordinal " + std::to_string(ordinal));
    return fn;
}

// The function of one ordinal, bound once per calling module.
template <UtilsOrdinal Ordinal, typename Fn>
Fn* UtilsFunction()
{
    static Fn* fn = reinterpret_cast<Fn*>(BindUtilsOrdinal(static_cast<int32_t>(Ordinal)));
    return fn;
}

// Typed calls, one per export used outside the library.
namespace utils {
inline int32_t DeleteFileForced(const char* p) { return UtilsFunction<UtilsOrdinal::DeleteFileForced, FnDeleteFileForced>()(p); }
inline int32_t CountFolderTree(const char* p, int32_t* d, int32_t* f) { return UtilsFunction<UtilsOrdinal::CountFolderTree, FnCountFolderTree>()(p, d, f); }
inline int32_t ShowFileProperties(const char* p) { return UtilsFunction<UtilsOrdinal::ShowFileProperties, FnShowFileProperties>()(p); }
inline int32_t GetFileSize64(const char* p, int64_t* s) { return UtilsFunction<UtilsOrdinal::GetFileSize64, FnGetFileSize64>()(p, s); }
inline int32_t MoveFileReplace(const char* a, const char* b) { return UtilsFunction<UtilsOrdinal::MoveFileReplace, FnMoveFileReplace>()(a, b); }
inline int32_t StripBadNameChars(char* b, int32_t n) { return UtilsFunction<UtilsOrdinal::StripBadNameChars, FnStripBadNameChars>()(b, n); }
inline int32_t RecycleFiles(const char* l) { return UtilsFunction<UtilsOrdinal::RecycleFiles, FnRecycleFiles>()(l); }
inline int32_t SetFileLength(const char* p, int64_t n) { return UtilsFunction<UtilsOrdinal::SetFileLength, FnSetFileLength>()(p, n); }
inline int32_t SeekFile64(int32_t h, int64_t n) { return UtilsFunction<UtilsOrdinal::SeekFile64, FnSeekFile64>()(h, n); }
inline int32_t SetOwnPriority(int16_t s, int32_t p) { return UtilsFunction<UtilsOrdinal::SetOwnPriority, FnSetOwnPriority>()(s, p); }
inline int32_t GetOwnPriority(int16_t s) { return UtilsFunction<UtilsOrdinal::GetOwnPriority, FnGetOwnPriority>()(s); }
inline void PlaceBesideRect(WindowBox* w, const WindowBox* r, const AreaRect* a) { UtilsFunction<UtilsOrdinal::PlaceBesideRect, FnPlaceBesideRect>()(w, r, a); }
inline void SnapRectToRect(WindowBox* w, const AreaRect* a, int32_t d) { UtilsFunction<UtilsOrdinal::SnapRectToRect, FnSnapRectToRect>()(w, a, d); }
inline void SnapRectToEdges(WindowBox* w, const WindowBox* r, int32_t d) { UtilsFunction<UtilsOrdinal::SnapRectToEdges, FnSnapRectToEdges>()(w, r, d); }
inline int32_t BrowseForFolder(void* o, const char* t, const char* i, int32_t f, char* p, int32_t n) { return UtilsFunction<UtilsOrdinal::BrowseForFolder, FnBrowseForFolder>()(o, t, i, f, p, n); }
inline int32_t ChooseColorDlg(void* o, uint32_t* c, uint32_t* cc, int32_t f) { return UtilsFunction<UtilsOrdinal::ChooseColorDlg, FnChooseColorDlg>()(o, c, cc, f); }
inline int32_t ChooseFontDlg(void* o, LOGFONT* lf, int32_t f) { return UtilsFunction<UtilsOrdinal::ChooseFontDlg, FnChooseFontDlg>()(o, lf, f); }
inline int32_t PrintSetupDlg(void* o, int32_t* f, const void* dn, int32_t n, void* dm) { return UtilsFunction<UtilsOrdinal::PrintSetupDlg, FnPrintSetupDlg>()(o, f, dn, n, dm); }
inline int32_t OpenFileDlg(void* o, char* b, const char* d, const char* fl, int32_t f, const char* e, const char* t, int32_t* i) { return UtilsFunction<UtilsOrdinal::OpenFileDlg, FnOpenFileDlg>()(o, b, d, fl, f, e, t, i); }
inline int32_t SaveFileDlg(void* o, char* b, const char* d, const char* fl, int32_t f, const char* e, const char* t, int32_t* i) { return UtilsFunction<UtilsOrdinal::SaveFileDlg, FnSaveFileDlg>()(o, b, d, fl, f, e, t, i); }
inline int32_t ForceForeground(void* w) { return UtilsFunction<UtilsOrdinal::ForceForeground, FnForceForeground>()(w); }
inline int32_t SetTopMost(void* w, int16_t on) { return UtilsFunction<UtilsOrdinal::SetTopMost, FnSetTopMost>()(w, on); }
inline void OpenWebPage(int32_t page) { UtilsFunction<UtilsOrdinal::OpenWebPage, FnOpenWebPage>()(page); }
inline void NotifyAssocChanged() { UtilsFunction<UtilsOrdinal::NotifyAssocChanged, FnNotifyAssocChanged>()(); }
}  // namespace utils

}  // namespace quorvantell
