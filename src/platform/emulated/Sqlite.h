#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace quenyx::platform::sqlite {

// A prepared statement that finalizes itself. Bind positions count from 1.
class Statement final
{
public:
    // `prepareFlags` are sqlite3_prepare_v3's (SQLITE_PREPARE_PERSISTENT for a statement kept for reuse).
    Statement(sqlite3* db, std::string_view sql, unsigned prepareFlags = 0);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, std::string_view text);
    Statement& BindBlob(int index, std::string_view bytes);
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step();
    void Reset();
    std::int64_t Int(int column) const;
    std::string Text(int column) const;
    std::string Blob(int column) const;
    // The size in bytes of a text or blob column, without copying it.
    std::size_t Bytes(int column) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
};

// One use of a statement from the connection's cache. Ending the use resets the statement: one left
// stepped to a row would keep its read transaction open, and in WAL mode the connection would go on
// reading that stale snapshot and hold back every checkpoint.
class CachedStatement final
{
public:
    ~CachedStatement();
    CachedStatement(CachedStatement&&) = delete;
    CachedStatement& operator=(CachedStatement&&) = delete;

    Statement& operator*() { return *stmt_; }
    Statement* operator->() { return stmt_; }

private:
    friend class Database;
    CachedStatement(Statement& shared, bool& inUse) : stmt_(&shared), inUse_(&inUse) { inUse = true; }
    explicit CachedStatement(Statement own) : own_(std::move(own)), stmt_(&own_) {}

    Statement own_{nullptr, {}};
    Statement* stmt_;
    bool* inUse_ = nullptr;
};

// One connection, closed on destruction.
class Database final
{
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens (or, with create, creates) the file; false with `error` set when it is not a usable database.
    bool Open(const std::string& file, bool create, std::string& error);
    // Opens the file for reading only. `immutable` tells SQLite that nobody writes it meanwhile, so that it
    // needs no lock and no shared-memory file beside it.
    bool OpenReadOnly(const std::string& file, bool immutable, std::string& error);
    // How long a statement waits for another connection's lock before it fails with SQLITE_BUSY: 10 s, or
    // the milliseconds QUENYX_LOCK_TIMEOUT_MS names (tests of a held lock).
    static int BusyTimeout();
    bool Exec(std::string_view sql, std::string* error = nullptr);
    Statement Prepare(std::string_view sql) { return Statement(db_, sql); }
    // The statement of `sql`, prepared once per connection and kept for the connection's life, so for the
    // program's fixed texts only. A use that starts while another use of the same text is still going gets
    // a statement of its own.
    CachedStatement Cached(std::string_view sql);
    sqlite3* handle() const { return db_; }
    std::string LastError() const;

private:
    struct CacheEntry
    {
        Statement statement;
        bool inUse = false;
    };
    struct TextHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };

    bool OpenAs(const std::string& name, int flags, std::string& error);

    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, CacheEntry, TextHash, std::equal_to<>> cache_;
};

} // namespace quenyx::platform::sqlite
