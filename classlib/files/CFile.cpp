// CFile: path strings, file-system queries and changes, the transactional
// copy, handles and document launching.
#include "classlib/files/CFile.h"

#include "classlib/files/FileCopy.h"
#include "classlib/files/FileTime.h"
#include "classlib/files/Launcher.h"
#include "classlib/files/OpenWithDialog.h"
#include "classlib/files/RecentDocuments.h"
#include "classlib/files/UniqueFd.h"
#include "classlib/files/WildcardMatch.h"
#include "classlib/general/CGeneral.h"
#include "classlib/general/ClassLibrary.h"
#include "utils/UtilsImport.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>

namespace quorvantell {

namespace {

bool IsUrlSchemeChar(char c)
{
    return isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

// /proc/self/mounts writes blanks, tabs, newlines and backslashes in mount
// points as three-digit octal escapes (\040 for a blank).
std::string UnescapeMountPoint(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        const bool isEscape = field[i] == '\\' && i + 3 < field.size();
        if (isEscape && isdigit(static_cast<unsigned char>(field[i + 1])) &&
            isdigit(static_cast<unsigned char>(field[i + 2])) && isdigit(static_cast<unsigned char>(field[i + 3]))) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// The folder that holds path (the current folder for a bare name).
UniqueFd OpenFolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    return UniqueFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

CGeneral& General()
{
    return *ClassLibrary::Shared().General;
}

}  // namespace

// ---- Path strings ---------------------------------------------------------

std::string CFile::AddSlash(const std::string& Path) const
{
    return !Path.empty() && Path.back() == '/' ? Path : Path + "/";
}

std::string CFile::StripSlash(const std::string& Path) const
{
    return !Path.empty() && Path.back() == '/' ? Path.substr(0, Path.size() - 1) : Path;
}

std::string CFile::FileNameFromPath(const std::string& fullPath) const
{
    const auto slash = fullPath.rfind('/');
    return slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
}

std::string CFile::PathOnly(const std::string& fullPath) const
{
    const auto slash = fullPath.rfind('/');
    return slash == std::string::npos ? std::string() : fullPath.substr(0, slash + 1);
}

std::string CFile::FileExt(const std::string& FileName) const
{
    const auto dot = FileName.rfind('.');
    return dot == std::string::npos ? std::string() : FileName.substr(dot + 1);
}

std::string CFile::StripExt(const std::string& FileName) const
{
    const auto dot = FileName.rfind('.');
    return dot == std::string::npos ? FileName : FileName.substr(0, dot);
}

std::string CFile::FileTitle(const std::string& FileName) const
{
    return FileNameFromPath(StripExt(FileName));
}

std::string CFile::StripQuotes(std::string Path) const
{
    // A lone quote is both first and last character; it becomes empty.
    if (!Path.empty() && Path.front() == '"' && Path.back() == '"')
        return Path.size() < 2 ? std::string() : Path.substr(1, Path.size() - 2);
    return Path;
}

std::string CFile::MakeValidFilename(const std::string& Path) const
{
    if (Path.empty())
        return {};
    std::string buffer = Path;
    buffer.push_back('\0');
    utils::StripBadNameChars(buffer.data(), static_cast<int32_t>(Path.size()));
    return General().StripTrailingNull(buffer);
}

std::string CFile::PathRelativePart(const std::string& dirPath, const std::string& filePath) const
{
    if (filePath.compare(0, dirPath.size(), dirPath) == 0)
        return filePath.substr(dirPath.size());
    return filePath;
}

bool CFile::PathsSame(const std::string& path1, const std::string& path2) const
{
    return StripSlash(path1) == StripSlash(path2);
}

bool CFile::MatchSpec(const std::string& Path, const std::string& Spec) const
{
    return MatchSpecList(Path, Spec);
}

bool CFile::PathIsRelative(const std::string& Path) const
{
    return Path.empty() || Path.front() != '/';
}

bool CFile::PathIsURL(const std::string& Path) const
{
    // scheme ":" with a scheme of two or more characters starting with a letter
    const auto colon = Path.find(':');
    if (colon == std::string::npos || colon < 2 || !isalpha(static_cast<unsigned char>(Path[0])))
        return false;
    for (size_t i = 1; i < colon; ++i)
        if (!IsUrlSchemeChar(Path[i]))
            return false;
    return true;
}

bool CFile::IsDrive(const std::string& Path) const
{
    // The file-system root, or a network server root such as //server/.
    if (Path == "/")
        return true;
    if (Path.size() < 4 || Path.compare(0, 2, "//") != 0 || Path.back() != '/' || Path[2] == '/')
        return false;
    return General().StrCount(Path, "/", 4) == 1;
}

bool CFile::IsCDROM(const std::string& Path) const
{
    // The mount that holds Path is an optical disc when its file system is
    // one of the disc formats.
    std::ifstream mounts("/proc/self/mounts");
    std::string device, mountPoint, type, rest;
    std::string bestType;
    size_t bestLength = 0;
    while (mounts >> device >> mountPoint >> type && std::getline(mounts, rest)) {
        const std::string prefix = AddSlash(UnescapeMountPoint(mountPoint));
        if ((AddSlash(Path).compare(0, prefix.size(), prefix) == 0) && prefix.size() >= bestLength) {
            bestLength = prefix.size();
            bestType = type;
        }
    }
    return bestType == "iso9660" || bestType == "udf";
}

std::string CFile::GetLongPath(std::string shortName) const
{
    return shortName;  // Linux file systems have no short aliases
}

std::string CFile::GetShortPath(const std::string& longName) const
{
    return longName;
}

// ---- File-system queries and changes --------------------------------------

bool CFile::DirExists(const std::string& Path) const
{
    struct stat st{};
    return !Path.empty() && stat(Path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CFile::FileExists(const std::string& FileName) const
{
    // Any entry of that name counts, folders and links included.
    struct stat st{};
    return !FileName.empty() && lstat(FileName.c_str(), &st) == 0;
}

bool CFile::DirEmpty(const std::string& Path) const
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(Path.c_str()), closedir);
    if (!dir)
        return false;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            return false;
    }
    return true;
}

void CFile::CountFiles(const std::string& Path, int32_t& Dirs, int32_t& Files) const
{
    utils::CountFolderTree(Path.c_str(), &Dirs, &Files);
}

bool CFile::CreatePath(const std::string& Path) const
{
    return mkdir(Path.c_str(), 0777) == 0;
}

bool CFile::CreateFullPath(const std::string& Path) const
{
    const std::function<bool(const std::string&)> level = [&](const std::string& p) {
        if (DirExists(p))
            return true;
        if (p.empty() || p == "/")
            return false;
        if (!level(PathOnly(p.substr(0, p.size() - 1))))
            return false;
        return CreatePath(p);
    };
    return level(AddSlash(Path));
}

bool CFile::DeletePath(const std::string& Path) const
{
    return rmdir(Path.c_str()) == 0;
}

bool CFile::Delete(const std::string& Path) const
{
    return utils::DeleteFileForced(Path.c_str()) != 0;
}

void CFile::Recycle(const std::string& fullPath) const
{
    std::string list = fullPath;
    list.push_back('\0');
    list.push_back('\0');
    utils::RecycleFiles(list.c_str());
}

bool CFile::Move(const std::string& fileFrom, const std::string& fileTo) const
{
    return utils::MoveFileReplace(fileFrom.c_str(), fileTo.c_str()) != 0;
}

bool CFile::Copy(const std::string& fileFrom, const std::string& fileTo, bool& Cancel) const
{
    const UniqueFd fromDir = OpenFolderOf(fileFrom);
    const UniqueFd toDir = OpenFolderOf(fileTo);
    const std::string toName = FileNameFromPath(fileTo);
    return fromDir.Valid() && toDir.Valid() && !toName.empty() &&
           CopyFileAt(fromDir.Get(), FileNameFromPath(fileFrom), toDir.Get(), toName, Cancel) == CopyOutcome::Copied;
}

bool CFile::GetFileSize(const std::string& filePath, int64_t& Size) const
{
    int64_t size = 0;
    if (utils::GetFileSize64(filePath.c_str(), &size) == 0) {
        Size = 0;
        return false;
    }
    Size = size;
    return true;
}

bool CFile::SetFileSize(const std::string& filePath, int64_t Size) const
{
    return utils::SetFileLength(filePath.c_str(), Size) != 0;
}

void CFile::SetTime(const std::string& filePath, int64_t FileTimeUTC) const
{
    // Never creates a missing file; a file whose time cannot be set is left alone.
    const timespec t = TimespecFromFileTime(FileTimeUTC);
    const timespec times[2] = {t, t};
    utimensat(AT_FDCWD, filePath.c_str(), times, 0);
}

bool CFile::FileProperties(const std::string& fullPath) const
{
    try {
        return utils::ShowFileProperties(fullPath.c_str()) != 0;
    } catch (const UtilsMissing&) {
        return false;
    }
}

void CFile::AddToRecent(const std::string& Path) const
{
    if (!Path.empty())
        AddRecentDocument(Path);
}

std::string CFile::GetTempPath() const
{
    const char* tmp = std::getenv("TMPDIR");
    return AddSlash(tmp != nullptr && *tmp == '/' ? tmp : "/tmp");
}

std::string CFile::GetTempFile(const std::string& dirName) const
{
    std::string pattern = AddSlash(dirName) + "XXXXXX.tmp";
    const int fd = mkstemps(pattern.data(), 4);
    if (fd < 0)
        return {};
    close(fd);
    return pattern;
}

// ---- Handles --------------------------------------------------------------

bool CFile::CreateFile(const std::string& FileName, int32_t& hFile, int32_t Mode) const
{
    int flags = -1;
    switch (Mode) {
    case ForRead: flags = O_RDONLY; break;
    case ForWrite: flags = O_WRONLY | O_CREAT | O_TRUNC; break;
    case ForReadWrite: flags = O_RDWR | O_CREAT; break;
    default: break;
    }
    if (flags != -1)
        hFile = open(FileName.c_str(), flags | O_CLOEXEC, 0666);
    return hFile != -1;
}

bool CFile::ReadFile(int32_t hFile, std::vector<uint8_t>& Buf, int32_t bufSize, int32_t& BytesRead) const
{
    BytesRead = 0;
    if (bufSize < 0)
        return false;
    if (Buf.size() < static_cast<size_t>(bufSize))
        Buf.resize(static_cast<size_t>(bufSize));
    while (BytesRead < bufSize) {
        const ssize_t n = read(hFile, Buf.data() + BytesRead, static_cast<size_t>(bufSize - BytesRead));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        BytesRead += static_cast<int32_t>(n);
    }
    return true;
}

bool CFile::WriteFile(int32_t hFile, const std::vector<uint8_t>& Buf, int32_t bufSize, int32_t& BytesWritten) const
{
    BytesWritten = 0;
    if (bufSize < 0 || static_cast<size_t>(bufSize) > Buf.size())
        return false;
    while (BytesWritten < bufSize) {
        const ssize_t n = write(hFile, Buf.data() + BytesWritten, static_cast<size_t>(bufSize - BytesWritten));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        BytesWritten += static_cast<int32_t>(n);
    }
    return true;
}

bool CFile::SetFilePointer(int32_t hFile, int64_t Size) const
{
    return utils::SeekFile64(hFile, Size) != 0;
}

void CFile::CloseHandle(int32_t hObject) const
{
    if (hObject >= 0)
        close(hObject);
}

// ---- Launching documents --------------------------------------------------

bool CFile::RunDocument(const std::string& docName, int32_t /*windowState*/, const std::string& docParam) const
{
    // The desktop decides how its applications' windows open. A program runs
    // itself with the parameters (quoted ones kept whole); anything else
    // goes to xdg-open. Either starts detached: true means it started.
    if (IsProgramFile(docName)) {
        // A name without a folder would be searched in PATH: run the one checked.
        std::vector<std::string> argv{docName.find('/') == std::string::npos ? "./" + docName : docName};
        for (std::string& parameter : SplitParameters(docParam))
            argv.push_back(std::move(parameter));
        return LaunchProgram(argv);
    }
    return LaunchProgram({"xdg-open", docName});
}

void CFile::RunDocumentWith(const std::string& docName) const
{
    OpenWithDialog::Run(docName);
}

void CFile::TryRunDoc(const std::string& docName) const
{
    if (!RunDocument(docName, SW_SHOWMAXIMIZED))
        RunDocumentWith(docName);
}

}  // namespace quorvantell
