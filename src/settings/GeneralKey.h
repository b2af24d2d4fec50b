#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quenyx::settings {

// One value of the agent key, or one entry of the catalog of known settings.
class GeneralKey final
{
public:
    std::string ValueType() const { return valueType_; }
    void setValueType(std::string type) { valueType_ = std::move(type); }
    std::string Description() const { return description_; }
    void setDescription(std::string description) { description_ = std::move(description); }
    std::string Key() const { return key_; }
    void setKey(std::string key) { key_ = std::move(key); }
    std::string Value() const { return value_; }
    void setValue(std::string value) { value_ = std::move(value); }

private:
    std::string valueType_;
    std::string description_;
    std::string key_;
    std::string value_;
};

// An ordered list of GeneralKey addressed by position from 1, or by the optional key an entry was filed
// under. A position or key that addresses nothing gives null (Item) or false (Remove).
class GeneralKeyCollection final
{
public:
    using Pointer = std::shared_ptr<GeneralKey>;

    // Null, and nothing added, when `sKey` is already in use.
    Pointer Add(std::string value, std::string key, std::string description, std::string valueType,
                const std::string& sKey = {});
    Pointer Item(std::size_t position) const;
    Pointer Item(const std::string& sKey) const;
    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
    void Clear();
    bool Remove(std::size_t position);
    bool Remove(const std::string& sKey);
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<Pointer> items_;
    std::vector<std::string> keys_; // parallel to items_; empty where none was given
};

} // namespace quenyx::settings
