#include "platform/emulated/EmulatedMachine.h"

#include <sqlite3.h>

#include <system_error>
#include <unistd.h>

namespace quenyx::platform {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY,
    parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    fold TEXT NOT NULL,
    path_fold TEXT NOT NULL UNIQUE);
CREATE INDEX IF NOT EXISTS keys_by_parent ON keys(parent, fold);
CREATE TABLE IF NOT EXISTS vals(
    key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
    fold TEXT NOT NULL,
    seq INTEGER NOT NULL,
    name TEXT NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(key, fold)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS vals_by_seq ON vals(key, seq);
CREATE INDEX IF NOT EXISTS vals_by_name ON vals(fold, key, type, data);
CREATE TABLE IF NOT EXISTS write_denied(path_fold TEXT PRIMARY KEY);
INSERT OR IGNORE INTO keys(id, parent, name, fold, path_fold) VALUES(1, NULL, '', '', '');
)sql";

// A file or folder without its owner's write permission is read-only, as Windows' attribute is: for root too.
bool ReadOnlyOnDisk(const std::filesystem::path& path)
{
    std::error_code ec;
    const auto perms = std::filesystem::status(path, ec).permissions();
    return ec || (perms & std::filesystem::perms::owner_write) == std::filesystem::perms::none ||
           ::access(path.c_str(), W_OK) != 0;
}

} // namespace

std::shared_ptr<EmulatedMachine> EmulatedMachine::Open(const std::filesystem::path& folder, Mode mode,
                                                       std::string& error)
{
    std::shared_ptr<EmulatedMachine> machine(new EmulatedMachine(folder));
    if (!machine->Initialise(mode, error))
        return nullptr;
    return machine;
}

bool EmulatedMachine::CheckStore(const std::filesystem::path& folder, std::string& error)
{
    std::error_code ec;
    const auto store = folder / kRegistryFile;
    if (!std::filesystem::is_directory(folder, ec)) {
        error = "the machine folder " + folder.string() + " does not exist";
        return false;
    }
    if (!std::filesystem::is_regular_file(store, ec)) {
        error = "no emulated machine in " + folder.string() + " (" + store.filename().string() + " is missing)";
        return false;
    }
    if (std::filesystem::file_size(store, ec) == 0 && !ec) {
        error = "the store " + store.string() + " is empty (0 bytes)";
        return false;
    }
    return true;
}

bool EmulatedMachine::Initialise(Mode mode, std::string& error)
{
    std::error_code ec;
    const auto store = folder_ / kRegistryFile;
    const std::string where = "the machine folder " + folder_.string();
    if (mode == Mode::Create) {
        std::filesystem::create_directories(folder_ / "drive_c", ec);
        if (ec) {
            error = "cannot create " + folder_.string() + ": " + ec.message();
            return false;
        }
        std::string why;
        if (!db_.Open(store.string(), true, why) ||
            !db_.Exec("PRAGMA foreign_keys = ON; PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;", &why) ||
            !db_.Exec(kSchema, &why)) {
            error = "cannot create " + store.string() + ": " + why;
            return false;
        }
        valuesByName_ = true;
        return true;
    }

    if (!CheckStore(folder_, error))
        return false;
    if (mode == Mode::ReadWrite && (ReadOnlyOnDisk(folder_) || ReadOnlyOnDisk(store))) {
        error = where + " is read-only";
        return false;
    }

    // A reader takes no lock and leaves no file behind when no writer is at work (no write-ahead log).
    std::filesystem::path wal = store;
    wal += "-wal";
    std::string why;
    const bool opened = mode == Mode::ReadOnly
                            ? db_.OpenReadOnly(store.string(), !std::filesystem::exists(wal, ec), why)
                            : db_.Open(store.string(), false, why);
    if (!opened) {
        error = "the store " + store.string() + " cannot be opened: " + why;
        return false;
    }
    // Connection settings only: nothing here writes to the store. The first read of the schema is where a damaged
    // file shows, a file shorter than its header says included.
    auto tables = db_.Prepare("SELECT count(*) FILTER (WHERE type = 'table' AND name IN ('keys', 'vals', "
                              "'write_denied')), count(*) FILTER (WHERE type = 'index' AND name = 'vals_by_name') "
                              "FROM sqlite_master");
    if (!db_.Exec("PRAGMA foreign_keys = ON; PRAGMA synchronous = NORMAL;", &why) || tables.Step() != SQLITE_ROW) {
        const bool busy = (sqlite3_errcode(db_.handle()) & 0xFF) == SQLITE_BUSY;
        error =
            "the store " + store.string() + (busy ? " is locked: " : " is corrupt or truncated: ") + db_.LastError();
        return false;
    }
    if (tables.Int(0) != 3) {
        error = "the store " + store.string() + " is corrupt (it holds no registry)";
        return false;
    }
    // A store made before values were indexed by name is read without that index, never given it here.
    valuesByName_ = tables.Int(1) == 1;
    return true;
}

} // namespace quenyx::platform
