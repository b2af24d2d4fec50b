#pragma once

#include "platform/emulated/EmulatedMachine.h"

#include <vector>

namespace quenyx::platform {

// A key handle of the emulated machine. Its enumerations read the key's subkeys or values once, at
// index 0, and answer the following indexes from that list, as one pass over a real key would.
class EmulatedMachine::Key final : public RegistryKey
{
public:
    Key(EmulatedMachine& machine, std::int64_t id, std::uint32_t access);
    ~Key() override;

    bool readOnly() const;

    RegStatus QueryValueInfo(std::string_view name, std::uint32_t& type, std::uint32_t& size) override;
    RegStatus QueryValue(std::string_view name, std::uint32_t capacity, std::uint32_t& type,
                         std::string& data) override;
    RegStatus SetValue(std::string_view name, std::uint32_t type, std::string_view data) override;
    RegStatus DeleteValue(std::string_view name) override;
    RegStatus EnumKey(std::uint32_t index, std::uint32_t nameCapacity, std::string& name) override;
    RegStatus EnumValue(std::uint32_t index, std::uint32_t nameCapacity, std::uint32_t dataCapacity, std::string& name,
                        std::string& data, std::uint32_t& dataLength) override;

private:
    EmulatedMachine& machine_;
    std::int64_t id_;
    std::uint32_t access_;
    bool keysLoaded_ = false;
    bool valuesLoaded_ = false;
    std::vector<std::string> subkeys_;
    std::vector<RawValue> values_;
    // The value QueryValueInfo found, for the QueryValue that follows it in the same view of the store.
    struct Found
    {
        std::uint64_t view = 0;
        std::string name; // as the caller spelled it, so that the same spelling is not folded again
        std::string fold;
        std::uint32_t type = 0;
        std::string data;
    };
    Found found_;
};

} // namespace quenyx::platform
