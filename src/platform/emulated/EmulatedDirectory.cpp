// The emulated machine's listing of a key's subkeys, and what it spares the reads that follow it in one view.
#include "platform/emulated/EmulatedMachine.h"

#include "platform/Text.h"
#include "platform/emulated/SortedWalk.h"

#include <sqlite3.h>

#include <algorithm>

namespace quenyx::platform {

namespace {

// Beyond a few names, a caller reading many values of each subkey is better served by the key's own reads.
constexpr std::size_t kMaxColumns = 4;

std::string_view FoldOf(const std::pair<std::string, std::int64_t>& child)
{
    return child.first;
}

} // namespace

void EmulatedMachine::SubKeysOf(std::int64_t id, std::vector<std::string>& names)
{
    names.clear();
    // Listed in a held view, the subkeys are kept with their ids for the opens that usually follow.
    const std::uint64_t view = HeldView();
    directory_ = {};
    auto stmt = db_.Cached("SELECT name, fold, id FROM keys WHERE parent = ?1 ORDER BY fold");
    stmt->Bind(1, id);
    while (stmt->Step() == SQLITE_ROW) {
        names.push_back(stmt->Text(0));
        if (view)
            directory_.children.emplace_back(stmt->Text(1), stmt->Int(2));
    }
    if (!view)
        return;
    auto parent = db_.Cached("SELECT path_fold FROM keys WHERE id = ?1");
    parent->Bind(1, id);
    if (parent->Step() == SQLITE_ROW) {
        directory_.view = view;
        directory_.parent = id;
        directory_.parentFold = parent->Text(0);
    }
}

std::optional<std::int64_t> EmulatedMachine::FindListed(std::string_view path)
{
    // Only the last name is folded for each lookup: the rest must be the listed key's path, which is folded
    // only when it is spelled otherwise than the last time it matched.
    const std::size_t cut = path.rfind('\\');
    if (cut == std::string_view::npos || cut == 0 || cut + 1 == path.size() || directory_.view == 0 ||
        directory_.view != HeldView())
        return std::nullopt;
    const std::string_view parent = path.substr(0, cut);
    if (parent != directory_.parentAsAsked) {
        if (FoldName(parent) != directory_.parentFold)
            return std::nullopt;
        directory_.parentAsAsked = parent;
    }
    const auto* child = FindFrom(directory_.children, directory_.next, FoldName(path.substr(cut + 1)), FoldOf);
    if (!child)
        return 0;
    directory_.found = static_cast<std::size_t>(child - directory_.children.data());
    return child->second;
}

const EmulatedMachine::Directory::Value* EmulatedMachine::ListedValue(std::int64_t id, const std::string& fold)
{
    if (directory_.view == 0 || directory_.view != HeldView() || directory_.found >= directory_.children.size() ||
        directory_.children[directory_.found].second != id)
        return nullptr;
    auto column = std::find_if(directory_.columns.begin(), directory_.columns.end(),
                               [&fold](const auto& c) { return c.first == fold; });
    if (column == directory_.columns.end()) {
        if (directory_.columns.size() >= kMaxColumns)
            return nullptr;
        std::vector<Directory::Value> values(directory_.children.size());
        if (!ReadColumnByName(fold, values)) {
            values.assign(directory_.children.size(), std::nullopt);
            ReadColumnByKey(fold, values);
        }
        directory_.columns.emplace_back(fold, std::move(values));
        column = directory_.columns.end() - 1;
    }
    return &column->second[directory_.found];
}

bool EmulatedMachine::ReadColumnByName(const std::string& fold, std::vector<Directory::Value>& values)
{
    if (!valuesByName_ || directory_.children.empty())
        return false;
    // The listed keys by id, to meet the values of that name as the index holds them: by key id.
    std::vector<std::pair<std::int64_t, std::size_t>> byId;
    byId.reserve(directory_.children.size());
    for (std::size_t i = 0; i < directory_.children.size(); ++i)
        byId.emplace_back(directory_.children[i].second, i);
    std::sort(byId.begin(), byId.end());
    auto stmt = db_.Cached("SELECT key, type, data FROM vals INDEXED BY vals_by_name "
                           "WHERE fold = ?1 AND key BETWEEN ?2 AND ?3 ORDER BY key");
    stmt->Bind(1, fold).Bind(2, byId.front().first).Bind(3, byId.back().first);
    // Values of other keys between the listed ones are passed over, up to about as many as are listed: past
    // that, looking the listed keys up one by one costs less.
    const std::size_t maxStrays = byId.size() + 64;
    std::size_t next = 0;
    std::size_t strays = 0;
    while (stmt->Step() == SQLITE_ROW) {
        const std::int64_t key = stmt->Int(0);
        while (next < byId.size() && byId[next].first < key)
            ++next;
        if (next < byId.size() && byId[next].first == key)
            values[byId[next++].second] = std::pair{static_cast<std::uint32_t>(stmt->Int(1)), stmt->Blob(2)};
        else if (++strays > maxStrays)
            return false;
    }
    return true;
}

void EmulatedMachine::ReadColumnByKey(const std::string& fold, std::vector<Directory::Value>& values)
{
    // One pass for every subkey, in the listing's order, so each row's subkey is at or after the last one's.
    auto stmt = db_.Cached("SELECT k.id, v.type, v.data FROM keys k JOIN vals v ON v.key = k.id "
                           "WHERE k.parent = ?1 AND v.fold = ?2 ORDER BY k.fold");
    stmt->Bind(1, directory_.parent).Bind(2, fold);
    std::size_t child = 0;
    while (stmt->Step() == SQLITE_ROW) {
        const std::int64_t key = stmt->Int(0);
        while (child < values.size() && directory_.children[child].second != key)
            ++child;
        if (child == values.size())
            break;
        values[child++] = std::pair{static_cast<std::uint32_t>(stmt->Int(1)), stmt->Blob(2)};
    }
}

} // namespace quenyx::platform
