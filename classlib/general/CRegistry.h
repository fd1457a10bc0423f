// CRegistry: string and 32-bit settings under a root key, key path and value
// name, in the user's settings store. Reads fall back to the caller's default
// on any failure; writes and deletes report nothing.
#pragma once

#include "classlib/ClassLibObject.h"
#include "classlib/general/SettingsStore.h"

#include <cstdint>
#include <string>

namespace quorvantell {

class CRegistry : public ClassLibObject {
public:
    // Uses the user's store; a test may hand in another one.
    CRegistry();
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

    // A binary value read whole: succeeds only when the stored value has
    // exactly `size` bytes (the settings record relies on this).
    bool GetKeyBinary(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName, void* buffer,
                      uint32_t size) const;
    void SetKeyBinary(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                      const void* data, uint32_t size) const;

private:
    SettingsStore* m_store;
};

}  // namespace quorvantell
