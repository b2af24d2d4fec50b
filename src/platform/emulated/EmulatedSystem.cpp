#include "platform/emulated/EmulatedSystem.h"

#include "platform/Text.h"
#include "platform/emulated/DetachedProcess.h"
#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/SortedWalk.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdlib>
#include <tuple>
#include <type_traits>
#include <unordered_map>

namespace quenyx::platform {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS spooler_printers(fold TEXT PRIMARY KEY, name TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS printer_status(
    fold TEXT PRIMARY KEY,
    name TEXT NOT NULL,
    answer TEXT NOT NULL CHECK(answer IN ('code', 'none', 'fail')),
    code INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS machine_settings(name TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS services(
    fold TEXT PRIMARY KEY,
    name TEXT NOT NULL,
    state INTEGER NOT NULL CHECK(state BETWEEN 1 AND 7));
CREATE TABLE IF NOT EXISTS commands(seq INTEGER PRIMARY KEY AUTOINCREMENT, line TEXT NOT NULL);
)sql";

class EmulatedPrinterHandle final : public PrinterHandle
{
};

bool Done(sqlite::Statement& stmt)
{
    return stmt.Step() == SQLITE_DONE;
}

} // namespace

std::shared_ptr<EmulatedSystem> EmulatedSystem::Open(const std::shared_ptr<EmulatedMachine>& machine,
                                                     std::string& error)
{
    auto system = Open(machine->folder(), error);
    if (system)
        system->machine_ = machine;
    return system;
}

template <typename Read> auto EmulatedSystem::ReadDevices(Read&& read)
{
    if (!machine_)
        return read(db_);
    std::invoke_result_t<Read, sqlite::Database&> result{};
    machine_->ReadInView([&](sqlite::Database& db) { result = read(db); });
    return result;
}

std::shared_ptr<EmulatedSystem> EmulatedSystem::Open(const std::filesystem::path& folder, std::string& error)
{
    const auto store = folder / EmulatedMachine::kRegistryFile;
    std::error_code ec;
    // An empty store would otherwise open as a new database and be given tables.
    if (!EmulatedMachine::CheckStore(folder, error))
        return nullptr;
    std::shared_ptr<EmulatedSystem> system(new EmulatedSystem());
    system->folder_ = std::filesystem::absolute(folder, ec);
    if (!system->db_.Open(store.string(), false, error))
        return nullptr;
    // The store is in WAL mode since it was made. Its tables are made here only on a machine that has never had
    // them, so an open writes nothing to a machine in use; several processes wait for each other's locks.
    std::string why;
    auto tables = system->db_.Prepare("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                      "name IN ('spooler_printers', 'printer_status', 'machine_settings', "
                                      "'services', 'commands')");
    const int rc = tables.Step();
    if (rc != SQLITE_ROW || !system->db_.Exec("PRAGMA synchronous = NORMAL;", &why) ||
        (tables.Int(0) != 5 && !system->db_.Exec(kSchema, &why))) {
        error = "the store " + store.string() + " cannot be used: " + (why.empty() ? system->db_.LastError() : why);
        return nullptr;
    }
    return system;
}

struct EmulatedSystem::ViewAnswers
{
    std::uint64_t view = 0;
    std::vector<std::string> printers; // folded names, in the order a printers key lists its subkeys
    std::size_t nextPrinter = 0;
    std::unordered_map<std::string, std::pair<std::string, std::int32_t>> rules; // folded full name: answer, code
    bool componentRemoved = false;
};

EmulatedSystem::ViewAnswers* EmulatedSystem::HeldAnswers(sqlite::Database& db)
{
    const std::uint64_t view = machine_ ? machine_->HeldView() : 0;
    if (view == 0) {
        answers_.reset();
        return nullptr;
    }
    if (answers_ && answers_->view == view)
        return answers_.get();
    auto answers = std::make_shared<ViewAnswers>();
    answers->view = view;
    auto printers = db.Cached("SELECT fold FROM spooler_printers ORDER BY fold");
    while (printers->Step() == SQLITE_ROW)
        answers->printers.push_back(printers->Text(0));
    auto rules = db.Cached("SELECT fold, answer, code FROM printer_status");
    while (rules->Step() == SQLITE_ROW)
        answers->rules.emplace(rules->Text(0), std::pair{rules->Text(1), static_cast<std::int32_t>(rules->Int(2))});
    auto component = db.Cached("SELECT value FROM machine_settings WHERE name = 'status_component'");
    answers->componentRemoved = component->Step() == SQLITE_ROW && component->Text(0) == "removed";
    answers_ = std::move(answers);
    return answers_.get();
}

std::unique_ptr<PrinterHandle> EmulatedSystem::OpenPrinter(const std::string& printerName)
{
    const bool found = ReadDevices([&](sqlite::Database& db) {
        if (ViewAnswers* answers = HeldAnswers(db))
            return FindFrom(answers->printers, answers->nextPrinter, FoldName(printerName),
                            [](const std::string& name) -> std::string_view { return name; }) != nullptr;
        auto stmt = db.Cached("SELECT 1 FROM spooler_printers WHERE fold = ?1");
        stmt->Bind(1, FoldName(printerName));
        return stmt->Step() == SQLITE_ROW;
    });
    return found ? std::make_unique<EmulatedPrinterHandle>() : nullptr;
}

StatusAnswer EmulatedSystem::GetPrinterStatus(std::int16_t, const std::string& fullName, std::int32_t& status)
{
    // The component, then the printer's rule: a printer without one is answered 0.
    const auto answer = [&status](bool removed, const std::string& rule, std::int32_t code) {
        if (removed || rule == "fail")
            return StatusAnswer::Failed;
        if (rule == "none")
            return StatusAnswer::NotAnswered;
        status = rule == "code" ? code : 0;
        return StatusAnswer::Answered;
    };
    return ReadDevices([&](sqlite::Database& db) {
        if (const ViewAnswers* answers = HeldAnswers(db)) {
            if (answers->rules.empty()) // as a machine usually is: every printer answers 0
                return answer(answers->componentRemoved, {}, 0);
            const auto rule = answers->rules.find(FoldName(fullName));
            return rule == answers->rules.end()
                       ? answer(answers->componentRemoved, {}, 0)
                       : answer(answers->componentRemoved, rule->second.first, rule->second.second);
        }
        // One read for both questions.
        auto stmt = db.Cached("SELECT (SELECT value FROM machine_settings WHERE name = 'status_component'), "
                              "answer, code FROM (SELECT 1) LEFT JOIN printer_status ON fold = ?1");
        stmt->Bind(1, FoldName(fullName));
        if (stmt->Step() != SQLITE_ROW)
            return StatusAnswer::Failed;
        return answer(stmt->Text(0) == "removed", stmt->Text(1), static_cast<std::int32_t>(stmt->Int(2)));
    });
}

bool EmulatedSystem::AddSpoolerPrinter(const std::string& name)
{
    auto stmt = db_.Prepare("INSERT INTO spooler_printers(fold, name) VALUES(?1, ?2) "
                            "ON CONFLICT(fold) DO UPDATE SET name = excluded.name");
    stmt.Bind(1, FoldName(name)).Bind(2, name);
    return Done(stmt);
}

std::int64_t EmulatedSystem::AddEverySpoolerPrinter()
{
    // One statement is one transaction, however many printers the machine has.
    auto stmt = db_.Prepare("INSERT INTO spooler_printers(fold, name) SELECT k.fold, k.name FROM keys k "
                            "JOIN keys p ON k.parent = p.id WHERE p.path_fold = ?1 "
                            "ON CONFLICT(fold) DO UPDATE SET name = excluded.name");
    stmt.Bind(1, FoldName(kPrintersKey));
    if (!Done(stmt))
        return -1;
    return sqlite3_changes64(db_.handle());
}

bool EmulatedSystem::RemoveSpoolerPrinter(const std::string& name)
{
    auto stmt = db_.Prepare("DELETE FROM spooler_printers WHERE fold = ?1");
    stmt.Bind(1, FoldName(name));
    return Done(stmt);
}

std::vector<std::string> EmulatedSystem::SpoolerPrinters()
{
    std::vector<std::string> names;
    auto stmt = db_.Prepare("SELECT name FROM spooler_printers ORDER BY fold");
    while (stmt.Step() == SQLITE_ROW)
        names.push_back(stmt.Text(0));
    return names;
}

bool EmulatedSystem::SetStatusRule(const StatusRule& rule)
{
    auto stmt = db_.Prepare("INSERT INTO printer_status(fold, name, answer, code) VALUES(?1, ?2, ?3, ?4) "
                            "ON CONFLICT(fold) DO UPDATE SET name = excluded.name, answer = excluded.answer, "
                            "code = excluded.code");
    stmt.Bind(1, FoldName(rule.printer)).Bind(2, rule.printer).Bind(3, rule.answer).Bind(4, rule.code);
    return Done(stmt);
}

bool EmulatedSystem::ClearStatusRule(const std::string& printer)
{
    auto stmt = db_.Prepare("DELETE FROM printer_status WHERE fold = ?1");
    stmt.Bind(1, FoldName(printer));
    return Done(stmt);
}

std::vector<EmulatedSystem::StatusRule> EmulatedSystem::StatusRules()
{
    std::vector<StatusRule> rules;
    auto stmt = db_.Prepare("SELECT name, answer, code FROM printer_status ORDER BY fold");
    while (stmt.Step() == SQLITE_ROW)
        rules.push_back(StatusRule{stmt.Text(0), stmt.Text(1), static_cast<std::int32_t>(stmt.Int(2))});
    return rules;
}

bool EmulatedSystem::SetStatusComponentInstalled(bool installed)
{
    auto stmt = db_.Prepare("INSERT INTO machine_settings(name, value) VALUES('status_component', ?1) "
                            "ON CONFLICT(name) DO UPDATE SET value = excluded.value");
    stmt.Bind(1, installed ? "installed" : "removed");
    return Done(stmt);
}

bool EmulatedSystem::StatusComponentInstalled()
{
    auto stmt = db_.Prepare("SELECT value FROM machine_settings WHERE name = 'status_component'");
    return stmt.Step() != SQLITE_ROW || stmt.Text(0) != "removed";
}

} // namespace quenyx::platform
