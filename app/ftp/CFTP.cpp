// CFTP: the FTP session over an FtpTransport.
#include "app/ftp/CFTP.h"

#include "app/engine/AppError.h"
#include "app/ftp/CurlFtpTransport.h"
#include "app/ftp/FtpAddress.h"
#include "app/ftp/FtpTime.h"
#include "app/ftp/SftpTransport.h"
#include "classlib/files/CFile.h"
#include "classlib/files/FileTime.h"
#include "classlib/files/ReplacementFile.h"
#include "classlib/files/UniqueFd.h"
#include "classlib/files/WildcardMatch.h"
#include "classlib/misc/CWaitCursor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <random>
#include <stdexcept>

namespace velloran {

namespace {

constexpr int32_t kDirBufStep = 250;
constexpr const char* kAllFiles = "*.*;";
constexpr const char* kListHidden = "LIST -a";
constexpr const char* kListPlain = "LIST";
// Longest part of a name that goes into an upload's temporary name, beside
// a random token and the ending.
constexpr size_t kUploadNameLimit = 100;
constexpr const char* kUploadTempSuffix = ".velloran-upload";

const quorvantell::CFile& Paths()
{
    static const quorvantell::CFile file;
    return file;
}

// A 2xx reply: the command was carried out.
bool IsPositive(const std::string& reply)
{
    return !reply.empty() && reply.front() == '2';
}

// True when the FEAT reply lists the feature (" MLST type*;size*;", " MFMT").
bool Offers(const std::string& features, const std::string& feature)
{
    size_t start = 0;
    while (start < features.size()) {
        size_t end = features.find('\n', start);
        end = end == std::string::npos ? features.size() : end;
        const size_t word = features.find_first_not_of(' ', start);
        if (word < end && features.size() - word >= feature.size()) {
            std::string name = features.substr(word, feature.size());
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            const size_t after = word + feature.size();
            const bool wholeWord = after >= end || features[after] == ' ' || features[after] == '\r';
            if (name == feature && wholeWord)
                return true;
        }
        start = end + 1;
    }
    return false;
}

// A CR, LF or NUL: in a text that goes out on the control connection it
// would end the command line early and could add a command of its own.
bool BreaksCommandLine(const std::string& text)
{
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

bool IsDotName(const std::string& name)
{
    return name == "." || name == "..";
}

// A name that stays inside its folder when joined to a path.
bool IsSafeName(const std::string& name)
{
    return !name.empty() && !IsDotName(name) && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

int64_t NowRaw()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return quorvantell::FileTimeFromTimespec(now);
}

// A hidden name beside the target that no other upload, and in all
// likelihood no file of the server, has: the start of the target's name (cut
// at a character boundary), 64 random bits and a recognisable ending.
std::string UploadTempName(const std::string& name)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    size_t cut = std::min(name.size(), kUploadNameLimit);
    while (cut > 0 && cut < name.size() && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    char token[17];
    std::snprintf(token, sizeof token, "%016llx", static_cast<unsigned long long>(random()));
    std::string temp = ".";
    temp.append(name, 0, cut).append(".").append(token).append(kUploadTempSuffix);
    return temp;
}

}  // namespace

CFTP::CFTP() : m_transport(std::make_unique<CurlFtpTransport>()) {}

CFTP::~CFTP() = default;

bool CFTP::Connect(const std::string& Server, const std::string& User, const std::string& Password, bool Passive)
{
    const auto address = FtpAddress::Parse(Server);
    m_untrustedKey.clear();
    if (!address || BreaksCommandLine(User) || BreaksCommandLine(Password)) {
        // Nothing is sent, and as after any failed connect the session of
        // before is no target.
        m_transport->Close();
        return false;
    }
    UseTransport(address->scheme);
    if (!m_transport->Open(
            FtpLogin{address->scheme, address->host, address->port, User, Password, Passive, m_trustedKey})) {
        m_untrustedKey = m_transport->OfferedKey();
        return false;
    }
    std::string features;
    const bool listed = m_transport->Send("FEAT", features) && IsPositive(features);
    m_hasMlsd = listed && (Offers(features, "MLST") || Offers(features, "MLSD"));
    m_hasMfmt = listed && Offers(features, "MFMT");
    m_hasMdtm = listed && Offers(features, "MDTM");
    m_listCommand = m_hasMlsd ? "MLSD" : kListHidden;
    return true;
}

void CFTP::UseTransport(FtpScheme scheme)
{
    const bool sftp = scheme == FtpScheme::Sftp;
    if (sftp == m_sftp)
        return;
    m_transport->Close();
    m_transport = sftp ? std::unique_ptr<FtpTransport>(std::make_unique<SftpTransport>())
                       : std::make_unique<CurlFtpTransport>();
    m_sftp = sftp;
}

void CFTP::Disconnect()
{
    m_transport->Close();
}

void CFTP::TrustKey(const std::string& fingerprint)
{
    m_trustedKey = fingerprint;
}

const std::string& CFTP::UntrustedKey() const
{
    return m_untrustedKey;
}

void CFTP::FindFilesInit(const std::string& Path, const std::string& FileSpec, bool SubDirs)
{
    quorvantell::CWaitCursor wait;
    wait.Restore();
    m_curDir = 0;
    m_nDirs = 0;
    m_basePath = Path;
    m_subDirs = SubDirs;
    m_fileSpec = FileSpec;
    m_dirBuf.assign(kDirBufStep + 1, std::string());
    m_allFiles = FileSpec == kAllFiles;
    m_skipped.clear();
    m_unread.clear();
    if (OpenFolder("") != FtpTransport::ListResult::Listed)
        throw AppError(AppError::kFtpError, "Error reading folder " + Path);
}

bool CFTP::GetNextFile(std::string& FileName, int64_t& ModifiedRaw, int64_t& FileSize, int32_t& Dirs)
{
    for (;;) {
        if (m_hFind == 0) {
            // This folder is done: on to the next one found, if any.
            if (++m_curDir > m_nDirs) {
                m_curDir = m_nDirs + 1;
                Dirs = m_nDirs;
                return false;
            }
            // A folder the server refuses to show is noted and passed over;
            // a broken connection must not pass for the end of the tree.
            const auto result = OpenFolder(m_dirBuf.at(m_curDir));
            if (result == FtpTransport::ListResult::Failed)
                throw AppError(AppError::kFtpError, "Error reading folder " + m_basePath + m_dirBuf[m_curDir]);
            if (result == FtpTransport::ListResult::Refused)
                m_unread.push_back(m_dirBuf[m_curDir]);
            continue;
        }
        const FtpEntry& entry = m_entries[m_next];
        if (entry.isDir && (!m_subDirs || IsDotName(entry.name))) {
            Advance();
        } else if (!IsSafeName(entry.name)) {
            m_skipped.push_back(m_dirBuf[m_curDir] + entry.name);
            Advance();
        } else if (entry.isDir) {
            AddDir(entry.name);
            Advance();
        } else if (!m_allFiles && !quorvantell::MatchSpecList(entry.name, m_fileSpec)) {
            Advance();
        } else {
            FileName = m_dirBuf[m_curDir] + entry.name;
            ModifiedRaw = entry.modified;
            FileSize = entry.size;
            Advance();
            return true;
        }
    }
}

std::string CFTP::DirBuf(int32_t Index) const
{
    if (Index < 0 || static_cast<size_t>(Index) >= m_dirBuf.size())
        throw std::out_of_range("DirBuf index " + std::to_string(Index) + " is outside the buffer");
    return m_dirBuf[static_cast<size_t>(Index)];
}

std::string CFTP::FileBuf(int32_t Index) const
{
    if (Index < 0 || static_cast<size_t>(Index) >= m_fileBuf.size())
        throw std::out_of_range("FileBuf index " + std::to_string(Index) + " is outside the buffer");
    return m_fileBuf[static_cast<size_t>(Index)];
}

uint32_t CFTP::FindHandle() const
{
    return m_hFind;
}

void CFTP::FindClose(uint32_t hFindFile)
{
    if (hFindFile != 0 && hFindFile == m_hFind)
        m_hFind = 0;
}

void CFTP::Clear()
{
    m_fileBuf.clear();
    m_dirBuf.clear();
}

const std::vector<std::string>& CFTP::SkippedNames() const
{
    return m_skipped;
}

const std::vector<std::string>& CFTP::UnreadFolders() const
{
    return m_unread;
}

bool CFTP::GetFile(const std::string& FTPPath, const std::string& Path)
{
    // The download goes to a file written aside that replaces the target
    // only when complete, so a broken transfer never costs the local copy.
    const std::string name = Paths().FileNameFromPath(Path);
    if (!m_transport->IsOpen() || name.empty())
        return false;
    const std::string folder = Paths().PathOnly(Path);
    const quorvantell::UniqueFd dir(open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    quorvantell::ReplacementFile file;
    if (!dir.Valid() || !file.Create(dir.Get(), 0666))
        return false;
    // A file replaced keeps its permissions.
    struct stat st{};
    if (fstatat(dir.Get(), name.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode))
        fchmod(file.Fd(), st.st_mode & 07777);
    return m_transport->Download(FTPPath, file.Fd()) && file.Commit(name);
}

bool CFTP::PutFile(const std::string& Path, const std::string& FTPPath)
{
    // The commands after the transfer carry the name: a line break in it
    // would add a command of its own.
    const std::string name = FileNameFromPath(FTPPath);
    if (name.empty() || BreaksCommandLine(FTPPath))
        return false;
    const int fd = open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st{};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return false;
    }
    // The data goes under a temporary name and replaces the file only when
    // complete and stamped, so a cut-off transfer leaves the old file whole.
    const std::string temp = UploadTempName(name);
    const std::string tempPath = PathOnly(FTPPath) + temp;
    std::vector<std::string> replies;
    const bool stored = m_transport->Upload(
        fd, tempPath, AfterUpload(temp, name, quorvantell::FileTimeFromTimespec(st.st_mtim)), replies);
    close(fd);
    if (stored && IsPositive(replies.back()))
        return true;
    // A refused rename of a temporary file the server took may be a server
    // that does not rename over an existing file.
    const bool renameStarted = stored && replies[replies.size() - 2].starts_with("350");
    if (renameStarted && ReplaceByRename(tempPath, FTPPath))
        return true;
    Command("DELE " + tempPath);
    return false;
}

bool CFTP::Delete(const std::string& Path)
{
    return Succeeds("DELE " + Path);
}

bool CFTP::CreateDir(const std::string& Path)
{
    return Succeeds("MKD " + Path);
}

bool CFTP::RemoveDir(const std::string& Path)
{
    return Succeeds("RMD " + Path);
}

void CFTP::SetTime(const std::string& FTPPath, int64_t FileTimeUTC)
{
    // Servers that cannot set times through MDTM may know MFMT instead.
    const std::string stamp = FormatFtpTime(FileTimeUTC);
    if (!IsPositive(Command("mdtm " + stamp + " " + FTPPath)) && m_hasMfmt)
        Command("MFMT " + stamp + " " + FTPPath);
}

std::string CFTP::Command(const std::string& text)
{
    std::string reply;
    if (!m_transport->IsOpen() || BreaksCommandLine(text) || !m_transport->Send(text, reply))
        return std::string();
    return reply;
}

std::string CFTP::AddSlash(const std::string& path)
{
    return Paths().AddSlash(path);
}

std::string CFTP::PrependSlash(const std::string& path)
{
    return !path.empty() && path.front() == '/' ? path : "/" + path;
}

std::string CFTP::StripSlash(const std::string& path)
{
    return Paths().StripSlash(path);
}

std::string CFTP::FileNameFromPath(const std::string& fullPath)
{
    return Paths().FileNameFromPath(fullPath);
}

std::string CFTP::PathOnly(const std::string& fullPath)
{
    return Paths().PathOnly(fullPath);
}

std::string CFTP::FileTitle(const std::string& fullPath)
{
    return Paths().FileTitle(fullPath);
}

std::string CFTP::StripDomain(const std::string& path)
{
    // The search starts behind the scheme ("ftp://", "sftp://" ...).
    const size_t scheme = path.find("://");
    const size_t slash = path.find('/', scheme == std::string::npos ? 6 : scheme + 3);
    if (slash == std::string::npos)
        throw std::invalid_argument("StripDomain: no path after the server in " + path);
    return path.substr(slash);
}

std::string CFTP::SlashToDos(const std::string& path)
{
    std::string dos = path;
    std::replace(dos.begin(), dos.end(), '/', '\\');
    return dos;
}

std::string CFTP::SlashToUnix(const std::string& path)
{
    std::string converted = path;
    std::replace(converted.begin(), converted.end(), '\\', '/');
    return converted;
}

FtpTransport::ListResult CFTP::OpenFolder(const std::string& relative)
{
    m_entries.clear();
    m_next = 0;
    m_hFind = 0;
    const auto result = ListFolder(m_basePath + relative, m_entries);
    if (result == FtpTransport::ListResult::Listed && !m_entries.empty()) {
        if (++m_lastHandle == 0)
            ++m_lastHandle;
        m_hFind = m_lastHandle;
    }
    return result;
}

FtpTransport::ListResult CFTP::ListFolder(const std::string& path, std::vector<FtpEntry>& entries)
{
    std::string text;
    auto result = m_transport->List(path, m_listCommand, text);
    if (result == FtpTransport::ListResult::Refused && m_listCommand == kListHidden) {
        // Some servers take "-a" for a name; they get the plain command from now on.
        result = m_transport->List(path, kListPlain, text);
        if (result == FtpTransport::ListResult::Listed)
            m_listCommand = kListPlain;
    }
    if (result == FtpTransport::ListResult::Listed) {
        const FtpListParser parser(NowRaw());
        entries = m_hasMlsd ? parser.ParseMlsd(text) : parser.ParseList(text);
        if (!m_hasMlsd && m_hasMdtm)
            RefineTimes(path, entries);
    }
    return result;
}

void CFTP::RefineTimes(const std::string& path, std::vector<FtpEntry>& entries)
{
    for (auto& entry : entries) {
        if (entry.isDir || !IsSafeName(entry.name))
            continue;
        // "213 YYYYMMDDHHMMSS"; anything else keeps the listing's time.
        const std::string reply = Command("MDTM " + AddSlash(path) + entry.name);
        if (reply.compare(0, 4, "213 ") != 0)
            continue;
        const size_t end = reply.find_first_of(" \r\n", 4);
        if (const auto exact = ParseFtpTime(std::string_view(reply).substr(4, end - 4)))
            entry.modified = *exact;
    }
}

void CFTP::AddDir(const std::string& name)
{
    std::string dir = m_dirBuf[m_curDir] + name + "/";
    if (m_nDirs % kDirBufStep == 0)
        m_dirBuf.resize(static_cast<size_t>(m_nDirs) + kDirBufStep + 1);
    m_dirBuf[static_cast<size_t>(m_nDirs) + 1] = std::move(dir);
    ++m_nDirs;
}

void CFTP::Advance()
{
    if (++m_next >= m_entries.size())
        m_hFind = 0;
}

bool CFTP::Succeeds(const std::string& command)
{
    return IsPositive(Command(command));
}

std::vector<std::string> CFTP::AfterUpload(const std::string& temp, const std::string& name,
                                           int64_t FileTimeUTC) const
{
    // As SetTime: mdtm, and MFMT where the server offers it. Both go out, as
    // the batch cannot wait for mdtm's reply; the same time twice does no harm.
    const std::string stamp = FormatFtpTime(FileTimeUTC);
    std::vector<std::string> commands = {"mdtm " + stamp + " " + temp};
    if (m_hasMfmt)
        commands.push_back("MFMT " + stamp + " " + temp);
    commands.push_back("RNFR " + temp);
    commands.push_back("RNTO " + name);
    return commands;
}

bool CFTP::ReplaceByRename(const std::string& temp, const std::string& FTPPath)
{
    return Succeeds("DELE " + FTPPath) && Command("RNFR " + temp).starts_with("350") &&
           Succeeds("RNTO " + FTPPath);
}

}  // namespace velloran
