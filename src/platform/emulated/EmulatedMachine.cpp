#include "platform/emulated/EmulatedMachine.h"

#include "platform/emulated/EmulatedKey.h"

#include "platform/Text.h"

#include <sqlite3.h>

#include <algorithm>
#include <system_error>
#include <tuple>

namespace quenyx::platform {

namespace {

constexpr std::int64_t kRootId = 1;

std::string JoinFolded(const std::vector<std::string>& parts, std::size_t count)
{
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        if (i)
            out.push_back('\\');
        out += FoldName(parts[i]);
    }
    return out;
}

// The key's path as stored in path_fold: what JoinFolded makes of SplitKeyPath's parts, without building
// them. False where SplitKeyPath finds an empty component.
bool FoldKeyPath(std::string_view path, std::string& folded)
{
    if (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    if (!path.empty() && (path.front() == '\\' || path.back() == '\\' || path.find("\\\\") != std::string_view::npos))
        return false;
    folded = FoldName(path);
    return true;
}

bool HasWriteAccess(std::uint32_t access)
{
    return (access & reg_access::WriteBits) != 0;
}

} // namespace

EmulatedMachine::EmulatedMachine(std::filesystem::path folder) : folder_(std::move(folder)) {}

EmulatedMachine::~EmulatedMachine() = default;

bool EmulatedMachine::Done(int rc)
{
    if ((rc & 0xFF) == SQLITE_BUSY)
        locked_ = true;
    return rc == SQLITE_DONE;
}

// Each statement outside a transaction takes and drops a read lock of the store, which costs more than
// the lookup itself; a key's reads share one.
bool EmulatedMachine::BeginSnapshot()
{
    if (snapshotOpen_ || !sqlite3_get_autocommit(db_.handle()))
        return false;
    auto begin = db_.Cached("BEGIN");
    snapshotOpen_ = begin->Step() == SQLITE_DONE;
    views_ += snapshotOpen_ ? 1 : 0;
    return snapshotOpen_;
}

void EmulatedMachine::EndSnapshotUnlessOwner(const Key* owner)
{
    if (!snapshotOpen_ || (owner && owner == snapshotOwner_))
        return;
    // A held view is shared by every reading key; only a writer (or the release) ends it.
    if (owner && !snapshotOwner_ && readHolds_ > 0 && owner->readOnly())
        return;
    snapshotOpen_ = false;
    snapshotOwner_ = nullptr;
    {
        auto commit = db_.Cached("COMMIT");
        if (commit->Step() == SQLITE_DONE)
            return;
    }
    std::ignore = db_.Exec("ROLLBACK");
}

void EmulatedMachine::HoldReads(bool hold)
{
    readHolds_ += hold ? 1 : -1;
    if (readHolds_ <= 0) {
        readHolds_ = 0;
        if (!snapshotOwner_)
            EndSnapshotUnlessOwner(nullptr);
    }
}

void EmulatedMachine::EndSnapshotOf(const Key* owner)
{
    if (snapshotOpen_ && snapshotOwner_ == owner)
        EndSnapshotUnlessOwner(nullptr);
}

void EmulatedMachine::ReadInView(const std::function<void(sqlite::Database&)>& read)
{
    if (readHolds_ > 0) {
        if (snapshotOwner_)
            EndSnapshotUnlessOwner(nullptr);
        std::ignore = BeginSnapshot();
    } else {
        EndSnapshotUnlessOwner(nullptr);
    }
    read(db_);
}

std::uint64_t EmulatedMachine::HeldView() const
{
    return readHolds_ > 0 && snapshotOpen_ && !snapshotOwner_ ? views_ : 0;
}

std::int64_t EmulatedMachine::FindKey(std::string_view path)
{
    EndSnapshotUnlessOwner(nullptr);
    return Find(path);
}

std::int64_t EmulatedMachine::Find(std::string_view path)
{
    if (const auto listed = FindListed(path))
        return *listed;
    std::string folded;
    if (!FoldKeyPath(path, folded))
        return 0;
    if (folded.empty())
        return kRootId;
    auto stmt = db_.Cached("SELECT id FROM keys WHERE path_fold = ?1");
    stmt->Bind(1, folded);
    return stmt->Step() == SQLITE_ROW ? stmt->Int(0) : 0;
}

RegStatus EmulatedMachine::OpenKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& key)
{
    key.reset();
    const bool writing = HasWriteAccess(access);
    const bool shared = !writing && readHolds_ > 0;
    if (!shared || snapshotOwner_)
        EndSnapshotUnlessOwner(nullptr);
    const bool snapshot = !writing && BeginSnapshot() && !shared;
    const std::int64_t id = Find(path);
    if (id == 0) {
        if (!shared)
            EndSnapshotUnlessOwner(nullptr);
        return reg_error::FileNotFound;
    }
    if (writing && WriteDenied(path))
        return reg_error::AccessDenied;
    auto opened = std::make_unique<Key>(*this, id, access);
    if (snapshot)
        snapshotOwner_ = opened.get();
    key = std::move(opened);
    return reg_error::Success;
}

RegStatus EmulatedMachine::CreateKey(std::string_view path)
{
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts))
        return reg_error::InvalidParameter;
    return Atomically([&]() -> RegStatus {
        std::int64_t parent = kRootId;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const std::string folded = JoinFolded(parts, i + 1);
            {
                auto find = db_.Cached("SELECT id FROM keys WHERE path_fold = ?1");
                find->Bind(1, folded);
                if (find->Step() == SQLITE_ROW) {
                    parent = find->Int(0);
                    continue;
                }
            }
            auto insert = db_.Cached("INSERT INTO keys(parent, name, fold, path_fold) VALUES(?1, ?2, ?3, ?4)");
            insert->Bind(1, parent).Bind(2, parts[i]).Bind(3, FoldName(parts[i])).Bind(4, folded);
            if (!Done(insert->Step()))
                return reg_error::BadKey;
            parent = sqlite3_last_insert_rowid(db_.handle());
        }
        return reg_error::Success;
    });
}

