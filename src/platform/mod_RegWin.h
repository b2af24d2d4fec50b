#pragma once

#include "platform/Registry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The console's only way into the registry. Each operation opens one key of HKEY_LOCAL_MACHINE (64-bit
// view), does one job and closes it; none raises: results are a default text, a status or a sentinel list.
namespace quenyx::mod_RegWin {

using platform::RootKey;
inline constexpr RootKey HKLM = RootKey::LocalMachine;

// The value's text when it is a string value (REG_SZ or REG_EXPAND_SZ, up to its first NUL); else `defaultText`.
std::string GetSettingString(RootKey root, const std::string& keyPath, const std::string& valueName,
                             const std::string& defaultText);

// 0 written; 5 the key did not open for writing; otherwise the error of the store.
std::int32_t SaveSettingString(RootKey root, const std::string& keyPath, const std::string& valueName,
                               const std::string& text);

void DeleteSettingValue(RootKey root, const std::string& keyPath, const std::string& valueName);

// 1 when the key opened, else 0. `names` ends up holding the subkey names, or the single entry "0".
std::int32_t EnumKeys(RootKey root, const std::string& keyPath, std::vector<std::string>& names);

// `entries` ends up holding "name;data" for every value with data, or the single entry "-1".
void EnumValues(RootKey root, const std::string& keyPath, std::vector<std::string>& entries);

// While one lives, the registry reads share one consistent view where the store can offer one (the
// emulated machine), instead of taking a view each; a write ends it. For loops that read many values.
class SharedReads final
{
public:
    SharedReads();
    ~SharedReads();
    SharedReads(const SharedReads&) = delete;
    SharedReads& operator=(const SharedReads&) = delete;

private:
    std::shared_ptr<platform::RegistryBackend> backend_;
};

} // namespace quenyx::mod_RegWin
