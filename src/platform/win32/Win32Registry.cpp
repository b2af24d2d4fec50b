#include "platform/win32/Win32Registry.h"

#include "platform/Text.h"
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <algorithm>
#include <tuple>
#include <utility>

namespace quenyx::platform::win32 {

namespace {

constexpr REGSAM kAdminRead = KEY_READ | KEY_WOW64_64KEY;
constexpr REGSAM kAdminWrite = KEY_SET_VALUE | KEY_WOW64_64KEY;
// How often a listing doubles its buffers for one entry before it gives up on the key.
constexpr int kMaxGrowth = 8;

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

std::string_view Bytes(const std::vector<char>& buffer, DWORD length)
{
    return std::string_view(buffer.data(), std::min<std::size_t>(length, buffer.size()));
}

// One open key of HKEY_LOCAL_MACHINE, closed when it goes out of scope.
class KeyHandle
{
public:
    KeyHandle() = default;
    KeyHandle(KeyHandle&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    KeyHandle& operator=(KeyHandle&& other) noexcept
    {
        if (this != &other) {
            Close();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    ~KeyHandle() { Close(); }

    HKEY get() const { return key_; }

    static RegStatus Open(HKEY parent, std::string_view path, REGSAM access, KeyHandle& key)
    {
        key.Close();
        return RegOpenKeyExA(parent, ToAnsi(path).c_str(), 0, access, &key.key_);
    }

    static RegStatus Create(HKEY parent, std::string_view path, REGSAM access, KeyHandle& key)
    {
        key.Close();
        return RegCreateKeyExA(parent, ToAnsi(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                               &key.key_, nullptr);
    }

private:
    void Close()
    {
        // Opening HKEY_LOCAL_MACHINE itself may hand back the predefined handle, which is not ours to close.
        if (key_ && key_ != HKEY_LOCAL_MACHINE)
            std::ignore = RegCloseKey(key_);
        key_ = nullptr;
    }

    HKEY key_ = nullptr;
};

// Wine's RegOpenKeyExA and RegCreateKeyExA convert the path into a buffer of MAX_PATH characters and fail
// with ERROR_MORE_DATA beyond it, so the admin side opens its keys one path component at a time.
RegStatus Walk(const std::vector<std::string>& parts, std::size_t count, REGSAM access, bool create, KeyHandle& key)
{
    if (count == 0)
        return KeyHandle::Open(HKEY_LOCAL_MACHINE, "", access, key);
    const REGSAM through = (create ? KEY_CREATE_SUB_KEY : KEY_QUERY_VALUE) | KEY_WOW64_64KEY;
    KeyHandle parent;
    for (std::size_t i = 0; i < count; ++i) {
        const HKEY from = i == 0 ? HKEY_LOCAL_MACHINE : parent.get();
        const REGSAM want = i + 1 == count ? access : through;
        KeyHandle child;
        const RegStatus status =
            create ? KeyHandle::Create(from, parts[i], want, child) : KeyHandle::Open(from, parts[i], want, child);
        if (status != ERROR_SUCCESS)
            return status;
        parent = std::move(child);
    }
    key = std::move(parent);
    return ERROR_SUCCESS;
}

RegStatus OpenPath(std::string_view path, REGSAM access, KeyHandle& key)
{
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts))
        return reg_error::InvalidParameter;
    return Walk(parts, parts.size(), access, false, key);
}

// The entries as RegEnumKeyExA / RegEnumValueA give them: ANSI names, data as stored. The buffers are
// exactly the capacities asked for, as the console's own calls would have them; the returned lengths, not
// the buffers' contents, say what was written (Wine writes nothing for an empty string value).
RegStatus EnumKeyAnsi(HKEY key, DWORD index, DWORD nameCapacity, std::string& name)
{
    std::vector<char> buffer(std::max<DWORD>(nameCapacity, 1), '\0');
    DWORD length = nameCapacity;
    const LSTATUS status = RegEnumKeyExA(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS)
        name.assign(Bytes(buffer, length));
    return status;
}

struct AnsiValue
{
    std::string name;
    DWORD type = REG_NONE;
    std::string data;
    DWORD dataLength = 0; // as the call reports it; on ERROR_MORE_DATA the size needed
};

RegStatus EnumValueAnsi(HKEY key, DWORD index, DWORD nameCapacity, DWORD dataCapacity, AnsiValue& value)
{
    std::vector<char> nameBuffer(std::max<DWORD>(nameCapacity, 1), '\0');
    std::vector<char> dataBuffer(std::max<DWORD>(dataCapacity, 1), '\0');
    DWORD nameLength = nameCapacity;
    DWORD type = REG_NONE;
    DWORD dataLength = dataCapacity;
    const LSTATUS status = RegEnumValueA(key, index, nameBuffer.data(), &nameLength, nullptr, &type,
                                         reinterpret_cast<BYTE*>(dataBuffer.data()), &dataLength);
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        value.type = type;
        value.dataLength = dataLength;
    }
    if (status == ERROR_SUCCESS) {
        value.name.assign(Bytes(nameBuffer, nameLength));
        value.data.assign(Bytes(dataBuffer, dataLength));
    }
    return status;
}

RegStatus SetValueOn(HKEY key, std::string_view name, std::uint32_t type, std::string_view data)
{
    const std::string bytes = IsStringType(type) ? ToAnsi(data) : std::string(data);
    return RegSetValueExA(key, ToAnsi(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size()));
}

class Win32Key final : public RegistryKey
{
public:
    explicit Win32Key(KeyHandle key) : key_(std::move(key)) {}

