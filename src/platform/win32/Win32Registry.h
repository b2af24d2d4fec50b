#pragma once

#include "platform/Registry.h"

namespace quenyx::platform::win32 {

// HKEY_LOCAL_MACHINE through the advapi32 A functions. Names and string data are converted between the
// program's UTF-8 and the ANSI code page at this boundary; every key opened here is closed before the
// call that opened it returns, save the RegistryKey handed to the caller, which closes on destruction.
class Win32Registry final : public RegistryBackend, public RegistryAdmin
{
public:
    // RegistryBackend
    RegStatus OpenKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& key) override;

    // RegistryAdmin; keys are created and opened in the 64-bit view. Nothing here is transactional, so
    // Atomically just runs the work.
    RegStatus CreateKey(std::string_view path) override;
    RegStatus DeleteKeyTree(std::string_view path) override;
    RegStatus SetRawValue(std::string_view path, const RawValue& value) override;
    RegStatus DeleteRawValue(std::string_view path, std::string_view name) override;
    RegStatus ListSubKeys(std::string_view path, std::vector<std::string>& names) override;
    RegStatus ListValues(std::string_view path, std::vector<RawValue>& values) override;

    // Makes HKEY_LOCAL_MACHINE, for this process only, stand for the key `path` of the real one; an empty
    // `path` gives the real one back (RegOverridePredefKey). Tests use it so that the console's absolute
    // paths land in a scratch hive of their own instead of the machine's configuration.
    static RegStatus OverrideLocalMachine(std::string_view path);
};

} // namespace quenyx::platform::win32
