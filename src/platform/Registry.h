#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quenyx::platform {

// Win32 error codes, as the registry functions return them.
using RegStatus = std::int32_t;
namespace reg_error {
inline constexpr RegStatus Success = 0;
inline constexpr RegStatus FileNotFound = 2;
inline constexpr RegStatus AccessDenied = 5;
inline constexpr RegStatus InvalidHandle = 6;
inline constexpr RegStatus InvalidParameter = 87;
inline constexpr RegStatus MoreData = 234;
inline constexpr RegStatus NoMoreItems = 259;
inline constexpr RegStatus KeyDeleted = 1018;
inline constexpr RegStatus BadKey = 1010;
} // namespace reg_error

// Registry value types (winnt.h numbering).
namespace reg_type {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t String = 1;
inline constexpr std::uint32_t ExpandString = 2;
inline constexpr std::uint32_t Binary = 3;
inline constexpr std::uint32_t DWord = 4;
inline constexpr std::uint32_t MultiString = 7;
inline constexpr std::uint32_t QWord = 11;
} // namespace reg_type

// Access masks; every open asks for the 64-bit view.
namespace reg_access {
inline constexpr std::uint32_t Wow64_64Key = 0x0100;
inline constexpr std::uint32_t Read = 0x20019 | Wow64_64Key;      // 0x20119
inline constexpr std::uint32_t AllAccess = 0xF003F | Wow64_64Key; // 0xF013F
inline constexpr std::uint32_t WriteBits = 0x0002 | 0x0004 | 0x0020 | 0x00010000 | 0x00040000 | 0x00080000;
} // namespace reg_access

// The only root the console uses.
enum class RootKey : std::uint32_t { LocalMachine = 0x80000002u };

// One open key of HKEY_LOCAL_MACHINE. Closing happens in the destructor, so no key outlives the
// operation that opened it. Texts (names and string data) are the program's UTF-8; a backend converts
// them to and from the machine's code page at its own boundary.
class RegistryKey
{
public:
    virtual ~RegistryKey() = default;

    // RegQueryValueExA without a data buffer: the type and the size in bytes of the stored data.
    virtual RegStatus QueryValueInfo(std::string_view name, std::uint32_t& type, std::uint32_t& size) = 0;
    // RegQueryValueExA into a buffer of `capacity` bytes; `data` receives what the call wrote.
    virtual RegStatus QueryValue(std::string_view name, std::uint32_t capacity, std::uint32_t& type,
                                 std::string& data) = 0;
    // RegSetValueExA: stores `data` exactly as given.
    virtual RegStatus SetValue(std::string_view name, std::uint32_t type, std::string_view data) = 0;
    virtual RegStatus DeleteValue(std::string_view name) = 0;
    // RegEnumKeyExA with a name buffer of `nameCapacity` characters (the name must leave room for its NUL).
    virtual RegStatus EnumKey(std::uint32_t index, std::uint32_t nameCapacity, std::string& name) = 0;
    // RegEnumValueA with a name buffer of `nameCapacity` characters and a data buffer of `dataCapacity` bytes.
    // `data` holds the stored bytes; `dataLength` is their count as stored (it may differ from data.size()
    // where a backend converts code pages). MoreData when the name or the data does not fit; `dataLength` then
    // holds the data's size where the call learnt it (as RegEnumValueA reports it), else 0.
    virtual RegStatus EnumValue(std::uint32_t index, std::uint32_t nameCapacity, std::uint32_t dataCapacity,
                                std::string& name, std::string& data, std::uint32_t& dataLength) = 0;

protected:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
};

// What the console's registry operations stand on: RegOpenKeyExA under HKEY_LOCAL_MACHINE.
class RegistryBackend
{
public:
    virtual ~RegistryBackend() = default;
    virtual RegStatus OpenKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& key) = 0;
    // While held, a store that can may let consecutive reads share one consistent view instead of taking
    // one each; any write ends that view. Windows' registry has nothing to share.
    virtual void HoldReads(bool) {}
};

struct RawValue
{
    std::string name;
    std::uint32_t type = reg_type::None;
    std::string data;
};

// Whole-machine operations that the console itself never does (creating and deleting keys, typed values,
// listing without buffer limits). Tools, fixtures and .reg files use them.
class RegistryAdmin
{
public:
    virtual ~RegistryAdmin() = default;
    virtual RegStatus CreateKey(std::string_view path) = 0; // creates missing parents too
    virtual RegStatus DeleteKeyTree(std::string_view path) = 0;
    virtual RegStatus SetRawValue(std::string_view path, const RawValue& value) = 0;
    virtual RegStatus DeleteRawValue(std::string_view path, std::string_view name) = 0;
    virtual RegStatus ListSubKeys(std::string_view path, std::vector<std::string>& names) = 0;
    virtual RegStatus ListValues(std::string_view path, std::vector<RawValue>& values) = 0;
    // Runs `work` so that either all of its changes land or none do, where the store can promise that.
    virtual RegStatus Atomically(const std::function<RegStatus()>& work) { return work(); }
};

} // namespace quenyx::platform
