// The yardstick for quenyxctl: about the least a program can do to answer the same question from the machine's
// registry.sqlite3, with one raw SQLite statement and none of the console's code.
//   anchor_ctl MACHINE printers          every spooler printer's key with the values a printers row is made
//                                        of, and the agent's two values that decide its switches, as JSON
//   anchor_ctl MACHINE set NAME TEXT     one string value of the agent key replaced
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr const char* kPrinters = R"sql(
SELECT k.name,
       (SELECT data FROM vals WHERE key = k.id AND fold = 'TESSALINEID'),
       (SELECT data FROM vals WHERE key = k.id AND fold = 'DISABLESECUREPRINT'),
       (SELECT data FROM vals WHERE key = k.id AND fold = 'NCACTIVATE'),
       (SELECT data FROM vals WHERE key = k.id AND fold = 'DISABLEECOTONER'),
       (SELECT v.data FROM keys a JOIN vals v ON v.key = a.id
         WHERE a.path_fold = 'SOFTWARE\TESSALINE\QUENYX\AGENT' AND v.fold = 'DISABLEACCOUNTS'),
       (SELECT v.data FROM keys a JOIN vals v ON v.key = a.id
         WHERE a.path_fold = 'SOFTWARE\TESSALINE\QUENYX\AGENT' AND v.fold = 'SECUREPRINTENABLED')
FROM keys k JOIN keys p ON k.parent = p.id
WHERE p.path_fold = 'SYSTEM\CURRENTCONTROLSET\CONTROL\PRINT\PRINTERS'
ORDER BY k.fold
)sql";

constexpr const char* kSet = R"sql(
INSERT INTO vals(key, fold, seq, name, type, data)
SELECT id, upper(?1), coalesce((SELECT max(seq) + 1 FROM vals WHERE key = k.id), 0), ?1, 1, ?2 FROM keys k
WHERE path_fold = 'SOFTWARE\TESSALINE\QUENYX\AGENT'
ON CONFLICT(key, fold) DO UPDATE SET data = excluded.data, type = 1
)sql";

std::string Text(sqlite3_stmt* stmt, int column)
{
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
    std::string text(bytes ? bytes : "", bytes ? static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)) : 0);
    if (const auto nul = text.find('\0'); nul != std::string::npos)
        text.resize(nul);
    return text;
}

void Quoted(std::string& out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    out += '"';
}

int Printers(sqlite3* db)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, kPrinters, -1, &stmt, nullptr) != SQLITE_OK)
        return 1;
    std::string out = "{\"printers\":[";
    bool first = true;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        out += first ? "{\"name\":" : ",{\"name\":";
        first = false;
        Quoted(out, Text(stmt, 0));
        const char* fields[] = {"id", "secure_print", "nc", "eco_toner", "accounts", "secure"};
        for (int c = 1; c < 7; ++c) {
            out += ",\"";
            out += fields[c - 1];
            out += "\":";
            Quoted(out, Text(stmt, c));
        }
        out += '}';
    }
    out += "]}\n";
    sqlite3_finalize(stmt);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int Set(sqlite3* db, const std::string& name, const std::string& text)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, kSet, -1, &stmt, nullptr) != SQLITE_OK)
        return 1;
    const std::string data = text + '\0';
    sqlite3_bind_text(stmt, 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    sqlite3_bind_blob(stmt, 2, data.data(), static_cast<int>(data.size()), SQLITE_STATIC);
    const int status = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    std::puts("{\"changed\":true}");
    return status == SQLITE_DONE ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 2 ? argv[2] : "";
    if (mode != "printers" && !(mode == "set" && argc == 5)) {
        std::fprintf(stderr, "usage: anchor_ctl MACHINE printers | anchor_ctl MACHINE set NAME TEXT\n");
        return 2;
    }
    const std::string store = std::string(argv[1]) + "/registry.sqlite3";
    sqlite3* db = nullptr;
    const int flags = mode == "set" ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    if (sqlite3_open_v2(store.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "anchor_ctl: cannot open %s\n", store.c_str());
        return 1;
    }
    sqlite3_busy_timeout(db, 10000);
    const int status = mode == "set" ? Set(db, argv[3], argv[4]) : Printers(db);
    sqlite3_close(db);
    return status;
}
