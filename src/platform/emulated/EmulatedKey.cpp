#include "platform/emulated/EmulatedKey.h"

#include "platform/Text.h"

#include <sqlite3.h>

namespace quenyx::platform {

namespace {

bool HasWriteAccess(std::uint32_t access)
{
    return (access & reg_access::WriteBits) != 0;
}

} // namespace

EmulatedMachine::Key::Key(EmulatedMachine& machine, std::int64_t id, std::uint32_t access)
    : machine_(machine), id_(id), access_(access)
{
}

EmulatedMachine::Key::~Key()
{
    machine_.EndSnapshotOf(this);
}

bool EmulatedMachine::Key::readOnly() const
{
    return !HasWriteAccess(access_);
}

RegStatus EmulatedMachine::Key::QueryValueInfo(std::string_view name, std::uint32_t& type, std::uint32_t& size)
{
    machine_.EndSnapshotUnlessOwner(this);
    std::string fold = FoldName(name);
    if (const auto* listed = machine_.ListedValue(id_, fold)) {
        if (!*listed) {
            size = 0;
            return reg_error::FileNotFound;
        }
        type = (*listed)->first;
        size = static_cast<std::uint32_t>((*listed)->second.size());
        found_ = {machine_.views_, std::string(name), std::move(fold), type, (*listed)->second};
        return reg_error::Success;
    }
    auto stmt = machine_.db_.Cached("SELECT type, data FROM vals WHERE key = ?1 AND fold = ?2");
    stmt->Bind(1, id_).Bind(2, fold);
    if (stmt->Step() != SQLITE_ROW) {
        size = 0;
        return reg_error::FileNotFound;
    }
    type = static_cast<std::uint32_t>(stmt->Int(0));
    size = static_cast<std::uint32_t>(stmt->Bytes(1));
    // Within one view of the store the value cannot change: the read that usually follows is answered here.
    if (machine_.snapshotOpen_)
        found_ = {machine_.views_, std::string(name), std::move(fold), type, stmt->Blob(1)};
    return reg_error::Success;
}

RegStatus EmulatedMachine::Key::QueryValue(std::string_view name, std::uint32_t capacity, std::uint32_t& type,
                                           std::string& data)
{
    machine_.EndSnapshotUnlessOwner(this);
    if (machine_.snapshotOpen_ && found_.view == machine_.views_ &&
        (found_.name == name || found_.fold == FoldName(name))) {
        type = found_.type;
        if (found_.data.size() > capacity) {
            data.clear();
            return reg_error::MoreData;
        }
        data = found_.data;
        return reg_error::Success;
    }
    auto stmt = machine_.db_.Cached("SELECT type, data FROM vals WHERE key = ?1 AND fold = ?2");
    stmt->Bind(1, id_).Bind(2, FoldName(name));
    if (stmt->Step() != SQLITE_ROW)
        return reg_error::FileNotFound;
    type = static_cast<std::uint32_t>(stmt->Int(0));
    if (stmt->Bytes(1) > capacity) {
        data.clear();
        return reg_error::MoreData;
    }
    data = stmt->Blob(1);
    return reg_error::Success;
}

RegStatus EmulatedMachine::Key::SetValue(std::string_view name, std::uint32_t type, std::string_view data)
{
    if (!HasWriteAccess(access_))
        return reg_error::AccessDenied;
    machine_.EndSnapshotUnlessOwner(this);
    auto stmt = machine_.db_.Cached("INSERT INTO vals(key, fold, seq, name, type, data) VALUES(?1, ?2, "
                                    "(SELECT COALESCE(MAX(seq), 0) + 1 FROM vals WHERE key = ?1), ?3, ?4, ?5) "
                                    "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data");
    stmt->Bind(1, id_).Bind(2, FoldName(name)).Bind(3, name).Bind(4, static_cast<std::int64_t>(type));
    stmt->BindBlob(5, data);
    const int rc = stmt->Step();
    if (machine_.Done(rc))
        return reg_error::Success;
    return (rc & 0xFF) == SQLITE_CONSTRAINT ? reg_error::KeyDeleted : reg_error::BadKey;
}

RegStatus EmulatedMachine::Key::DeleteValue(std::string_view name)
{
    if (!HasWriteAccess(access_))
        return reg_error::AccessDenied;
    machine_.EndSnapshotUnlessOwner(this);
    auto stmt = machine_.db_.Cached("DELETE FROM vals WHERE key = ?1 AND fold = ?2");
    stmt->Bind(1, id_).Bind(2, FoldName(name));
    if (!machine_.Done(stmt->Step()))
        return reg_error::BadKey;
    return sqlite3_changes(machine_.db_.handle()) > 0 ? reg_error::Success : reg_error::FileNotFound;
}

RegStatus EmulatedMachine::Key::EnumKey(std::uint32_t index, std::uint32_t nameCapacity, std::string& name)
{
    if (index == 0 || !keysLoaded_) {
        machine_.EndSnapshotUnlessOwner(this);
        machine_.SubKeysOf(id_, subkeys_);
        keysLoaded_ = true;
    }
    if (index >= subkeys_.size())
        return reg_error::NoMoreItems;
    if (subkeys_[index].size() >= nameCapacity)
        return reg_error::MoreData;
    name = subkeys_[index];
    return reg_error::Success;
}

RegStatus EmulatedMachine::Key::EnumValue(std::uint32_t index, std::uint32_t nameCapacity, std::uint32_t dataCapacity,
                                          std::string& name, std::string& data, std::uint32_t& dataLength)
{
    if (index == 0 || !valuesLoaded_) {
        machine_.EndSnapshotUnlessOwner(this);
        machine_.ValuesOf(id_, values_);
        valuesLoaded_ = true;
    }
    if (index >= values_.size())
        return reg_error::NoMoreItems;
    const RawValue& value = values_[index];
    dataLength = static_cast<std::uint32_t>(value.data.size());
    if (value.name.size() >= nameCapacity || value.data.size() > dataCapacity)
        return reg_error::MoreData;
    name = value.name;
    data = value.data;
    return reg_error::Success;
}

} // namespace quenyx::platform
