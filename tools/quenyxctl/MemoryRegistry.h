#pragma once

#include "platform/Registry.h"

#include <map>
#include <string>
#include <vector>

namespace quenyx::ctl {

// A registry in memory that also remembers every change asked of it, in order: a .reg file is read into one to
// be checked before anything of it reaches the machine, and the settings are gathered in one to be written out.
class MemoryRegistry final : public platform::RegistryAdmin
{
public:
    struct Change
    {
        enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
        Kind kind;
        std::string path;
        platform::RawValue value;
    };
    std::vector<Change> changes;

    platform::RegStatus CreateKey(std::string_view path) override;
    platform::RegStatus DeleteKeyTree(std::string_view path) override;
    platform::RegStatus SetRawValue(std::string_view path, const platform::RawValue& value) override;
    platform::RegStatus DeleteRawValue(std::string_view path, std::string_view name) override;
    platform::RegStatus ListSubKeys(std::string_view path, std::vector<std::string>& names) override;
    platform::RegStatus ListValues(std::string_view path, std::vector<platform::RawValue>& values) override;

private:
    struct Key
    {
        std::string path; // as first written
        std::vector<platform::RawValue> values;
    };
    std::map<std::string, Key> keys_; // by folded path
};

} // namespace quenyx::ctl
