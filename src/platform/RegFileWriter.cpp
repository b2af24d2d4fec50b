#include "platform/RegFile.h"

#include "platform/RegFileText.h"
#include "platform/Text.h"
#include "platform/Utf.h"

#include <algorithm>
#include <vector>

namespace quenyx::platform {

using namespace regfile;

namespace {

constexpr std::size_t kHexLineWidth = 80;
constexpr std::string_view kHexIndent = "  ";

std::string Quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

bool CanBeWritten(std::string_view name)
{
    return name.find_first_of(std::string_view("\n\0", 2)) == std::string_view::npos;
}

// Text plus its one terminating NUL, on one line: what "name"="text" imports back to.
bool IsPlainString(const RawValue& value)
{
    return value.type == reg_type::String && !value.data.empty() && value.data.find('\0') == value.data.size() - 1 &&
           value.data.find_first_of("\r\n") == std::string::npos;
}

std::string HexNumber(std::uint32_t number, int digits)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    do {
        out.insert(out.begin(), kDigits[number & 0xF]);
        number >>= 4;
    } while (number != 0 || static_cast<int>(out.size()) < digits);
    return out;
}

void AppendHexBytes(std::string& text, std::string_view bytes)
{
    std::size_t column = text.size() - (text.rfind('\n') + 1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text += HexNumber(static_cast<unsigned char>(bytes[i]), 2);
        column += 2;
        if (i + 1 == bytes.size())
            break;
        text.push_back(',');
        ++column;
        // Room for one more byte, its comma and the backslash.
        if (column + 4 > kHexLineWidth) {
            text += "\\\r\n";
            text += kHexIndent;
            column = kHexIndent.size();
        }
    }
}

void AppendValue(std::string& text, const RawValue& value)
{
    text += value.name.empty() ? std::string("@") : Quoted(value.name);
    text.push_back('=');
    if (IsPlainString(value)) {
        text += Quoted(std::string_view(value.data).substr(0, value.data.size() - 1));
    } else if (value.type == reg_type::DWord && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
        text += "dword:" + HexNumber(number, 8);
    } else {
        text += value.type == reg_type::Binary ? std::string("hex:") : "hex(" + HexNumber(value.type, 1) + "):";
        AppendHexBytes(text, IsStringType(value.type) ? ToUtf16Le(value.data) : value.data);
    }
    text += "\r\n";
}

bool AppendKey(RegistryAdmin& admin, const std::string& path, std::string& text, std::string& error)
{
    const std::string fullName = path.empty() ? std::string(kRootName) : std::string(kRootName) + "\\" + path;
    if (!CanBeWritten(path)) {
        error = "a key name with a line break or NUL cannot be written to a .reg file: " + fullName;
        return false;
    }
    std::vector<RawValue> values;
    if (const RegStatus status = admin.ListValues(path, values); status != reg_error::Success) {
        error = "cannot read " + fullName + " (error " + std::to_string(status) + ")";
        return false;
    }
    text += "[" + fullName + "]\r\n";
    for (const RawValue& value : values) {
        if (!CanBeWritten(value.name)) {
            error = "a value name with a line break or NUL cannot be written to a .reg file, in " + fullName;
            return false;
        }
        AppendValue(text, value);
    }
    text += "\r\n";
    return true;
}

} // namespace
bool ExportRegFile(RegistryAdmin& admin, std::string_view keyPath, std::string& bytes, std::string& error)
{
    std::vector<std::string> parts;
    if (!SplitKeyPath(keyPath, parts)) {
        error = "the key path has an empty name in it: " + std::string(keyPath);
        return false;
    }
    // Each name as stored, whatever case the caller wrote it in, so the file recreates the same keys.
    std::string top;
    for (const auto& part : parts) {
        std::vector<std::string> names;
        std::ignore = admin.ListSubKeys(top, names);
        const auto found = std::find_if(names.begin(), names.end(),
                                        [&](const std::string& name) { return EqualsIgnoringCase(name, part); });
        if (found == names.end()) {
            error = "no such key: " + std::string(kRootName) + "\\" + std::string(keyPath);
            return false;
        }
        top = JoinKeyPath(top, *found);
    }

    std::string text = std::string(kHeader5) + "\r\n\r\n";
    std::vector<std::string> pending{top};
    while (!pending.empty()) {
        const std::string path = std::move(pending.back());
        pending.pop_back();
        if (!AppendKey(admin, path, text, error))
            return false;
        std::vector<std::string> children;
        if (const RegStatus status = admin.ListSubKeys(path, children); status != reg_error::Success) {
            error = "cannot list the subkeys of " + std::string(kRootName) + "\\" + path + " (error " +
                    std::to_string(status) + ")";
            return false;
        }
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.push_back(JoinKeyPath(path, *child));
    }
    bytes = "\xFF\xFE" + ToUtf16Le(text);
    return true;
}

} // namespace quenyx::platform
