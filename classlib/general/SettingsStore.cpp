// The per-user settings store over SQLite; see SettingsStore.h.
#include "classlib/general/SettingsStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

namespace quorvantell {

namespace {

// Each attempt waits up to the busy timeout for the other process; a few
// attempts cover the cases where SQLite reports "busy" without waiting (a
// lock upgrade that could deadlock, WAL set-up by another process).
constexpr int kBusyTimeoutMs = 5000;
constexpr int kBusyAttempts = 10;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS reg_keys ("
    " root INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE,"
    " PRIMARY KEY (root, path)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS reg_values ("
    " root INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,"
    " type INTEGER NOT NULL, data BLOB NOT NULL,"
    " PRIMARY KEY (root, path, name)) WITHOUT ROWID;";

// A prepared statement that finalises itself. A statement that failed to
// prepare reports the preparation's error from Step.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { m_rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, eRegBaseKey root)
    {
        sqlite3_bind_int64(m_stmt, index, static_cast<int64_t>(root));
        return *this;
    }
    Statement& Bind(int index, int64_t number)
    {
        sqlite3_bind_int64(m_stmt, index, number);
        return *this;
    }
    Statement& Bind(int index, const std::string& text)
    {
        sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // A zero-length blob still needs a non-null pointer, or SQLite binds NULL.
    Statement& Bind(int index, const std::vector<uint8_t>& blob)
    {
        static const uint8_t empty = 0;
        sqlite3_bind_blob(m_stmt, index, blob.empty() ? &empty : blob.data(), static_cast<int>(blob.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    int Step() { return m_stmt != nullptr ? sqlite3_step(m_stmt) : (m_rc != SQLITE_OK ? m_rc : SQLITE_ERROR); }
    // Step for a statement that returns no rows: SQLITE_OK when it ran.
    int Run()
    {
        const int rc = Step();
        return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
    }
    sqlite3_stmt* Get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = SQLITE_OK;
};

// "\a\\b\" and "a\b" name the same key: segments joined by single "\".
std::string NormaliseKey(const std::string& key)
{
    std::string out;
    size_t start = 0;
    while (start <= key.size()) {
        size_t end = key.find('\\', start);
        if (end == std::string::npos)
            end = key.size();
        if (end > start) {
            if (!out.empty())
                out += '\\';
            out.append(key, start, end - start);
        }
        start = end + 1;
    }
    return out;
}

bool IsBusy(int rc)
{
    return (rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED;
}

// Runs op (returning an SQLite code) again while the database is busy.
template <typename Op>
int RetryWhileBusy(Op op)
{
    int rc = SQLITE_BUSY;
    for (int attempt = 1; attempt <= kBusyAttempts; ++attempt) {
        rc = op();
        if (!IsBusy(rc))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20 * attempt));
    }
    return rc;
}

// Runs body (returning an SQLite code) as one BEGIN IMMEDIATE ... COMMIT
// transaction, retried as a whole while busy. SQLITE_OK on success.
template <typename Body>
int Transaction(sqlite3* db, Body body)
{
    return RetryWhileBusy([db, &body] {
        int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return rc;
        rc = body();
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK && !sqlite3_get_autocommit(db))
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return rc;
    });
}

// SQLite deletes a -wal file beside a file it cannot use; a file that is
// plainly not a database is recognised before SQLite sees it, so that its
// companions are moved aside with it. An empty file is a new database.
bool LooksLikeDatabase(const std::string& path)
{
    static const char kMagic[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return true;  // SQLite will report what is wrong
    char header[sizeof kMagic];
    const ssize_t got = read(fd, header, sizeof header);
    close(fd);
    return got == 0 || (got == sizeof header && std::memcmp(header, kMagic, sizeof header) == 0);
}

// Creates the missing folders of the path with mode 0700 (settings are
// private to the user).
bool MakeFolders(const std::string& folder)
{
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat st{};
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return home;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr && found->pw_dir != nullptr)
        return found->pw_dir;
    return {};
}

bool Exists(const std::string& path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}

// A read-only "file:" URI for the path, its bytes escaped where a URI would
// read them otherwise.
std::string ReadOnlyUri(const std::string& path, bool immutable)
{
    std::string uri = "file:";
    for (const char c : path) {
        if (std::isalnum(static_cast<unsigned char>(c)) || std::strchr("/._-~", c) != nullptr) {
            uri += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            uri += escaped;
        }
    }
    return uri + (immutable ? "?mode=ro&immutable=1" : "?mode=ro");
}

std::atomic<bool> g_userReadOnly{false};

void Report(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stderr);
}

}  // namespace

SettingsStore& SettingsStore::User()
{
    static SettingsStore store(DefaultPath(), g_userReadOnly ? Access::ReadOnly : Access::ReadWrite);
    return store;
}

void SettingsStore::OpenUserReadOnly()
{
    g_userReadOnly = true;
}

std::string SettingsStore::DefaultPath()
{
    std::string base;
    // Relative XDG paths are invalid and must be ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/')
        base = xdg;
    else if (const std::string home = HomeFolder(); !home.empty())
        base = home + "/.config";
    return base.empty() ? std::string() : base + "/velloran/settings.db";
}

SettingsStore::SettingsStore(std::string path, Access access)
    : m_path(std::move(path)), m_readOnly(access == Access::ReadOnly)
{
    if (m_readOnly)
        OpenReadOnly();
    else
        Open();
}

SettingsStore::~SettingsStore()
{
    Disconnect();
}

void SettingsStore::Open()
{
    std::string why;
    Outcome outcome = PrepareFile(why) ? Connect(why) : Outcome::Failed;
    if (outcome == Outcome::Damaged) {
        Disconnect();
        // Another process may have replaced the damaged file already.
        if (StillSameFile()) {
            const std::string aside = MoveAside();
            if (aside.empty()) {
                Report("velloran: the settings store " + m_path + " is damaged and could not be moved aside (" +
                       std::strerror(errno) + "); settings will not be kept");
                return;
            }
            Report("velloran: the settings store " + m_path + " was damaged; it was moved to " + aside +
                   " and a fresh store was started");
        }
        outcome = PrepareFile(why) ? Connect(why) : Outcome::Failed;
    }
    if (outcome != Outcome::Ok) {
        Disconnect();
        // A store this user may read but not write still holds the settings.
        std::string readWhy;
        if (Exists(m_path) && ConnectReadOnly(readWhy) == Outcome::Ok) {
            m_readOnly = true;
            Report("velloran: the settings store " + m_path + " cannot be written (" + why +
                   "); its settings are read, but changes will not be kept");
            return;
        }
        Disconnect();
        Report("velloran: cannot open the settings store " + (m_path.empty() ? "(no home folder)" : m_path) + ": " +
               why + "; settings will not be kept");
        return;
    }
    RestrictCompanionFiles();
}

void SettingsStore::OpenReadOnly()
{
    if (m_path.empty() || !Exists(m_path)) {
        Report("velloran: there is no settings store " + (m_path.empty() ? "(no home folder)" : m_path) +
               "; the default settings apply");
        return;
    }
    std::string why;
    const Outcome outcome = ConnectReadOnly(why);
    if (outcome == Outcome::Ok)
        return;
    Disconnect();
    Report(outcome == Outcome::Damaged ? "velloran: the settings store " + m_path + " is damaged (" + why +
                                             "); it is left as it is and the default settings apply"
                                       : "velloran: cannot read the settings store " + m_path + ": " + why +
                                             "; the default settings apply");
}

// Creates the folder and an empty file with mode 0600 before SQLite sees
// it; SQLite gives its -wal and -shm files the mode of the database.
bool SettingsStore::PrepareFile(std::string& why) const
{
    const size_t slash = m_path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(m_path.substr(0, slash))) {
        why = std::string("cannot create its folder: ") + std::strerror(errno);
        return false;
    }
    const int fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        why = std::strerror(errno);
        return false;
    }
    fchmod(fd, 0600);
    close(fd);
    return true;
}

