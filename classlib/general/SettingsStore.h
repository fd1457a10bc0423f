// The settings store that stands in for the registry: one SQLite database per
// user ($XDG_CONFIG_HOME/velloran/settings.db, mode 0600) holding typed values
// under (root key, key path, value name). Key paths are written with "\" and
// compared without regard to ASCII case, as registry keys are. Safe for
// several processes: WAL journal, a busy timeout, one transaction per write.
// A file that is not a database, or is corrupt, is moved aside with a
// timestamp and a fresh store is started.
#pragma once

#include <cstdint>
#include <memory>
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
    // The store of this user, opened at the first use.
    static SettingsStore& User();
    // $XDG_CONFIG_HOME/velloran/settings.db (or ~/.config/...).
    static std::string DefaultPath();

    explicit SettingsStore(std::string path);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    std::optional<RegValue> GetValue(eRegBaseKey root, const std::string& key, const std::string& name);
    // Creates the key path when missing. False when the write failed.
    bool SetValue(eRegBaseKey root, const std::string& key, const std::string& name, const RegValue& value);
    bool DeleteValue(eRegBaseKey root, const std::string& key, const std::string& name);
    // Removes the key, its sub-keys and all their values.
    bool DeleteKey(eRegBaseKey root, const std::string& key);
    bool KeyExists(eRegBaseKey root, const std::string& key);

    const std::string& Path() const { return m_path; }

private:
    void Open();
    void MoveAside();
    bool Execute(const char* sql);

    std::string m_path;
    sqlite3* m_db = nullptr;
    std::mutex m_mutex;
};

}  // namespace quorvantell
