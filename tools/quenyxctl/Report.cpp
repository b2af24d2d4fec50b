#include "Report.h"

#include <algorithm>
#include <cstdio>

namespace quenyx::ctl {

namespace {

void AppendJsonString(std::string& out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void AppendMembers(std::string& out, const std::vector<Field>& fields, bool& first)
{
    for (const Field& field : fields) {
        if (!first)
            out += ',';
        first = false;
        AppendJsonString(out, field.name);
        out += ':';
        if (field.kind == Field::Kind::Text)
            AppendJsonString(out, field.text);
        else
            out += field.kind == Field::Kind::Truth ? field.text : std::string("null");
    }
}

std::string Shown(const Field& field)
{
    if (field.kind == Field::Kind::Missing)
        return "-";
    if (field.kind == Field::Kind::Truth)
        return field.text == "true" ? "yes" : "no";
    return field.text;
}

// Columns are as wide as their widest cell; a cell's width counts characters, not UTF-8 bytes.
std::size_t Width(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Every row of the list, kept or made, in order.
template <typename Visit>
void ForEachRow(const Report& report, Visit visit)
{
    for (const Row& row : report.rows)
        visit(row);
    Row made;
    for (std::size_t i = 0; i < report.madeRows && report.makeRow; ++i) {
        made.clear();
        report.makeRow(i, made);
        visit(made);
    }
}

} // namespace

std::string JsonString(const std::string& text)
{
    std::string out;
    AppendJsonString(out, text);
    return out;
}

// Written in pieces of some hundred kilobytes: a list of 50,000 printers is some megabytes, and building it whole
// costs a fresh page of memory for every 4 KiB of it, while a write per field costs more than reading them.
void PrintJson(std::ostream& out, const Report& report, bool check)
{
    constexpr std::size_t kPiece = 256 * 1024;
    std::string json;
    json.reserve(kPiece + 4096);
    const auto flushIfFull = [&] {
        if (json.size() >= kPiece) {
            out.write(json.data(), static_cast<std::streamsize>(json.size()));
            json.clear();
        }
    };
    json += report.changed ? "{\"changed\":true" : "{\"changed\":false";
    if (check)
        json += ",\"check\":true";
    if (!report.listName.empty()) {
        json += ',';
        AppendJsonString(json, report.listName);
        json += ":[";
        bool firstRow = true;
        ForEachRow(report, [&](const Row& row) {
            json += firstRow ? "{" : ",{";
            firstRow = false;
            bool first = true;
            AppendMembers(json, row, first);
            json += '}';
            flushIfFull();
        });
        json += ']';
    }
    bool first = false;
    AppendMembers(json, report.extra, first);
    json += "}\n";
    out.write(json.data(), static_cast<std::streamsize>(json.size()));
}

void PrintText(std::ostream& out, const Report& report, bool check)
{
    // A person's table needs every row for its column widths, so made rows are made once, here, and kept.
    std::vector<Row> rows = report.rows;
    for (std::size_t i = 0; i < report.madeRows && report.makeRow; ++i)
        report.makeRow(i, rows.emplace_back());
    if (!rows.empty()) {
        const Row& header = rows.front();
        std::vector<std::size_t> widths(header.size());
        for (std::size_t c = 0; c < header.size(); ++c)
            widths[c] = Width(header[c].name);
        for (const Row& row : rows)
            for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
                widths[c] = std::max(widths[c], Width(Shown(row[c])));
        const auto line = [&](const auto& cell) {
            std::string text;
            for (std::size_t c = 0; c < widths.size(); ++c) {
                const std::string shown = cell(c);
                text += shown;
                if (c + 1 < widths.size())
                    text += std::string(widths[c] - Width(shown) + 2, ' ');
            }
            text.erase(text.find_last_not_of(' ') + 1);
            out << text << "\n";
        };
        line([&](std::size_t c) { return std::string(header[c].name); });
        for (const Row& row : rows)
            line([&](std::size_t c) { return c < row.size() ? Shown(row[c]) : std::string(); });
    }
    for (const Field& field : report.extra)
        out << field.name << ": " << Shown(field) << "\n";
    if (check)
        out << (report.changed ? "would change (nothing written: --check)\n" : "no change\n");
    else
        out << (report.changed ? "changed\n" : "no change\n");
}

} // namespace quenyx::ctl
