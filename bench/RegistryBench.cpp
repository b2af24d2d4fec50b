// Each console operation on the emulated machine beside the same answer read with one plain SQLite query
// on the same store; scripts/bench.sh pairs BM_X with BM_Raw_X.
#include "platform/HostClock.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/emulated/EmulatedMachine.h"
#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace quenyx;
using platform::reg_type::String;

const std::string kAgentKey = mod_Trace::AgentKey;
const std::string kAgentValue = "ServerAddress";
const std::string kValuesKey = "SOFTWARE\\Tessaline\\Quenyx\\Printers\\Default";
const std::string kKeysKey = "SOFTWARE\\Tessaline\\Quenyx\\Jobs";
constexpr int kValueCount = 500;
constexpr int kKeyCount = 5000;

std::string Numbered(const char* prefix, int n)
{
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04d", n);
    return prefix + std::string(digits);
}

// A C string as the agent stores it: the text and its terminating NUL.
std::string Stored(const std::string& text)
{
    return text + '\0';
}

class RawStatement final
{
public:
    RawStatement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            stmt_ = nullptr;
    }
    ~RawStatement() { sqlite3_finalize(stmt_); }
    RawStatement(const RawStatement&) = delete;
    RawStatement& operator=(const RawStatement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

std::string ColumnBytes(sqlite3_stmt* stmt, int column)
{
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
    return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))) : std::string();
}

