#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a command found or did, printed as one JSON object or as aligned text for a person.
namespace quenyx::ctl {

// A field's name is always a literal of the program's, so it is not copied into each of a long list's rows.
struct Field
{
    enum class Kind { Text, Truth, Missing };
    std::string_view name;
    std::string text;
    Kind kind = Kind::Text;

    static Field Of(std::string_view name, std::string text) { return {name, std::move(text), Kind::Text}; }
    static Field Truth(std::string_view name, bool on) { return {name, on ? "true" : "false", Kind::Truth}; }
    static Field None(std::string_view name) { return {name, "", Kind::Missing}; }
};

using Row = std::vector<Field>;

struct Report
{
    bool changed = false;
    std::string listName; // "settings", "printers" or "trace"; empty for a command that lists nothing
    std::vector<Row> rows;
    // A long list is instead made a row at a time while it is printed, into one row used again: 50,000
    // printers are never held as 50,000 rows. Rows 0 .. madeRows - 1, after `rows`.
    std::size_t madeRows = 0;
    std::function<void(std::size_t, Row&)> makeRow;
    std::vector<Field> extra; // further members of the object, after the list
};

// `check`: the run wrote nothing, and `changed` says what a run without --check would change.
void PrintJson(std::ostream& out, const Report& report, bool check);
void PrintText(std::ostream& out, const Report& report, bool check);

// The text as a JSON string, quotes included.
std::string JsonString(const std::string& text);

} // namespace quenyx::ctl
