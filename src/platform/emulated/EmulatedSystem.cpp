#include "platform/emulated/EmulatedSystem.h"

#include "platform/Text.h"

#include <sqlite3.h>

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
CREATE TABLE IF NOT EXISTS status_queries(seq INTEGER PRIMARY KEY AUTOINCREMENT, id INTEGER, name TEXT);
)sql";

class EmulatedPrinterHandle final : public PrinterHandle
{
};

bool Done(sqlite::Statement& stmt) { return stmt.Step() == SQLITE_DONE; }

} // namespace

std::shared_ptr<EmulatedSystem> EmulatedSystem::Open(const std::filesystem::path& folder, std::string& error)
{
    const auto store = folder / "registry.sqlite3";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(store, ec)) {
        error = "no emulated machine in " + folder.string();
        return nullptr;
    }
    std::shared_ptr<EmulatedSystem> system(new EmulatedSystem());
    if (!system->db_.Open(store.string(), false, error))
        return nullptr;
    std::string why;
    if (!system->db_.Exec("PRAGMA journal_mode = WAL;", &why) || !system->db_.Exec(kSchema, &why)) {
        error = "cannot read " + store.string() + ": " + why;
        return nullptr;
    }
    return system;
}

std::unique_ptr<PrinterHandle> EmulatedSystem::OpenPrinter(const std::string& printerName)
{
    auto stmt = db_.Prepare("SELECT 1 FROM spooler_printers WHERE fold = ?1");
    stmt.Bind(1, FoldName(printerName));
    if (stmt.Step() != SQLITE_ROW)
        return nullptr;
    return std::make_unique<EmulatedPrinterHandle>();
}

StatusAnswer EmulatedSystem::GetPrinterStatus(std::int16_t tessalineId, const std::string& fullName,
                                              std::int32_t& status)
{
    auto log = db_.Prepare("INSERT INTO status_queries(id, name) VALUES(?1, ?2)");
    log.Bind(1, tessalineId).Bind(2, fullName);
    std::ignore = log.Step();

    if (!StatusComponentInstalled())
        return StatusAnswer::Failed;
    auto stmt = db_.Prepare("SELECT answer, code FROM printer_status WHERE fold = ?1");
    stmt.Bind(1, FoldName(fullName));
    if (stmt.Step() != SQLITE_ROW) {
        status = 0;
        return StatusAnswer::Answered;
    }
    const std::string answer = stmt.Text(0);
    if (answer == "fail")
        return StatusAnswer::Failed;
    if (answer == "none")
        return StatusAnswer::NotAnswered;
    status = static_cast<std::int32_t>(stmt.Int(1));
    return StatusAnswer::Answered;
}

bool EmulatedSystem::AddSpoolerPrinter(const std::string& name)
{
    auto stmt = db_.Prepare("INSERT INTO spooler_printers(fold, name) VALUES(?1, ?2) "
                            "ON CONFLICT(fold) DO UPDATE SET name = excluded.name");
    stmt.Bind(1, FoldName(name)).Bind(2, name);
    return Done(stmt);
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

std::vector<std::string> EmulatedSystem::StatusQueries()
{
    std::vector<std::string> queries;
    auto stmt = db_.Prepare("SELECT id, name FROM status_queries ORDER BY seq");
    while (stmt.Step() == SQLITE_ROW)
        queries.push_back(std::to_string(stmt.Int(0)) + " " + stmt.Text(1));
    return queries;
}

} // namespace quenyx::platform