// The machine the console reads, and a second connection of our own to its store.
class Fixture final
{
public:
    Fixture() : folder_(std::filesystem::temp_directory_path() / ("quenyx-bench-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(folder_);
        machine_ = platform::EmulatedMachine::Open(folder_, true, error_);
        if (!machine_)
            return;
        platform::Platform installed;
        installed.registry = machine_;
        installed.clock = std::make_shared<platform::HostClock>();
        installed.files = machine_;
        platform::Install(std::move(installed));
        mod_Trace::ResetTraceSettings();
        if (!Populate()) {
            error_ = "cannot fill the machine";
            return;
        }
        const auto store = (folder_ / platform::EmulatedMachine::kRegistryFile).string();
        if (sqlite3_open_v2(store.c_str(), &raw_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
            error_ = "cannot open " + store;
            return;
        }
        sqlite3_busy_timeout(raw_, 10000);
        getValue_ = std::make_unique<RawStatement>(
            raw_,
            "SELECT v.type, v.data FROM keys k JOIN vals v ON v.key = k.id WHERE k.path_fold = ?1 AND v.fold = ?2");
        listValues_ = std::make_unique<RawStatement>(
            raw_,
            "SELECT v.name, v.data FROM keys k JOIN vals v ON v.key = k.id WHERE k.path_fold = ?1 ORDER BY v.seq");
        listKeys_ = std::make_unique<RawStatement>(
            raw_, "SELECT c.name FROM keys p JOIN keys c ON c.parent = p.id WHERE p.path_fold = ?1 ORDER BY c.fold");
        if (!getValue_->get() || !listValues_->get() || !listKeys_->get())
            error_ = std::string("cannot prepare: ") + sqlite3_errmsg(raw_);
    }

    ~Fixture()
    {
        getValue_.reset();
        listValues_.reset();
        listKeys_.reset();
        sqlite3_close_v2(raw_);
        platform::Install(platform::Platform{});
        machine_.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;

    const std::string& error() const { return error_; }

    std::string RawGetSettingString(const std::string& foldedKey, const std::string& foldedName,
                                    const std::string& defaultText)
    {
        sqlite3_stmt* stmt = getValue_->get();
        sqlite3_bind_text(stmt, 1, foldedKey.data(), static_cast<int>(foldedKey.size()), SQLITE_STATIC);
        sqlite3_bind_text(stmt, 2, foldedName.data(), static_cast<int>(foldedName.size()), SQLITE_STATIC);
        std::string result = defaultText;
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto type = sqlite3_column_int64(stmt, 0);
            if (type == String || type == platform::reg_type::ExpandString) {
                result = ColumnBytes(stmt, 1);
                result.resize(std::min(result.size(), result.find('\0')));
            }
        }
        sqlite3_reset(stmt);
        return result;
    }

    void RawEnumValues(const std::string& foldedKey, std::vector<std::string>& entries)
    {
        entries.clear();
        sqlite3_stmt* stmt = listValues_->get();
        sqlite3_bind_text(stmt, 1, foldedKey.data(), static_cast<int>(foldedKey.size()), SQLITE_STATIC);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const int size = sqlite3_column_bytes(stmt, 1);
            if (size == 0)
                continue;
            std::string entry = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            entry.push_back(';');
            entry.append(static_cast<const char*>(sqlite3_column_blob(stmt, 1)), static_cast<std::size_t>(size - 1));
            entries.push_back(std::move(entry));
        }
        sqlite3_reset(stmt);
    }

    void RawEnumKeys(const std::string& foldedKey, std::vector<std::string>& names)
    {
        names.clear();
        sqlite3_stmt* stmt = listKeys_->get();
        sqlite3_bind_text(stmt, 1, foldedKey.data(), static_cast<int>(foldedKey.size()), SQLITE_STATIC);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_reset(stmt);
    }

private:
    bool Populate()
    {
        auto& admin = static_cast<platform::RegistryAdmin&>(*machine_);
        const auto status = admin.Atomically([&]() -> platform::RegStatus {
            if (admin.CreateKey(kAgentKey) != 0 || admin.CreateKey(kValuesKey) != 0 || admin.CreateKey(kKeysKey) != 0)
                return platform::reg_error::BadKey;
            const std::vector<platform::RawValue> agent = {
                {"TraceLevel", String, Stored("0")},
                {"TracePath", String, Stored("C:\\ProgramData\\Tessaline\\Quenyx\\Logs")},
                {kAgentValue, String, Stored("print-accounting.corp.example")},
                {"ServerPort", platform::reg_type::DWord, std::string("\x50\x1F\0\0", 4)},
                {"InstallFolder", String, Stored("C:\\Program Files\\Tessaline\\Quenyx")},
            };
            for (const auto& value : agent)
                if (admin.SetRawValue(kAgentKey, value) != 0)
                    return platform::reg_error::BadKey;
            for (int i = 0; i < kValueCount; ++i)
                if (admin.SetRawValue(kValuesKey, {Numbered("Setting", i), String, Stored(Numbered("value ", i))}) != 0)
                    return platform::reg_error::BadKey;
            // Created out of order, so the listing has to sort.
            for (int i = 0; i < kKeyCount; ++i)
                if (admin.CreateKey(kKeysKey + "\\" + Numbered("Job", (i * 7919) % kKeyCount)) != 0)
                    return platform::reg_error::BadKey;
            return platform::reg_error::Success;
        });
        return status == platform::reg_error::Success;
    }

    std::filesystem::path folder_;
    std::string error_;
    std::shared_ptr<platform::EmulatedMachine> machine_;
    sqlite3* raw_ = nullptr;
    std::unique_ptr<RawStatement> getValue_;
    std::unique_ptr<RawStatement> listValues_;
    std::unique_ptr<RawStatement> listKeys_;
};

Fixture* g_fixture = nullptr;

// Both sides must give the same answer, or the comparison means nothing.
template <typename T> bool SameAnswer(benchmark::State& state, const T& ours, const T& raw)
{
    if (ours == raw)
        return true;
    state.SkipWithError("the console and the raw query disagree");
    return false;
}

void BM_GetSettingString(benchmark::State& state)
{
    const std::string expected =
        g_fixture->RawGetSettingString(platform::FoldName(kAgentKey), platform::FoldName(kAgentValue), "");
    if (!SameAnswer(state, mod_RegWin::GetSettingString(mod_RegWin::HKLM, kAgentKey, kAgentValue, ""), expected))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(mod_RegWin::GetSettingString(mod_RegWin::HKLM, kAgentKey, kAgentValue, ""));
}

void BM_Raw_GetSettingString(benchmark::State& state)
{
    const std::string key = platform::FoldName(kAgentKey);
    const std::string name = platform::FoldName(kAgentValue);
    if (g_fixture->RawGetSettingString(key, name, "").empty()) {
        state.SkipWithError("the value is missing");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(g_fixture->RawGetSettingString(key, name, ""));
}

void BM_EnumValues(benchmark::State& state)
{
    std::vector<std::string> ours;
    std::vector<std::string> raw;
    mod_RegWin::EnumValues(mod_RegWin::HKLM, kValuesKey, ours);
    g_fixture->RawEnumValues(platform::FoldName(kValuesKey), raw);
    if (!SameAnswer(state, ours, raw))
        return;
    for (auto _ : state) {
        mod_RegWin::EnumValues(mod_RegWin::HKLM, kValuesKey, ours);
        benchmark::DoNotOptimize(ours.data());
    }
    state.counters["entries"] = static_cast<double>(ours.size());
}

void BM_Raw_EnumValues(benchmark::State& state)
{
    const std::string key = platform::FoldName(kValuesKey);
    std::vector<std::string> entries;
    for (auto _ : state) {
        g_fixture->RawEnumValues(key, entries);
        benchmark::DoNotOptimize(entries.data());
    }
    state.counters["entries"] = static_cast<double>(entries.size());
}

void BM_EnumKeys(benchmark::State& state)
{
    std::vector<std::string> ours;
    std::vector<std::string> raw;
    mod_RegWin::EnumKeys(mod_RegWin::HKLM, kKeysKey, ours);
    g_fixture->RawEnumKeys(platform::FoldName(kKeysKey), raw);
    if (!SameAnswer(state, ours, raw))
        return;
    for (auto _ : state) {
        mod_RegWin::EnumKeys(mod_RegWin::HKLM, kKeysKey, ours);
        benchmark::DoNotOptimize(ours.data());
    }
    state.counters["entries"] = static_cast<double>(ours.size());
}

void BM_Raw_EnumKeys(benchmark::State& state)
{
    const std::string key = platform::FoldName(kKeysKey);
    std::vector<std::string> names;
    for (auto _ : state) {
        g_fixture->RawEnumKeys(key, names);
        benchmark::DoNotOptimize(names.data());
    }
    state.counters["entries"] = static_cast<double>(names.size());
}

BENCHMARK(BM_GetSettingString);
BENCHMARK(BM_Raw_GetSettingString);
BENCHMARK(BM_EnumValues)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Raw_EnumValues)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnumKeys)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Raw_EnumKeys)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Fixture fixture;
    if (!fixture.error().empty()) {
        std::fprintf(stderr, "registry_bench: %s\n", fixture.error().c_str());
        return 1;
    }
    g_fixture = &fixture;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_fixture = nullptr;
    return 0;
}