RegStatus EmulatedMachine::DeleteKeyTree(std::string_view path)
{
    const std::int64_t id = FindKey(path);
    if (id == 0)
        return reg_error::FileNotFound;
    if (id == kRootId)
        return reg_error::AccessDenied;
    auto stmt = db_.Cached("DELETE FROM keys WHERE id = ?1");
    stmt->Bind(1, id);
    return Done(stmt->Step()) ? reg_error::Success : reg_error::BadKey;
}

RegStatus EmulatedMachine::SetRawValue(std::string_view path, const RawValue& value)
{
    const std::int64_t id = FindKey(path);
    if (id == 0)
        return reg_error::FileNotFound;
    Key writer(*this, id, reg_access::AllAccess);
    return writer.SetValue(value.name, value.type, value.data);
}

RegStatus EmulatedMachine::DeleteRawValue(std::string_view path, std::string_view name)
{
    const std::int64_t id = FindKey(path);
    if (id == 0)
        return reg_error::FileNotFound;
    Key writer(*this, id, reg_access::AllAccess);
    return writer.DeleteValue(name);
}

RegStatus EmulatedMachine::ListSubKeys(std::string_view path, std::vector<std::string>& names)
{
    names.clear();
    const std::int64_t id = FindKey(path);
    if (id == 0)
        return reg_error::FileNotFound;
    SubKeysOf(id, names);
    return reg_error::Success;
}

RegStatus EmulatedMachine::ListValues(std::string_view path, std::vector<RawValue>& values)
{
    values.clear();
    const std::int64_t id = FindKey(path);
    if (id == 0)
        return reg_error::FileNotFound;
    ValuesOf(id, values);
    return reg_error::Success;
}

void EmulatedMachine::ValuesOf(std::int64_t id, std::vector<RawValue>& values)
{
    values.clear();
    auto stmt = db_.Cached("SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY seq");
    stmt->Bind(1, id);
    while (stmt->Step() == SQLITE_ROW)
        values.push_back(RawValue{stmt->Text(0), static_cast<std::uint32_t>(stmt->Int(1)), stmt->Blob(2)});
}

RegStatus EmulatedMachine::Atomically(const std::function<RegStatus()>& work)
{
    EndSnapshotUnlessOwner(nullptr);
    if (transactionDepth_ > 0)
        return work();
    if (!Done(db_.Cached("BEGIN IMMEDIATE")->Step()))
        return reg_error::BadKey;
    ++transactionDepth_;
    RegStatus status = reg_error::BadKey;
    try {
        status = work();
    } catch (...) {
        --transactionDepth_;
        db_.Exec("ROLLBACK");
        throw;
    }
    --transactionDepth_;
    if (status == reg_error::Success) {
        if (!db_.Exec("COMMIT")) {
            db_.Exec("ROLLBACK");
            return reg_error::BadKey;
        }
    } else {
        db_.Exec("ROLLBACK");
    }
    return status;
}

RegStatus EmulatedMachine::SetWriteDenied(std::string_view path, bool denied)
{
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts))
        return reg_error::InvalidParameter;
    if (FindKey(path) == 0)
        return reg_error::FileNotFound;
    auto stmt = db_.Cached(denied ? "INSERT OR IGNORE INTO write_denied(path_fold) VALUES(?1)"
                                  : "DELETE FROM write_denied WHERE path_fold = ?1");
    stmt->Bind(1, JoinFolded(parts, parts.size()));
    return Done(stmt->Step()) ? reg_error::Success : reg_error::BadKey;
}

bool EmulatedMachine::IsWriteDenied(std::string_view path)
{
    EndSnapshotUnlessOwner(nullptr);
    return WriteDenied(path);
}

bool EmulatedMachine::WriteDenied(std::string_view path)
{
    std::vector<std::string> parts;
    if (!SplitKeyPath(path, parts))
        return false;
    auto stmt = db_.Cached("SELECT 1 FROM write_denied WHERE path_fold = ?1");
    for (std::size_t n = 0; n <= parts.size(); ++n) {
        stmt->Reset();
        stmt->Bind(1, JoinFolded(parts, n));
        if (stmt->Step() == SQLITE_ROW)
            return true;
    }
    return false;
}

std::filesystem::path EmulatedMachine::HostPath(std::string_view windowsPath)
{
    std::string_view rest = windowsPath;
    std::filesystem::path out = folder_ / "drive_c";
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
        out = folder_ / (std::string("drive_") + static_cast<char>(std::tolower(static_cast<unsigned char>(rest[0]))));
        rest.remove_prefix(2);
    }
    // Each component is matched without regard to case against what exists, as Windows would.
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = rest.find_first_of("\\/", start);
        const std::string part(
            rest.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (!part.empty() && part != ".") {
            std::filesystem::path next = out / part;
            std::error_code ec;
            if (!std::filesystem::exists(next, ec) && std::filesystem::is_directory(out, ec)) {
                for (const auto& entry : std::filesystem::directory_iterator(out, ec)) {
                    if (EqualsIgnoringCase(entry.path().filename().string(), part)) {
                        next = entry.path();
                        break;
                    }
                }
            }
            out = std::move(next);
        }
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return out;
}

} // namespace quenyx::platform