    RegStatus QueryValueInfo(std::string_view name, std::uint32_t& type, std::uint32_t& size) override
    {
        DWORD storedType = REG_NONE;
        DWORD storedSize = 0;
        const LSTATUS status =
            RegQueryValueExA(key_.get(), ToAnsi(name).c_str(), nullptr, &storedType, nullptr, &storedSize);
        if (status == ERROR_SUCCESS) {
            type = storedType;
            size = storedSize;
        }
        return status;
    }

    RegStatus QueryValue(std::string_view name, std::uint32_t capacity, std::uint32_t& type, std::string& data) override
    {
        data.clear();
        std::vector<char> buffer(std::max<DWORD>(capacity, 1), '\0');
        DWORD storedType = REG_NONE;
        DWORD length = capacity;
        const LSTATUS status = RegQueryValueExA(key_.get(), ToAnsi(name).c_str(), nullptr, &storedType,
                                                reinterpret_cast<BYTE*>(buffer.data()), &length);
        if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)
            type = storedType;
        if (status == ERROR_SUCCESS)
            data = IsStringType(storedType) ? FromAnsi(Bytes(buffer, length)) : std::string(Bytes(buffer, length));
        return status;
    }

    RegStatus SetValue(std::string_view name, std::uint32_t type, std::string_view data) override
    {
        return SetValueOn(key_.get(), name, type, data);
    }

    RegStatus DeleteValue(std::string_view name) override { return RegDeleteValueA(key_.get(), ToAnsi(name).c_str()); }

    RegStatus EnumKey(std::uint32_t index, std::uint32_t nameCapacity, std::string& name) override
    {
        std::string ansi;
        const RegStatus status = EnumKeyAnsi(key_.get(), index, nameCapacity, ansi);
        if (status == ERROR_SUCCESS)
            name = FromAnsi(ansi);
        return status;
    }

    // The console reads every value's data as ANSI text, whatever its type.
    RegStatus EnumValue(std::uint32_t index, std::uint32_t nameCapacity, std::uint32_t dataCapacity, std::string& name,
                        std::string& data, std::uint32_t& dataLength) override
    {
        AnsiValue value;
        const RegStatus status = EnumValueAnsi(key_.get(), index, nameCapacity, dataCapacity, value);
        if (status == ERROR_SUCCESS) {
            name = FromAnsi(value.name);
            data = FromAnsi(value.data);
        }
        // On ERROR_MORE_DATA the size the data needs, where the call got as far as the data.
        if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)
            dataLength = value.dataLength;
        return status;
    }

private:
    KeyHandle key_;
};

struct KeyLimits
{
    DWORD subKeyName = 0;
    DWORD valueName = 0;
    DWORD valueData = 0;
};

RegStatus QueryLimits(HKEY key, KeyLimits& limits)
{
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &limits.subKeyName, nullptr, nullptr,
                            &limits.valueName, &limits.valueData, nullptr, nullptr);
}

} // namespace

RegStatus Win32Registry::OpenKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& key)
{
    key.reset();
    KeyHandle handle;
    const RegStatus status = KeyHandle::Open(HKEY_LOCAL_MACHINE, path, access, handle);
    if (status == ERROR_SUCCESS)
        key = std::make_unique<Win32Key>(std::move(handle));
    return status;
}

RegStatus Win32Registry::CreateKey(std::string_view path)
{
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts))
        return reg_error::InvalidParameter;
    KeyHandle key;
    return Walk(parts, parts.size(), kAdminRead, true, key);
}

