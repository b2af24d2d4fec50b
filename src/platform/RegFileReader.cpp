#include "platform/RegFile.h"

#include "platform/RegFileText.h"
#include "platform/Text.h"
#include "platform/Utf.h"

#include <optional>
#include <tuple>
#include <vector>

namespace quenyx::platform {

using namespace regfile;

namespace {

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

} // namespace

bool ImportRegFile(std::string_view bytes, RegistryAdmin& admin, RegFileError& error)
{
    std::vector<Operation> operations;
    Reader reader(error);
    return reader.Read(bytes, operations) && Apply(operations, admin, error);
}

} // namespace quenyx::platform
