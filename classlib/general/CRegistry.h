// CRegistry: string, 32-bit and binary settings under a root key, key path
// and value name, in the user's settings store. Reads fall back to the
// caller's default on any failure; writes and deletes report nothing.
// Strings are stored as their UTF-8 bytes without a terminating NUL.
#pragma once

#include "classlib/ClassLibObject.h"
#include "classlib/general/SettingsStore.h"

#include <cstdint>
#include <string>

namespace quorvantell {

class CRegistry : public ClassLibObject {
public:
    // Uses the user's store (opened at the first access); a test may hand in
    // another one.
    CRegistry() = default;
    explicit CRegistry(SettingsStore& store);

    std::string GetKeyStr(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                          const std::string& KeyDefault = "") const;
    int32_t GetKeyWord(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                       int32_t KeyDefault = 0) const;
    void SetKeyStr(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                   std::string vValueSetting) const;
    void SetKeyWord(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                    int32_t vValueSetting) const;
    void DeleteValue(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName) const;
    void DeleteKey(eRegBaseKey BaseKey, const std::string& KeyName) const;

    // Binary values (REG_BINARY). A read succeeds only when the stored value
    // has exactly `size` bytes (the settings record relies on this); the
    // buffer is untouched otherwise.
    bool GetKeyBinary(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName, void* buffer,
                      uint32_t size) const;
    void SetKeyBinary(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                      const void* data, uint32_t size) const;

private:
    SettingsStore& Store() const;

    SettingsStore* m_store = nullptr;
};

}  // namespace quorvantell
