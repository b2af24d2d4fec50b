#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

namespace quenyx::platform {

// Finds the item whose key is `key` in `sorted` (ascending by `keyOf`, in the byte order the store sorts
// text in), looking first at `next`: a caller that asks in that same order finds nearly every key there
// without a search. `next` moves past the item found, or to where the key would be.
template <typename T, typename KeyOf>
const T* FindFrom(const std::vector<T>& sorted, std::size_t& next, std::string_view key, KeyOf keyOf)
{
    if (next < sorted.size() && keyOf(sorted[next]) == key)
        return &sorted[next++];
    const auto at = std::lower_bound(sorted.begin(), sorted.end(), key,
                                     [&keyOf](const T& item, std::string_view wanted) { return keyOf(item) < wanted; });
    next = static_cast<std::size_t>(at - sorted.begin());
    if (at == sorted.end() || keyOf(*at) != key)
        return nullptr;
    ++next;
    return &*at;
}

} // namespace quenyx::platform