SettingsStore::Outcome SettingsStore::Connect(std::string& why)
{
    if (!LooksLikeDatabase(m_path)) {
        RememberFile();
        why = "not a database";
        return Outcome::Damaged;
    }
    int rc = sqlite3_open_v2(m_path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        return Classify(rc, why);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    RememberFile();
    rc = RetryWhileBusy([this] {
        return sqlite3_exec(m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr);
    });
    if (rc != SQLITE_OK)
        return Classify(rc, why);
    if (const Outcome checked = CheckIntegrity(why); checked != Outcome::Ok)
        return checked;
    rc = Transaction(m_db, [this] { return sqlite3_exec(m_db, kSchema, nullptr, nullptr, nullptr); });
    if (rc != SQLITE_OK)
        return Classify(rc, why);
    return CheckTables(why);
}

// Reads without creating, changing or moving anything. A read-only
// connection to a database in WAL mode would make the -wal and -shm files
// itself; without them the file holds every setting, so SQLite is told it
// is immutable. While a program has the store open (both files there) they
// are read through, locks and all.
SettingsStore::Outcome SettingsStore::ConnectReadOnly(std::string& why)
{
    if (!LooksLikeDatabase(m_path)) {
        why = "not a database";
        return Outcome::Damaged;
    }
    const bool inUse = Exists(m_path + "-wal") && Exists(m_path + "-shm");
    const int rc = sqlite3_open_v2(ReadOnlyUri(m_path, !inUse).c_str(), &m_db,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        return Classify(rc, why);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    const Outcome checked = CheckIntegrity(why);
    return checked == Outcome::Ok ? CheckTables(why) : checked;
}

SettingsStore::Outcome SettingsStore::CheckIntegrity(std::string& why)
{
    std::string verdict;
    const int rc = RetryWhileBusy([this, &verdict] {
        Statement check(m_db, "PRAGMA quick_check(1)");
        const int step = check.Step();
        if (step == SQLITE_ROW && sqlite3_column_text(check.Get(), 0) != nullptr)
            verdict = reinterpret_cast<const char*>(sqlite3_column_text(check.Get(), 0));
        return step == SQLITE_ROW ? SQLITE_OK : step;
    });
    if (rc != SQLITE_OK)
        return Classify(rc, why);
    if (verdict != "ok") {
        why = verdict.empty() ? "integrity check failed" : verdict;
        return Outcome::Damaged;
    }
    return Outcome::Ok;
}

// A database of another program (or one without our tables) is no store.
SettingsStore::Outcome SettingsStore::CheckTables(std::string& why)
{
    for (const char* probe : {"SELECT root, path FROM reg_keys", "SELECT root, path, name, type, data FROM reg_values"}) {
        if (Statement(m_db, probe).Get() == nullptr) {
            why = "unexpected tables";
            return Outcome::Damaged;
        }
    }
    return Outcome::Ok;
}

SettingsStore::Outcome SettingsStore::Classify(int rc, std::string& why) const
{
    why = m_db != nullptr ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
    const int primary = rc & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT ? Outcome::Damaged : Outcome::Failed;
}

void SettingsStore::Disconnect()
{
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void SettingsStore::RememberFile()
{
    struct stat st{};
    if (stat(m_path.c_str(), &st) == 0) {
        m_device = st.st_dev;
        m_inode = st.st_ino;
    }
}

bool SettingsStore::StillSameFile() const
{
    struct stat st{};
    return stat(m_path.c_str(), &st) == 0 && st.st_dev == m_device && st.st_ino == m_inode;
}

// Renames the database with its -wal and -shm files to
// settings.db.damaged-YYYYMMDD-HHMMSS (a number added if that name is taken)
// and returns the new name; empty when the rename failed.
std::string SettingsStore::MoveAside() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = m_path + ".damaged-" + stamp;
    std::string target = base;
    for (int n = 2; Exists(target); ++n)
        target = base + "-" + std::to_string(n);
    if (std::rename(m_path.c_str(), target.c_str()) != 0)
        return {};
    for (const char* companion : {"-wal", "-shm"}) {
        const std::string from = m_path + companion;
        if (Exists(from))
            std::rename(from.c_str(), (target + companion).c_str());
    }
    return target;
}

void SettingsStore::RestrictCompanionFiles() const
{
    chmod(m_path.c_str(), 0600);
    chmod((m_path + "-wal").c_str(), 0600);
    chmod((m_path + "-shm").c_str(), 0600);
}

std::optional<RegValue> SettingsStore::GetValue(eRegBaseKey root, const std::string& key, const std::string& name)
{
    std::lock_guard lock(m_mutex);
    if (m_db == nullptr)
        return std::nullopt;
    std::optional<RegValue> value;
    RetryWhileBusy([&] {
        Statement select(m_db, "SELECT type, data FROM reg_values WHERE root = ?1 AND path = ?2 AND name = ?3");
        const int rc = select.Bind(1, root).Bind(2, NormaliseKey(key)).Bind(3, name).Step();
        if (rc == SQLITE_ROW) {
            const auto* bytes = static_cast<const uint8_t*>(sqlite3_column_blob(select.Get(), 1));
            value = RegValue{static_cast<uint32_t>(sqlite3_column_int64(select.Get(), 0)),
                             {bytes, bytes + sqlite3_column_bytes(select.Get(), 1)}};
        }
        return rc;
    });
    return value;
}

bool SettingsStore::SetValue(eRegBaseKey root, const std::string& key, const std::string& name, const RegValue& value)
{
    std::lock_guard lock(m_mutex);
    if (m_db == nullptr || m_readOnly)
        return false;
    const std::string path = NormaliseKey(key);
    return Transaction(m_db, [&] {
        // The key and each of its parents, so that KeyExists sees them.
        for (size_t end = path.find('\\'); !path.empty(); end = path.find('\\', end + 1)) {
            Statement addKey(m_db, "INSERT OR IGNORE INTO reg_keys (root, path) VALUES (?1, ?2)");
            if (const int rc = addKey.Bind(1, root).Bind(2, path.substr(0, end)).Run(); rc != SQLITE_OK)
                return rc;
            if (end == std::string::npos)
                break;
        }
        Statement put(m_db,
                      "INSERT INTO reg_values (root, path, name, type, data) VALUES (?1, ?2, ?3, ?4, ?5)"
                      " ON CONFLICT (root, path, name) DO UPDATE SET type = excluded.type, data = excluded.data");
        return put.Bind(1, root).Bind(2, path).Bind(3, name).Bind(4, int64_t{value.type}).Bind(5, value.data).Run();
    }) == SQLITE_OK;
}

bool SettingsStore::DeleteValue(eRegBaseKey root, const std::string& key, const std::string& name)
{
    std::lock_guard lock(m_mutex);
    if (m_db == nullptr || m_readOnly)
        return false;
    return Transaction(m_db, [&] {
        Statement remove(m_db, "DELETE FROM reg_values WHERE root = ?1 AND path = ?2 AND name = ?3");
        return remove.Bind(1, root).Bind(2, NormaliseKey(key)).Bind(3, name).Run();
    }) == SQLITE_OK;
}

bool SettingsStore::DeleteKey(eRegBaseKey root, const std::string& key)
{
    std::lock_guard lock(m_mutex);
    const std::string path = NormaliseKey(key);
    if (m_db == nullptr || m_readOnly || path.empty())
        return false;
    // Sub-keys by an exact prefix test: LIKE would read "_" and "%" in key
    // names as wildcards and "Sites" would catch "Sites2".
    return Transaction(m_db, [&] {
        for (const char* sql : {"DELETE FROM reg_values WHERE root = ?1 AND (path = ?2 OR"
                                " substr(path, 1, length(?3)) = ?3 COLLATE NOCASE)",
                                "DELETE FROM reg_keys WHERE root = ?1 AND (path = ?2 OR"
                                " substr(path, 1, length(?3)) = ?3 COLLATE NOCASE)"}) {
            Statement remove(m_db, sql);
            if (const int rc = remove.Bind(1, root).Bind(2, path).Bind(3, path + "\\").Run(); rc != SQLITE_OK)
                return rc;
        }
        return SQLITE_OK;
    }) == SQLITE_OK;
}

bool SettingsStore::KeyExists(eRegBaseKey root, const std::string& key)
{
    std::lock_guard lock(m_mutex);
    const std::string path = NormaliseKey(key);
    if (path.empty())
        return true;
    if (m_db == nullptr)
        return false;
    const int rc = RetryWhileBusy([&] {
        Statement select(m_db, "SELECT 1 FROM reg_keys WHERE root = ?1 AND path = ?2");
        return select.Bind(1, root).Bind(2, path).Step();
    });
    return rc == SQLITE_ROW;
}

}  // namespace quorvantell
