// CFTP: the program's one FTP session - connect, breadth-first listing of a
// server tree, transfers, deletes, folders, time stamping and raw commands -
// plus the string functions that turn server paths into local ones and back.
// Listings use MLSD where the server offers it and LIST otherwise; LIST
// times are made exact with MDTM where the server offers that. Every call
// blocks until the server has answered. Listing and connection
// failures while listing raise AppError::kFtpError; everything else reports
// through its result.
#pragma once

#include "app/ftp/FtpListParser.h"
#include "app/ftp/FtpTransport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velloran {

class CFTP {
public:
    CFTP();
    ~CFTP();
    CFTP(const CFTP&) = delete;
    CFTP& operator=(const CFTP&) = delete;

    // Server: a host, "host:port" or "scheme://host[:port]" (see FtpAddress).
    // Passive: EPSV, then PASV; otherwise active mode. False when the server
    // cannot be reached or refuses the login, or when the user name or
    // password holds a CR, LF or NUL (nothing is sent); nothing stays open then.
    bool Connect(const std::string& Server, const std::string& User, const std::string& Password, bool Passive);
    void Disconnect();
    // The key fingerprint ("SHA256:...") the next Connects accept from a TLS
    // server whose certificate no trusted CA vouches for; empty: none.
    void TrustKey(const std::string& fingerprint);
    // After a Connect refused for the server's key: the fingerprint of the
    // key it offered, to show the user; empty otherwise.
    const std::string& UntrustedKey() const;

    // Lists Path (ending in "/") and, with SubDirs, every folder below it,
    // breadth first: the files of the base, then those of each subfolder in
    // the order it was found. FileSpec "*.*;" returns every file; anything
    // else is matched against each name (";"-separated wildcard patterns).
    void FindFilesInit(const std::string& Path, const std::string& FileSpec, bool SubDirs);
    // One file per call, its path relative to the base ("/"-separated); false
    // at the end with Dirs = the number of subfolders found.
    bool GetNextFile(std::string& FileName, int64_t& ModifiedRaw, int64_t& FileSize, int32_t& Dirs);
    // Entry 0 is the base (""), entries 1..Dirs the subfolders ("docs/",
    // "docs/img/"). An index outside the buffer throws std::out_of_range.
    std::string DirBuf(int32_t Index) const;
    std::string FileBuf(int32_t Index) const;
    // The handle of the folder being read (0 when none); FindClose with it
    // ends that folder's reading and the listing moves on to the next one.
    uint32_t FindHandle() const;
    void FindClose(uint32_t hFindFile);
    void Clear();
    // Entries of the last listing that were not taken because their names
    // could lead out of the listed folder: ".", ".." as file names, names
    // holding "/" or NUL. Each is the folder's relative path and the raw name.
    const std::vector<std::string>& SkippedNames() const;
    // Subfolders of the last listing that the server refused to list, by
    // their relative paths ("docs/img/"). What they hold is unknown, which is
    // not the same as empty; they stay in DirBuf.
    const std::vector<std::string>& UnreadFolders() const;

    bool GetFile(const std::string& FTPPath, const std::string& Path);
    // Sends the local file to a new temporary name beside FTPPath, stamps it
    // with the local file's time (as SetTime does) and renames it over
    // FTPPath; a server that will not rename over a file has the old one
    // deleted first. False when the file could not be read or the transfer
    // or the rename failed; the temporary file is then deleted where the
    // connection allows, and FTPPath is as it was (or, where the server
    // refused the rename after deleting it, gone).
    bool PutFile(const std::string& Path, const std::string& FTPPath);
    bool Delete(const std::string& Path);
    bool CreateDir(const std::string& Path);
    bool RemoveDir(const std::string& Path);
    void SetTime(const std::string& FTPPath, int64_t FileTimeUTC);
    std::string Command(const std::string& text);

    static std::string AddSlash(const std::string& path);
    static std::string PrependSlash(const std::string& path);
    static std::string StripSlash(const std::string& path);
    static std::string FileNameFromPath(const std::string& fullPath);
    static std::string PathOnly(const std::string& fullPath);
    static std::string FileTitle(const std::string& fullPath);
    // The path part of ftp://server/dir/f.txt (or sftp://, ftpes:// ...);
    // std::invalid_argument when no "/" follows the server.
    static std::string StripDomain(const std::string& path);
    static std::string SlashToDos(const std::string& path);
    static std::string SlashToUnix(const std::string& path);

private:
    // Reads one folder (base + relative) into m_entries; an empty folder
    // leaves no handle open.
    FtpTransport::ListResult OpenFolder(const std::string& relative);
    FtpTransport::ListResult ListFolder(const std::string& path, std::vector<FtpEntry>& entries);
    // LIST times stop at the minute, or at the day for older files; the
    // server's MDTM gives each file's time to the second.
    void RefineTimes(const std::string& path, std::vector<FtpEntry>& entries);
    void AddDir(const std::string& name);
    void Advance();
    // Sends a command that expects a positive completion (2xx).
    bool Succeeds(const std::string& command);
    // The commands that follow a stored upload at `temp`: its time, then
    // the rename to `name` (both bare names in the same folder).
    std::vector<std::string> AfterUpload(const std::string& temp, const std::string& name, int64_t FileTimeUTC) const;
    // The rename over a file the server would not replace: delete, then rename.
    bool ReplaceByRename(const std::string& temp, const std::string& FTPPath);

    // A transport for the scheme, replacing one for another kind.
    void UseTransport(FtpScheme scheme);

    std::unique_ptr<FtpTransport> m_transport;
    bool m_sftp = false;
    std::string m_trustedKey;
    // Only of the last Connect: an address refused before any connection
    // leaves no key of an earlier one behind.
    std::string m_untrustedKey;
    bool m_hasMlsd = false;
    bool m_hasMfmt = false;
    bool m_hasMdtm = false;
    std::string m_listCommand;

    uint32_t m_hFind = 0;
    uint32_t m_lastHandle = 0;
    std::vector<FtpEntry> m_entries;  // the folder being read
    size_t m_next = 0;                // its entry not yet handed out
    std::string m_basePath;
    std::string m_fileSpec;
    bool m_allFiles = false;
    bool m_subDirs = false;
    std::vector<std::string> m_dirBuf;
    std::vector<std::string> m_fileBuf;
    int32_t m_nDirs = 0;
    int32_t m_curDir = 0;
    std::vector<std::string> m_skipped;
    std::vector<std::string> m_unread;
};

}  // namespace velloran
