#include "platform/RegFile.h"

#include "platform/Text.h"
#include "platform/Utf.h"

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>
#include <vector>

namespace quenyx::platform {

namespace {

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kRootName = "HKEY_LOCAL_MACHINE";
constexpr std::string_view kRootAbbreviation = "HKLM";
constexpr std::size_t kHexLineWidth = 80;
constexpr std::string_view kHexIndent = "  ";

// The length of the well-formed UTF-8 sequence at `i` (decoded into `cp`), or 0 when there is none.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t i, char32_t& cp)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    char32_t minimum = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

bool IsUtf8(std::string_view text)
{
    char32_t cp = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceAt(text, i, cp);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

void AppendUtf16Le(std::string& out, char16_t unit)
{
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

// The emulated machine stores whatever bytes it is given, so a name or string need not be UTF-8. A byte
// that is not part of UTF-8 travels as the lone surrogate U+DC00 + byte (never produced by real text),
// which brings every string back from a file byte for byte.
std::string ToUtf16Le(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    char32_t cp = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8SequenceAt(text, i, cp);
        if (length == 0) {
            AppendUtf16Le(out, static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(text[i])));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            AppendUtf16Le(out, static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            AppendUtf16Le(out, static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            AppendUtf16Le(out, static_cast<char16_t>(cp));
        }
        i += length;
    }
    return out;
}

// The reverse of ToUtf16Le; other lone surrogates and an odd last byte become U+FFFD.
std::string FromUtf16Le(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    const auto unitAt = [&](std::size_t k) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     (static_cast<unsigned char>(bytes[2 * k + 1]) << 8));
    };
    for (std::size_t k = 0; k < units; ++k) {
        const char16_t unit = unitAt(k);
        if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units && unitAt(k + 1) >= 0xDC00 && unitAt(k + 1) <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(k + 1) - 0xDC00));
            ++k;
        } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
            out.push_back(static_cast<char>(unit - 0xDC00));
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    if (bytes.size() % 2)
        AppendUtf8(out, 0xFFFD);
    return out;
}

std::string FromWindows1252(std::string_view bytes)
{
    // 0x80..0x9F; the five holes of the code page map to the C1 controls, as Windows maps them.
    static constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte);
    }
    return out;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// 1 to `maxDigits` hex digits and nothing else.
