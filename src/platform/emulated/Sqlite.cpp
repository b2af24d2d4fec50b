#include "platform/emulated/Sqlite.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quenyx::platform::sqlite {

Statement::Statement(sqlite3* db, std::string_view sql, unsigned prepareFlags)
{
    if (db &&
        sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), prepareFlags, &stmt_, nullptr) != SQLITE_OK)
        stmt_ = nullptr;
}

Statement::~Statement()
{
    if (stmt_)
        sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept : stmt_(other.stmt_)
{
    other.stmt_ = nullptr;
}

Statement& Statement::Bind(int index, std::int64_t value)
{
    if (stmt_)
        sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

Statement& Statement::Bind(int index, std::string_view text)
{
    if (stmt_)
        sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::BindBlob(int index, std::string_view bytes)
{
    // A zero-length blob, not NULL: an empty value is a value with no data.
    if (stmt_)
        sqlite3_bind_blob(stmt_, index, bytes.empty() ? "" : bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
    return *this;
}

int Statement::Step()
{
    return stmt_ ? sqlite3_step(stmt_) : SQLITE_MISUSE;
}

void Statement::Reset()
{
    if (stmt_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
}

std::int64_t Statement::Int(int column) const
{
    return sqlite3_column_int64(stmt_, column);
}

std::string Statement::Text(int column) const
{
    const auto* text = sqlite3_column_text(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size)) : std::string();
}

std::string Statement::Blob(int column) const
{
    const void* blob = sqlite3_column_blob(stmt_, column);
    const int size = sqlite3_column_bytes(stmt_, column);
    return blob ? std::string(static_cast<const char*>(blob), static_cast<std::size_t>(size)) : std::string();
}

std::size_t Statement::Bytes(int column) const
{
    return static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column));
}

CachedStatement::~CachedStatement()
{
    stmt_->Reset();
    if (inUse_)
        *inUse_ = false;
}

Database::~Database()
{
    cache_.clear();
    if (db_)
        sqlite3_close_v2(db_);
}

CachedStatement Database::Cached(std::string_view sql)
{
    auto found = cache_.find(sql);
    if (found == cache_.end()) {
        Statement statement(db_, sql, SQLITE_PREPARE_PERSISTENT);
        // A text that does not prepare (no connection, a store busy being recovered) is not kept: the
        // next use tries again.
        if (!statement.ok())
            return CachedStatement(std::move(statement));
        found = cache_.emplace(std::string(sql), CacheEntry{std::move(statement), false}).first;
    }
    if (found->second.inUse)
        return CachedStatement(Statement(db_, sql));
    return CachedStatement(found->second.statement, found->second.inUse);
}

bool Database::OpenAs(const std::string& name, int flags, std::string& error)
{
    if (sqlite3_open_v2(name.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        error = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return false;
    }
    sqlite3_busy_timeout(db_, BusyTimeout());
    return true;
}

bool Database::Open(const std::string& file, bool create, std::string& error)
{
    return OpenAs(file, SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0), error);
}

bool Database::OpenReadOnly(const std::string& file, bool immutable, std::string& error)
{
    // As a URI, so that the file can be marked immutable; every byte outside the unreserved set is escaped.
    std::string uri = "file:";
    for (const char c : file) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || std::strchr("/-._~", c)) {
            uri.push_back(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            uri += escaped;
        }
    }
    uri += immutable ? "?mode=ro&immutable=1" : "?mode=ro";
    return OpenAs(uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, error);
}

int Database::BusyTimeout()
{
    const char* named = std::getenv("QUENYX_LOCK_TIMEOUT_MS");
    const int ms = named ? std::atoi(named) : 0;
    return ms > 0 ? ms : 10000;
}

bool Database::Exec(std::string_view sql, std::string* error)
{
    char* message = nullptr;
    const std::string text(sql);
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        if (error)
            *error = message ? message : "unknown error";
        sqlite3_free(message);
        return false;
    }
    return true;
}

std::string Database::LastError() const
{
    return db_ ? sqlite3_errmsg(db_) : "no database";
}

} // namespace quenyx::platform::sqlite
