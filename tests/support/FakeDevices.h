#pragma once

#include "platform/Devices.h"
#include "platform/TextCatalog.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace quenyx::test {

// A spooler that opens exactly the printers named in `openable`.
class FakeSpooler final : public platform::Spooler
{
public:
    std::set<std::string> openable;
    std::unique_ptr<platform::PrinterHandle> OpenPrinter(const std::string& name) override
    {
        class Handle final : public platform::PrinterHandle
        {
        };
        return openable.count(name) ? std::make_unique<Handle>() : nullptr;
    }
};

// A status component with one answer per full printer name (code 0 when none is set); records the calls.
class FakePrinterStatus final : public platform::PrinterStatusProvider
{
public:
    struct Answer
    {
        platform::StatusAnswer kind = platform::StatusAnswer::Answered;
        std::int32_t code = 0;
    };
    std::map<std::string, Answer> answers;
    std::vector<std::pair<std::int16_t, std::string>> calls;

    platform::StatusAnswer GetPrinterStatus(std::int16_t id, const std::string& fullName, std::int32_t& status) override
    {
        calls.emplace_back(id, fullName);
        const auto found = answers.find(fullName);
        const Answer answer = found == answers.end() ? Answer{} : found->second;
        if (answer.kind == platform::StatusAnswer::Answered)
            status = answer.code;
        return answer.kind;
    }
};

// A text catalog holding the given texts.
class FakeTextCatalog final : public platform::TextCatalog
{
public:
    std::map<std::u16string, std::u16string> texts;
    int loads = 0;
    void LoadResources(const std::u16string&) override { ++loads; }
    std::int32_t GetString(const std::u16string& key, char16_t* buffer, std::int32_t length) override
    {
        const auto found = texts.find(key);
        if (found == texts.end() || static_cast<std::int32_t>(found->second.size()) >= length)
            return 0;
        std::copy(found->second.begin(), found->second.end(), buffer);
        buffer[found->second.size()] = u'\0';
        return -1;
    }
};

} // namespace quenyx::test
