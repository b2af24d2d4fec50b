#pragma once

#include <cstdint>
#include <string>

namespace quenyx::platform {

// The text-catalog library: LoadResources(product) and GetString(key, buffer, length), UTF-16 text.
// GetString returns a value whose low 16 bits are all set when the key was found and its text written,
// NUL-ended, into the buffer.
class TextCatalog
{
public:
    virtual ~TextCatalog() = default;
    virtual void LoadResources(const std::u16string& product) = 0;
    virtual std::int32_t GetString(const std::u16string& key, char16_t* buffer, std::int32_t length) = 0;
};

} // namespace quenyx::platform
