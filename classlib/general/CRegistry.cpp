// CRegistry: registry-style settings over the user's settings store.
#include "classlib/general/CRegistry.h"

#include <algorithm>
#include <cstring>

namespace quorvantell {

CRegistry::CRegistry(SettingsStore& store) : m_store(&store) {}

SettingsStore& CRegistry::Store() const
{
    return m_store != nullptr ? *m_store : SettingsStore::User();
}

// Any value type is read as text; the text ends at the first NUL.
std::string CRegistry::GetKeyStr(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                                 const std::string& KeyDefault) const
{
    const auto value = Store().GetValue(BaseKey, KeyName, ValueName);
    if (!value)
        return KeyDefault;
    const auto& data = value->data;
    return std::string(data.begin(), std::find(data.begin(), data.end(), uint8_t{0}));
}

// Any value type whose data fits in 4 bytes, read little-endian.
int32_t CRegistry::GetKeyWord(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                              int32_t KeyDefault) const
{
    const auto value = Store().GetValue(BaseKey, KeyName, ValueName);
    if (!value || value->data.size() > 4)
        return KeyDefault;
    uint32_t word = 0;
    for (size_t i = 0; i < value->data.size(); ++i)
        word |= static_cast<uint32_t>(value->data[i]) << (8 * i);
    return static_cast<int32_t>(word);
}

void CRegistry::SetKeyStr(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                          std::string vValueSetting) const
{
    Store().SetValue(BaseKey, KeyName, ValueName, {REG_SZ, {vValueSetting.begin(), vValueSetting.end()}});
}

void CRegistry::SetKeyWord(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                           int32_t vValueSetting) const
{
    const auto word = static_cast<uint32_t>(vValueSetting);
    Store().SetValue(BaseKey, KeyName, ValueName,
                     {REG_DWORD,
                      {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word >> 16),
                       static_cast<uint8_t>(word >> 24)}});
}

void CRegistry::DeleteValue(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName) const
{
    Store().DeleteValue(BaseKey, KeyName, ValueName);
}

void CRegistry::DeleteKey(eRegBaseKey BaseKey, const std::string& KeyName) const
{
    Store().DeleteKey(BaseKey, KeyName);
}

bool CRegistry::GetKeyBinary(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                             void* buffer, uint32_t size) const
{
    const auto value = Store().GetValue(BaseKey, KeyName, ValueName);
    if (!value || value->data.size() != size)
        return false;
    if (size > 0)
        std::memcpy(buffer, value->data.data(), size);
    return true;
}

void CRegistry::SetKeyBinary(eRegBaseKey BaseKey, const std::string& KeyName, const std::string& ValueName,
                             const void* data, uint32_t size) const
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    Store().SetValue(BaseKey, KeyName, ValueName, {REG_BINARY, {bytes, bytes + size}});
}

}  // namespace quorvantell
