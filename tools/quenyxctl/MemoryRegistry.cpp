#include "MemoryRegistry.h"

#include "platform/Text.h"

#include <algorithm>

namespace quenyx::ctl {

using platform::RawValue;
using platform::RegStatus;
namespace reg_error = platform::reg_error;

RegStatus MemoryRegistry::CreateKey(std::string_view path)
{
    changes.push_back({Change::Kind::CreateKey, std::string(path), {}});
    std::vector<std::string> parts;
    if (!platform::SplitKeyPath(path, parts))
        return reg_error::InvalidParameter;
    std::string whole;
    for (const std::string& part : parts) {
        whole = whole.empty() ? part : whole + "\\" + part;
        keys_.try_emplace(platform::FoldName(whole), Key{whole, {}});
    }
    return reg_error::Success;
}

RegStatus MemoryRegistry::DeleteKeyTree(std::string_view path)
{
    changes.push_back({Change::Kind::DeleteKey, std::string(path), {}});
    return reg_error::Success;
}

RegStatus MemoryRegistry::SetRawValue(std::string_view path, const RawValue& value)
{
    changes.push_back({Change::Kind::SetValue, std::string(path), value});
    if (const RegStatus created = CreateKey(path); created != reg_error::Success)
        return created;
    changes.pop_back(); // the key was made for the value, not asked for
    auto& values = keys_[platform::FoldName(path)].values;
    const auto same = std::ranges::find_if(
        values, [&](const RawValue& held) { return platform::EqualsIgnoringCase(held.name, value.name); });
    if (same != values.end())
        *same = value;
    else
        values.push_back(value);
    return reg_error::Success;
}

RegStatus MemoryRegistry::DeleteRawValue(std::string_view path, std::string_view name)
{
    changes.push_back({Change::Kind::DeleteValue, std::string(path), RawValue{std::string(name), 0, {}}});
    return reg_error::Success;
}

RegStatus MemoryRegistry::ListSubKeys(std::string_view path, std::vector<std::string>& names)
{
    names.clear();
    const std::string parent = platform::FoldName(path);
    for (const auto& [folded, key] : keys_) {
        const std::size_t cut = folded.rfind('\\');
        const std::string above = cut == std::string::npos ? std::string() : folded.substr(0, cut);
        if (above == parent)
            names.push_back(cut == std::string::npos ? key.path : key.path.substr(cut + 1));
    }
    return reg_error::Success;
}

RegStatus MemoryRegistry::ListValues(std::string_view path, std::vector<RawValue>& values)
{
    const auto found = keys_.find(platform::FoldName(path));
    if (found == keys_.end())
        return reg_error::FileNotFound;
    values = found->second.values;
    return reg_error::Success;
}

} // namespace quenyx::ctl
