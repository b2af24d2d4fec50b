// Any bytes into the .reg reader. Besides not crashing: a rejected file changes nothing, and whatever a file
// imports exports and imports again into an identical registry.
#include "platform/RegFile.h"
#include "platform/Text.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

using namespace quenyx::platform;

// HKEY_LOCAL_MACHINE in memory, held to the emulated machine's rules: names compare folded and keep the
// case they were first written with, subkeys list in folded order, values in the order they were created.
class MemoryRegistry final : public RegistryAdmin
{
public:
    MemoryRegistry() { keys_[""] = {}; }

    RegStatus CreateKey(std::string_view path) override
    {
        std::vector<std::string> parts;
        if (!SplitKeyPath(path, parts))
            return reg_error::InvalidParameter;
        std::string folded;
        for (const std::string& part : parts) {
            folded += (folded.empty() ? "" : "\\") + FoldName(part);
            keys_.try_emplace(folded, Key{part, {}});
        }
        return reg_error::Success;
    }

    RegStatus DeleteKeyTree(std::string_view path) override
    {
        const auto found = Find(path);
        if (found == keys_.end())
            return reg_error::FileNotFound;
        if (found->first.empty())
            return reg_error::AccessDenied;
        const std::string below = found->first + "\\";
        keys_.erase(found);
        auto end = keys_.lower_bound(below);
        while (end != keys_.end() && end->first.starts_with(below))
            ++end;
        keys_.erase(keys_.lower_bound(below), end);
        return reg_error::Success;
    }

    RegStatus SetRawValue(std::string_view path, const RawValue& value) override
    {
        const auto found = Find(path);
        if (found == keys_.end())
            return reg_error::FileNotFound;
        auto& values = found->second.values;
        for (RawValue& existing : values) {
            if (EqualsIgnoringCase(existing.name, value.name)) {
                existing.type = value.type;
                existing.data = value.data;
                return reg_error::Success;
            }
        }
        values.push_back(value);
        return reg_error::Success;
    }

    RegStatus DeleteRawValue(std::string_view path, std::string_view name) override
    {
        const auto found = Find(path);
        if (found == keys_.end())
            return reg_error::FileNotFound;
        auto& values = found->second.values;
        const auto before = values.size();
        std::erase_if(values, [&](const RawValue& value) { return EqualsIgnoringCase(value.name, name); });
        return values.size() < before ? reg_error::Success : reg_error::FileNotFound;
    }

    RegStatus ListSubKeys(std::string_view path, std::vector<std::string>& names) override
    {
        names.clear();
        const auto found = Find(path);
        if (found == keys_.end())
            return reg_error::FileNotFound;
        const std::string below = found->first.empty() ? "" : found->first + "\\";
        for (auto it = keys_.lower_bound(below); it != keys_.end() && it->first.starts_with(below); ++it) {
            const std::string_view rest = std::string_view(it->first).substr(below.size());
            if (!rest.empty() && rest.find('\\') == std::string_view::npos)
                names.push_back(it->second.name);
        }
        return reg_error::Success;
    }

    RegStatus ListValues(std::string_view path, std::vector<RawValue>& values) override
    {
        const auto found = Find(path);
        if (found == keys_.end())
            return reg_error::FileNotFound;
        values = found->second.values;
        return reg_error::Success;
    }

    RegStatus Atomically(const std::function<RegStatus()>& work) override
    {
        const auto saved = keys_;
        const RegStatus status = work();
        if (status != reg_error::Success)
            keys_ = saved;
        return status;
    }

    // Everything, names and bytes as stored, for comparing two registries.
    std::string Dump() const
    {
        std::string out;
        for (const auto& [folded, key] : keys_) {
            out += "[" + key.name + "]" + std::to_string(folded.size()) + "\n";
            for (const RawValue& value : key.values)
                out += value.name + "|" + std::to_string(value.type) + "|" + value.data + "\n";
        }
        return out;
    }

    bool Empty() const { return keys_.size() == 1 && keys_.begin()->second.values.empty(); }

private:
    struct Key
    {
        std::string name;
        std::vector<RawValue> values;
    };

    std::map<std::string, Key>::iterator Find(std::string_view path)
    {
        std::vector<std::string> parts;
        if (!SplitKeyPath(path, parts))
            return keys_.end();
        std::string folded;
        for (const std::string& part : parts)
            folded += (folded.empty() ? "" : "\\") + FoldName(part);
        return keys_.find(folded);
    }

    std::map<std::string, Key> keys_; // by folded path; "" is HKEY_LOCAL_MACHINE itself
};

[[noreturn]] void Fault(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "fuzz_regfile: %s: %s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    MemoryRegistry first;
    RegFileError error;
    if (!ImportRegFile(file, first, error)) {
        if (!first.Empty())
            Fault("a rejected file changed the registry", error.message);
        return 0;
    }

    std::string exported;
    std::string why;
    if (!ExportRegFile(first, "", exported, why))
        Fault("an imported registry does not export", why);
    MemoryRegistry second;
    if (!ImportRegFile(exported, second, error))
        Fault("an export does not import", "line " + std::to_string(error.line) + ": " + error.message);
    if (first.Dump() != second.Dump())
        Fault("an export imports into a different registry", first.Dump() + "\n----\n" + second.Dump());
    return 0;
}