RegStatus Win32Registry::DeleteKeyTree(std::string_view path)
{
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts))
        return reg_error::InvalidParameter;
    if (parts.empty())
        return reg_error::AccessDenied;
    KeyHandle parent;
    RegStatus status = Walk(parts, parts.size() - 1, KEY_QUERY_VALUE | KEY_WOW64_64KEY, false, parent);
    if (status != ERROR_SUCCESS)
        return status;
    // RegDeleteTreeA knows no view, so the key is opened in the 64-bit one and emptied through that
    // handle; then it goes itself, in the same view.
    {
        KeyHandle key;
        status = KeyHandle::Open(parent.get(), parts.back(), DELETE | KEY_READ | KEY_SET_VALUE | KEY_WOW64_64KEY, key);
        if (status != ERROR_SUCCESS)
            return status;
        status = RegDeleteTreeA(key.get(), nullptr);
        if (status != ERROR_SUCCESS)
            return status;
    }
    return RegDeleteKeyExA(parent.get(), ToAnsi(parts.back()).c_str(), KEY_WOW64_64KEY, 0);
}

RegStatus Win32Registry::SetRawValue(std::string_view path, const RawValue& value)
{
    KeyHandle key;
    const RegStatus status = OpenPath(path, kAdminWrite, key);
    if (status != ERROR_SUCCESS)
        return status;
    return SetValueOn(key.get(), value.name, value.type, value.data);
}

RegStatus Win32Registry::DeleteRawValue(std::string_view path, std::string_view name)
{
    KeyHandle key;
    const RegStatus status = OpenPath(path, kAdminWrite, key);
    if (status != ERROR_SUCCESS)
        return status;
    return RegDeleteValueA(key.get(), ToAnsi(name).c_str());
}

// The lengths RegQueryInfoKeyA gives are a first guess only: the key may change between the calls, and a
// double-byte code page needs more bytes than characters. An entry that still does not fit grows the
// buffers, a bounded number of times.
RegStatus Win32Registry::ListSubKeys(std::string_view path, std::vector<std::string>& names)
{
    names.clear();
    KeyHandle key;
    RegStatus status = OpenPath(path, kAdminRead, key);
    if (status != ERROR_SUCCESS)
        return status;
    KeyLimits limits;
    if ((status = QueryLimits(key.get(), limits)) != ERROR_SUCCESS)
        return status;

    DWORD capacity = limits.subKeyName + 1;
    for (DWORD index = 0;; ++index) {
        std::string name;
        status = EnumKeyAnsi(key.get(), index, capacity, name);
        for (int grown = 0; status == ERROR_MORE_DATA && grown < kMaxGrowth; ++grown) {
            capacity *= 2;
            status = EnumKeyAnsi(key.get(), index, capacity, name);
        }
        if (status == ERROR_NO_MORE_ITEMS)
            return reg_error::Success;
        if (status != ERROR_SUCCESS) {
            names.clear();
            return status;
        }
        names.push_back(FromAnsi(name));
    }
}

RegStatus Win32Registry::ListValues(std::string_view path, std::vector<RawValue>& values)
{
    values.clear();
    KeyHandle key;
    RegStatus status = OpenPath(path, kAdminRead, key);
    if (status != ERROR_SUCCESS)
        return status;
    KeyLimits limits;
    if ((status = QueryLimits(key.get(), limits)) != ERROR_SUCCESS)
        return status;

    DWORD nameCapacity = limits.valueName + 1;
    DWORD dataCapacity = std::max<DWORD>(limits.valueData, 1);
    for (DWORD index = 0;; ++index) {
        AnsiValue value;
        status = EnumValueAnsi(key.get(), index, nameCapacity, dataCapacity, value);
        for (int grown = 0; status == ERROR_MORE_DATA && grown < kMaxGrowth; ++grown) {
            nameCapacity *= 2;
            dataCapacity = std::max(dataCapacity * 2, value.dataLength);
            status = EnumValueAnsi(key.get(), index, nameCapacity, dataCapacity, value);
        }
        if (status == ERROR_NO_MORE_ITEMS)
            return reg_error::Success;
        if (status != ERROR_SUCCESS) {
            values.clear();
            return status;
        }
        values.push_back(RawValue{FromAnsi(value.name), value.type,
                                  IsStringType(value.type) ? FromAnsi(value.data) : std::move(value.data)});
    }
}

RegStatus Win32Registry::OverrideLocalMachine(std::string_view path)
{
    RegStatus status = RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    if (status != ERROR_SUCCESS || path.empty())
        return status;
    KeyHandle hive;
    if ((status = OpenPath(path, KEY_ALL_ACCESS | KEY_WOW64_64KEY, hive)) != ERROR_SUCCESS)
        return status;
    return RegOverridePredefKey(HKEY_LOCAL_MACHINE, hive.get()); // the override keeps a handle of its own
}

} // namespace quenyx::platform::win32
