#include "settings/GeneralKey.h"

#include <algorithm>

namespace quenyx::settings {

GeneralKeyCollection::Pointer GeneralKeyCollection::Add(std::string value, std::string key, std::string description,
                                                        std::string valueType, const std::string& sKey)
{
    if (!sKey.empty() && std::find(keys_.begin(), keys_.end(), sKey) != keys_.end())
        return nullptr;
    auto record = std::make_shared<GeneralKey>();
    record->setValue(std::move(value));
    record->setKey(std::move(key));
    record->setDescription(std::move(description));
    record->setValueType(std::move(valueType));
    items_.push_back(record);
    keys_.push_back(sKey);
    return record;
}

GeneralKeyCollection::Pointer GeneralKeyCollection::Item(std::size_t position) const
{
    return position >= 1 && position <= items_.size() ? items_[position - 1] : nullptr;
}

GeneralKeyCollection::Pointer GeneralKeyCollection::Item(const std::string& sKey) const
{
    if (sKey.empty())
        return nullptr;
    const auto found = std::find(keys_.begin(), keys_.end(), sKey);
    return found == keys_.end() ? nullptr : items_[static_cast<std::size_t>(found - keys_.begin())];
}

void GeneralKeyCollection::Clear()
{
    items_.clear();
    keys_.clear();
}

bool GeneralKeyCollection::Remove(std::size_t position)
{
    if (position < 1 || position > items_.size())
        return false;
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position - 1));
    keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(position - 1));
    return true;
}

bool GeneralKeyCollection::Remove(const std::string& sKey)
{
    if (sKey.empty())
        return false;
    const auto found = std::find(keys_.begin(), keys_.end(), sKey);
    return found != keys_.end() && Remove(static_cast<std::size_t>(found - keys_.begin()) + 1);
}

} // namespace quenyx::settings
