#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace quenyx::platform::sqlite {

// A prepared statement that finalizes itself. Bind positions count from 1.
class Statement final
{
public:
    Statement(sqlite3* db, std::string_view sql);
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

private:
    sqlite3_stmt* stmt_ = nullptr;
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
    bool Exec(std::string_view sql, std::string* error = nullptr);
    Statement Prepare(std::string_view sql) { return Statement(db_, sql); }
    sqlite3* handle() const { return db_; }
    std::string LastError() const;

private:
    sqlite3* db_ = nullptr;
};

} // namespace quenyx::platform::sqlite
