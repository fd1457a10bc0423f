// The settings store that stands in for the registry: one SQLite database per
// user ($XDG_CONFIG_HOME/velloran/settings.db, folder 0700, file 0600) holding
// typed values under (root key, key path, value name). Key paths are written
// with "\" (leading, trailing and doubled separators do not matter); key paths
// and value names compare without regard to ASCII case, as registry keys do.
// A key exists once a value was written under it or under one of its sub-keys.
// Safe for several processes: WAL journal, a busy timeout, one IMMEDIATE
// transaction per write, retried while another process holds the lock.
// A file that is not a database, or is corrupt, is moved aside as
// settings.db.damaged-YYYYMMDD-HHMMSS and a fresh store is started; a store
// that exists but cannot be written (file or folder read-only) is read, and
// writes give false; a store that cannot be opened at all gives nothing on
// reads and false on writes. Opened read-only, a store is never created,
// changed or moved and no journal file is made: a missing, damaged or
// unreadable one gives nothing. Each failure is reported by one line on
// stderr. Thread-safe.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace quorvantell {

enum class eRegBaseKey : uint32_t { HKCR = 0x80000000u, HKCU = 0x80000001u, HKLM = 0x80000002u, HKU = 0x80000003u };

constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_BINARY = 3;
constexpr uint32_t REG_DWORD = 4;

struct RegValue {
    uint32_t type = REG_SZ;
    std::vector<uint8_t> data;
};

class SettingsStore {
public:
    enum class Access { ReadWrite, ReadOnly };

    // The store of this user, opened at the first use.
    static SettingsStore& User();
    // The user's store is to be opened read-only; call before its first use.
    static void OpenUserReadOnly();
    // $XDG_CONFIG_HOME/velloran/settings.db (or ~/.config/...); empty when
    // there is no home folder to put it in.
    static std::string DefaultPath();

    explicit SettingsStore(std::string path, Access access = Access::ReadWrite);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Nothing when the key or value is missing or the store is unavailable.
    std::optional<RegValue> GetValue(eRegBaseKey root, const std::string& key, const std::string& name);
    // Creates the key path when missing. False when the write failed or the
    // store is read-only.
    bool SetValue(eRegBaseKey root, const std::string& key, const std::string& name, const RegValue& value);
    // True when the value is absent afterwards; false when the store failed.
    bool DeleteValue(eRegBaseKey root, const std::string& key, const std::string& name);
    // Removes the key, its sub-keys and all their values. The root itself
    // (an empty key path) cannot be deleted: false.
    bool DeleteKey(eRegBaseKey root, const std::string& key);
    // The root (empty path) always exists.
    bool KeyExists(eRegBaseKey root, const std::string& key);

    const std::string& Path() const { return m_path; }
    bool Available() const { return m_db != nullptr; }

private:
    enum class Outcome { Ok, Damaged, Failed };

    void Open();
    void OpenReadOnly();
    bool PrepareFile(std::string& why) const;
    Outcome Connect(std::string& why);
    Outcome ConnectReadOnly(std::string& why);
    Outcome CheckIntegrity(std::string& why);
    Outcome CheckTables(std::string& why);
    Outcome Classify(int rc, std::string& why) const;
    void Disconnect();
    void RememberFile();
    bool StillSameFile() const;
    std::string MoveAside() const;
    void RestrictCompanionFiles() const;

    std::string m_path;
    bool m_readOnly;
    sqlite3* m_db = nullptr;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    std::mutex m_mutex;
};

}  // namespace quorvantell
