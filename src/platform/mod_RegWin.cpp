#include "platform/mod_RegWin.h"

#include "platform/Platform.h"
#include "platform/mod_Trace.h"

#include <algorithm>
#include <utility>

namespace quenyx::mod_RegWin {

namespace {

using namespace platform;
using mod_Trace::WriteTrace;

constexpr std::uint32_t kEnumNameCapacity = 255;
constexpr std::uint32_t kEnumDataCapacity = 255;
// The longest value name the registry allows (16,383 characters) and its NUL.
constexpr std::uint32_t kMaxValueNameCapacity = 16384;
// How often one entry is asked for again: the value may grow between two asks.
constexpr int kMaxAsks = 4;

RegStatus Open(const std::string& keyPath, std::uint32_t access, std::unique_ptr<RegistryKey>& key)
{
    const auto& backend = Current().registry;
    if (!backend)
        return reg_error::FileNotFound;
    return backend->OpenKey(keyPath, access, key);
}

// The data taken as text less its last character, which for a string value is its terminating NUL.
std::string WithoutLastCharacter(const std::string& data)
{
    std::size_t cut = data.size() - 1;
    while (cut > 0 && (static_cast<unsigned char>(data[cut]) & 0xC0) == 0x80)
        --cut;
    return data.substr(0, cut);
}

} // namespace

std::string GetSettingString(RootKey, const std::string& keyPath, const std::string& valueName,
                             const std::string& defaultText)
{
    // Reads run by the thousand at start-up: their lines are only built while the log is on.
    const bool tracing = mod_Trace::Tracing();
    std::string result = defaultText;
    if (tracing)
        WriteTrace("GetSettingString", keyPath);

    std::unique_ptr<RegistryKey> key;
    const RegStatus opened = Open(keyPath, reg_access::Read, key);
    if (tracing)
        WriteTrace("GetSettingString", "ret 1 => " + std::to_string(opened));

    std::uint32_t type = reg_type::None;
    std::uint32_t size = 0;
    const RegStatus queried = key ? key->QueryValueInfo(valueName, type, size) : reg_error::InvalidHandle;
    if (tracing)
        WriteTrace("GetSettingString", "ret 2 => " + std::to_string(queried));

    if (queried == reg_error::Success) {
        if (tracing)
            WriteTrace("GetSettingString", "abriu ok lValueType = " + std::to_string(type));
        if (type == reg_type::String || type == reg_type::ExpandString) {
            if (tracing)
                WriteTrace("GetSettingString", "lValueType = REG_SZ");
            // A buffer of `size` spaces that the data read overwrites from its start; data longer than the
            // buffer (the value grew since it was measured) is taken whole.
            std::string buffer;
            std::uint32_t readType = type;
            const RegStatus read = key->QueryValue(valueName, size, readType, buffer);
            if (read != reg_error::Success && buffer.size() <= size)
                buffer.clear();
            if (buffer.size() < size)
                buffer.resize(size, ' ');
            if (tracing)
                WriteTrace("GetSettingString", "strBuffer = " + buffer + " lResult = " + std::to_string(read));
            if (const std::size_t nul = buffer.find('\0'); nul != std::string::npos)
                buffer.resize(nul);
            result = std::move(buffer);
        }
    }
    return result;
}

std::int32_t SaveSettingString(RootKey, const std::string& keyPath, const std::string& valueName,
                               const std::string& text)
{
    WriteTrace("SaveSettingString", "abrindo => " + keyPath);
    std::unique_ptr<RegistryKey> key;
    const RegStatus opened = Open(keyPath, reg_access::AllAccess, key);
    WriteTrace("SaveSettingString", "RegOpenKeyEx retornou => " + std::to_string(opened));
    if (opened != reg_error::Success || !key) {
        WriteTrace("SaveSettingString", "nao abriu");
        return reg_error::AccessDenied;
    }
    WriteTrace("SaveSettingString", "abriu ok");

    // Stored as a C string, with its terminating NUL, the way RegSetValueExA stores one; so EnumValues,
    // which drops the last byte of every value, lists the console's own values whole. The empty text is
    // stored with no data at all.
    std::string data = text;
    if (!data.empty())
        data.push_back('\0');
    const RegStatus stored = key->SetValue(valueName, reg_type::String, data);
    if (stored != reg_error::Success) {
        WriteTrace("SaveSettingString", "erro ao escrever na chave => " + std::to_string(stored));
        return stored;
    }
    WriteTrace("SaveSettingString", "escreveu ok");
    return reg_error::Success;
}

void DeleteSettingValue(RootKey, const std::string& keyPath, const std::string& valueName)
{
    std::unique_ptr<RegistryKey> key;
    if (Open(keyPath, reg_access::AllAccess, key) == reg_error::Success && key)
        std::ignore = key->DeleteValue(valueName);
}

std::int32_t EnumKeys(RootKey, const std::string& keyPath, std::vector<std::string>& names)
{
    std::uint32_t count = 0;
    std::int32_t result = 0;
    names.clear();

    std::unique_ptr<RegistryKey> key;
    if (Open(keyPath, reg_access::Read, key) != reg_error::Success || !key) {
        WriteTrace("EnumKeys", "erro ao abrir => " + keyPath);
    } else {
        WriteTrace("EnumKeys", "abriu OK");
        const bool tracing = mod_Trace::Tracing(); // a line per subkey, built only while the log is on
        for (std::uint32_t index = 0;; ++index) {
            std::string name;
            const RegStatus status = key->EnumKey(index, kEnumNameCapacity, name);
            if (status == reg_error::NoMoreItems)
                break;
            // A name that does not fit the buffer, or an entry that vanished under us, is passed over:
            // storing it would store a name that leads nowhere.
            if (status != reg_error::Success) {
                if (status != reg_error::MoreData)
                    break;
                continue;
            }
            if (tracing)
                WriteTrace("EnumKeys", "enumerando.. " + std::to_string(index) + " => " + name);
            names.push_back(std::move(name));
            ++count;
        }
        result = 1;
        WriteTrace("EnumKeys", "fechando e retornando => " + std::to_string(count));
    }
    if (count == 0)
        names.assign(1, "0");
    return result;
}

void EnumValues(RootKey, const std::string& keyPath, std::vector<std::string>& entries)
{
    entries.clear();
    std::unique_ptr<RegistryKey> key;
    if (Open(keyPath, reg_access::Read, key) == reg_error::Success && key) {
        for (std::uint32_t index = 0;; ++index) {
            std::string name;
            std::string data;
            std::uint32_t dataLength = 0;
            RegStatus status = key->EnumValue(index, kEnumNameCapacity, kEnumDataCapacity, name, data, dataLength);
            // A value whose name or data does not fit is asked for again with room for the longest name and
            // for the data's size as the enumeration reported it, so it is listed whole, never cut short.
            for (int ask = 1; status == reg_error::MoreData && ask < kMaxAsks; ++ask)
                status = key->EnumValue(index, kMaxValueNameCapacity, std::max(dataLength, kEnumDataCapacity), name,
                                        data, dataLength);
            if (status == reg_error::NoMoreItems)
                break;
            if (status != reg_error::Success) {
                if (status != reg_error::MoreData)
                    break;
                continue;
            }
            if (dataLength > 0 && !data.empty())
                entries.push_back(name + ";" + WithoutLastCharacter(data));
        }
    }
    if (entries.empty())
        entries.assign(1, "-1");
}

SharedReads::SharedReads() : backend_(Current().registry)
{
    if (backend_)
        backend_->HoldReads(true);
}

SharedReads::~SharedReads()
{
    if (backend_)
        backend_->HoldReads(false);
}

} // namespace quenyx::mod_RegWin