bool ParseHex(std::string_view digits, std::size_t maxDigits, std::uint32_t& value)
{
    if (digits.empty() || digits.size() > maxDigits)
        return false;
    value = 0;
    for (const char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return false;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return true;
}

bool IsStringType(std::uint32_t type)
{
    return type == reg_type::String || type == reg_type::ExpandString || type == reg_type::MultiString;
}

std::string JoinKeyPath(const std::string& parent, std::string_view child)
{
    return parent.empty() ? std::string(child) : parent + "\\" + std::string(child);
}

struct Operation
{
    enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::CreateKey;
    int line = 0;
    std::string path;
    RawValue value; // only the name for DeleteValue
};

class Reader final
{
public:
    explicit Reader(RegFileError& error) : error_(error) {}

    bool Read(std::string_view bytes, std::vector<Operation>& operations)
    {
        operations_ = &operations;
        if (!Decode(bytes))
            return false;
        const std::string_view header = Trim(lines_.front());
        if (EqualsIgnoringCase(header, kHeader5))
            wideStrings_ = true;
        else if (!EqualsIgnoringCase(header, kHeader4))
            return Fail(1, "not a .reg file: the first line must be \"" + std::string(kHeader5) + "\" or \"" +
                               std::string(kHeader4) + "\"");
        for (std::size_t index = 1; index < lines_.size(); ++index) {
            const std::string_view text = Trim(lines_[index]);
            const int line = LineNumber(index);
            if (text.empty() || text.front() == ';')
                continue;
            if (text.find('\0') != std::string_view::npos)
                return Fail(line, "a NUL character in the text");
            if (text.front() == '[') {
                if (!ReadKeyLine(line, text))
                    return false;
            } else if (text.front() == '"' || text.front() == '@') {
                if (!ReadValueLine(index, text))
                    return false;
            } else {
                return Fail(line, "expected [key], \"name\"=value, @=value or a ; comment");
            }
        }
        return true;
    }

private:
    static int LineNumber(std::size_t index) { return static_cast<int>(index + 1); }

    bool Fail(int line, std::string message)
    {
        error_ = {line, std::move(message)};
        return false;
    }

    bool Decode(std::string_view bytes)
    {
        std::string text;
        if (bytes.starts_with("\xFF\xFE")) {
            bytes.remove_prefix(2);
            if (bytes.size() % 2)
                return Fail(0, "the UTF-16 text ends in half a character");
            text = FromUtf16Le(bytes);
        } else if (bytes.starts_with("\xFE\xFF")) {
            return Fail(0, "UTF-16 big-endian text is not supported; save the file as UTF-16LE");
        } else {
            if (bytes.starts_with("\xEF\xBB\xBF"))
                bytes.remove_prefix(3);
            text = IsUtf8(bytes) ? std::string(bytes) : FromWindows1252(bytes);
        }
        std::size_t start = 0;
        while (true) {
            const std::size_t end = text.find('\n', start);
            std::string_view line = std::string_view(text).substr(start, end == std::string::npos ? end : end - start);
            if (line.ends_with('\r'))
                line.remove_suffix(1);
            lines_.emplace_back(line);
            if (end == std::string::npos)
                return true;
            start = end + 1;
        }
    }

    bool ReadKeyLine(int line, std::string_view text)
    {
        if (text.size() < 2 || text.back() != ']')
            return Fail(line, "a key line must end with ]");
        std::string_view inner = text.substr(1, text.size() - 2);
        const bool remove = inner.starts_with('-');
        if (remove)
            inner.remove_prefix(1);

        const std::size_t slash = inner.find('\\');
        const std::string_view root = inner.substr(0, slash);
        if (!EqualsIgnoringCase(root, kRootName) && !EqualsIgnoringCase(root, kRootAbbreviation))
            return Fail(line, "only keys of HKEY_LOCAL_MACHINE can be imported, not \"" + std::string(root) + "\"");
        std::vector<std::string> parts;
        if (!SplitKeyPath(slash == std::string_view::npos ? std::string_view() : inner.substr(slash + 1), parts))
            return Fail(line, "the key path has an empty name in it");
        std::string path;
        for (const auto& part : parts)
            path = JoinKeyPath(path, part);

        if (remove) {
            if (path.empty())
                return Fail(line, "HKEY_LOCAL_MACHINE itself cannot be deleted");
            key_.reset();
            operations_->push_back({Operation::Kind::DeleteKey, line, path, {}});
        } else {
            key_ = path;
            operations_->push_back({Operation::Kind::CreateKey, line, path, {}});
        }
        return true;
    }

    bool ReadValueLine(std::size_t& index, std::string_view text)
    {
        const int line = LineNumber(index);
        if (!key_)
            return Fail(line, "a value outside a key: values follow a [key] line");
        Operation op{Operation::Kind::SetValue, line, *key_, {}};
        std::size_t pos = 1;
        if (text.front() == '"') {
            pos = 0;
            if (!ReadQuoted(line, text, pos, op.value.name))
                return false;
        }
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        if (pos >= text.size() || text[pos] != '=')
            return Fail(line, "expected = after the value name");
        const std::string_view data = Trim(text.substr(pos + 1));

        if (data == "-") {
            op.kind = Operation::Kind::DeleteValue;
        } else if (data.starts_with('"')) {
            std::size_t end = 0;
            if (!ReadQuoted(line, data, end, op.value.data))
                return false;
            if (end != data.size())
                return Fail(line, "unexpected text after the closing quote");
            op.value.type = reg_type::String;
            op.value.data.push_back('\0');
        } else if (StartsWithIgnoringCase(data, "dword:")) {
            std::uint32_t number = 0;
            if (!ParseHex(data.substr(6), 8, number))
                return Fail(line, "dword: takes 1 to 8 hex digits");
            op.value.type = reg_type::DWord;
            for (int shift = 0; shift < 32; shift += 8)
                op.value.data.push_back(static_cast<char>((number >> shift) & 0xFF));
        } else if (StartsWithIgnoringCase(data, "hex")) {
            std::string_view rest = data.substr(3);
            op.value.type = reg_type::Binary;
            if (rest.starts_with('(')) {
                const std::size_t close = rest.find(')');
                if (close == std::string_view::npos || !ParseHex(rest.substr(1, close - 1), 8, op.value.type))
                    return Fail(line, "hex(n): takes a type of 1 to 8 hex digits");
                rest.remove_prefix(close + 1);
            }
            if (!rest.starts_with(':'))
                return Fail(line, "expected : after hex");
            if (!ReadHexBytes(index, rest.substr(1), op.value.data))
                return false;
            // A version 5.00 file holds strings as Windows stores them, in UTF-16LE.
            if (wideStrings_ && IsStringType(op.value.type))
                op.value.data = FromUtf16Le(op.value.data);
        } else {
            return Fail(line, "expected the value's data: \"text\", dword:, hex:, hex(n): or -");
        }
        operations_->push_back(std::move(op));
        return true;
    }

    // A string in double quotes starting at `pos`; only \\ and \" are escapes. `pos` ends past the closing quote.
    bool ReadQuoted(int line, std::string_view text, std::size_t& pos, std::string& out)
    {
        for (++pos; pos < text.size(); ++pos) {
            const char c = text[pos];
            if (c == '"') {
                ++pos;
                return true;
            }
            if (c == '\\') {
                if (++pos >= text.size())
                    break;
                if (text[pos] != '\\' && text[pos] != '"')
                    return Fail(line, std::string("unknown escape \\") + text[pos] + " (write \\\\ for a backslash)");
            }
            out.push_back(text[pos]);
        }
        return Fail(line, "missing closing quote");
    }

    // Comma-separated bytes; a trailing backslash continues them on the next line.
    bool ReadHexBytes(std::size_t& index, std::string_view segment, std::string& bytes)
    {
        while (true) {
            const int line = LineNumber(index);
            segment = Trim(segment);
            const bool continues = segment.ends_with('\\');
            if (continues)
                segment = Trim(segment.substr(0, segment.size() - 1));
            for (std::size_t pos = 0; pos < segment.size();) {
                const std::size_t comma = segment.find(',', pos);
                const std::string_view token =
                    Trim(segment.substr(pos, comma == std::string_view::npos ? comma : comma - pos));
                std::uint32_t byte = 0;
                if (!ParseHex(token, 2, byte))
                    return Fail(line, "\"" + std::string(token) + "\" is not a hex byte");
                bytes.push_back(static_cast<char>(byte));
                if (comma == std::string_view::npos)
                    break;
                pos = comma + 1;
            }
            if (!continues)
                return true;
            if (++index >= lines_.size())
                return Fail(line, "the value continues past the end of the file");
            segment = lines_[index];
        }
    }

    RegFileError& error_;
    std::vector<Operation>* operations_ = nullptr;
    std::vector<std::string> lines_;
    bool wideStrings_ = false;
    std::optional<std::string> key_;
};

bool Apply(const std::vector<Operation>& operations, RegistryAdmin& admin, RegFileError& error)
{
    int failedLine = 0;
    const RegStatus status = admin.Atomically([&]() -> RegStatus {
        for (const Operation& op : operations) {
            RegStatus result = reg_error::Success;
            switch (op.kind) {
            case Operation::Kind::CreateKey:
                result = admin.CreateKey(op.path);
                break;
            case Operation::Kind::DeleteKey:
                result = admin.DeleteKeyTree(op.path);
                break;
            case Operation::Kind::SetValue:
                result = admin.SetRawValue(op.path, op.value);
                break;
            case Operation::Kind::DeleteValue:
                result = admin.DeleteRawValue(op.path, op.value.name);
                break;
            }
            // Deleting what is not there is what the file asked for.
            const bool deletion = op.kind == Operation::Kind::DeleteKey || op.kind == Operation::Kind::DeleteValue;
            if (result != reg_error::Success && !(deletion && result == reg_error::FileNotFound)) {
                failedLine = op.line;
                return result;
            }
        }
        return reg_error::Success;
    });
    if (status == reg_error::Success)
        return true;
    error = {failedLine,
             "the registry refused the change (error " + std::to_string(status) + "); nothing was imported"};
    return false;
}

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

bool ImportRegFile(std::string_view bytes, RegistryAdmin& admin, RegFileError& error)
{
    std::vector<Operation> operations;
    Reader reader(error);
    return reader.Read(bytes, operations) && Apply(operations, admin, error);
}

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
