// CFile: the class library's file and path toolbox. Holds no state; every
// member is a function of its arguments and the file system. Paths are byte
// strings with "/" as the separator; folder paths it produces end in "/".
// Ordinary failures are results (false, empty text, unchanged input); no
// member throws for a failed platform call.
#pragma once

#include "classlib/ClassLibObject.h"
#include "utils/QuorvantellUtils.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvantell {

class CFile : public ClassLibObject {
public:
    enum eCreateFileMode { ForRead = 0, ForWrite = 1, ForReadWrite = 2 };
    enum eRunDoc {
        SW_SHOWNORMAL = 1,
        SW_SHOWMINIMIZED = 2,
        SW_SHOWMAXIMIZED = 3,
        SW_SHOWNOACTIVATE = 4,
        SW_SHOWMINNOACTIVE = 7
    };

    // Path strings.
    std::string AddSlash(const std::string& Path) const;
    std::string StripSlash(const std::string& Path) const;
    std::string FileNameFromPath(const std::string& fullPath) const;
    std::string PathOnly(const std::string& fullPath) const;
    std::string FileExt(const std::string& FileName) const;
    std::string StripExt(const std::string& FileName) const;
    std::string FileTitle(const std::string& FileName) const;
    std::string StripQuotes(std::string Path) const;
    std::string MakeValidFilename(const std::string& Path) const;
    std::string PathRelativePart(const std::string& dirPath, const std::string& filePath) const;
    bool PathsSame(const std::string& path1, const std::string& path2) const;
    bool MatchSpec(const std::string& Path, const std::string& Spec) const;
    bool PathIsRelative(const std::string& Path) const;
    bool PathIsURL(const std::string& Path) const;
    bool IsDrive(const std::string& Path) const;
    bool IsCDROM(const std::string& Path) const;
    std::string GetLongPath(std::string shortName) const;
    std::string GetShortPath(const std::string& longName) const;

    // File-system queries and changes.
    bool DirExists(const std::string& Path) const;
    bool FileExists(const std::string& FileName) const;
    bool DirEmpty(const std::string& Path) const;
    void CountFiles(const std::string& Path, int32_t& Dirs, int32_t& Files) const;
    bool CreatePath(const std::string& Path) const;
    bool CreateFullPath(const std::string& Path) const;
    bool DeletePath(const std::string& Path) const;
    bool Delete(const std::string& Path) const;
    void Recycle(const std::string& fullPath) const;
    bool Move(const std::string& fileFrom, const std::string& fileTo) const;
    // Copies through a file written aside that replaces the target only when
    // complete (times and mode already set). False on failure, when Cancel
    // became true or when the source changed during the copy; the target is
    // then untouched.
    bool Copy(const std::string& fileFrom, const std::string& fileTo, bool& Cancel) const;
    bool GetFileSize(const std::string& filePath, int64_t& Size) const;
    bool SetFileSize(const std::string& filePath, int64_t Size) const;
    void SetTime(const std::string& filePath, int64_t FileTimeUTC) const;
    bool FileProperties(const std::string& fullPath) const;
    void AddToRecent(const std::string& Path) const;
    std::string GetTempPath() const;
    std::string GetTempFile(const std::string& dirName) const;

    // Handles (file descriptors; -1 is the invalid handle).
    bool CreateFile(const std::string& FileName, int32_t& hFile, int32_t Mode) const;
    bool ReadFile(int32_t hFile, std::vector<uint8_t>& Buf, int32_t bufSize, int32_t& BytesRead) const;
    bool WriteFile(int32_t hFile, const std::vector<uint8_t>& Buf, int32_t bufSize, int32_t& BytesWritten) const;
    bool SetFilePointer(int32_t hFile, int64_t Size) const;
    void CloseHandle(int32_t hObject) const;

    // Launching documents, never waiting on what starts. RunDocument runs a
    // program itself with docParam (split at blanks, quoted parts whole) and
    // opens anything else with the desktop's default application; true when
    // that started. RunDocumentWith offers the applications for the file's
    // type in a chooser and starts the chosen one with it.
    bool RunDocument(const std::string& docName, int32_t windowState, const std::string& docParam = "") const;
    void RunDocumentWith(const std::string& docName) const;
    void TryRunDoc(const std::string& docName) const;
};

}  // namespace quorvantell
