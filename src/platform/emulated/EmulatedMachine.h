#pragma once

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/emulated/Sqlite.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quenyx::platform {

// A Windows machine kept in a folder: HKEY_LOCAL_MACHINE in a SQLite database ("registry.sqlite3"),
// drive letters as folders ("drive_c" for C:). Names compare without regard to case and keep the case
// they were first written with; subkeys enumerate sorted, values in the order they were created. Several
// processes may use one machine at once (WAL, busy timeout, one transaction per write).
//
// A key opened only for reading reads one snapshot of the store, taken when it opens, until it closes
// or anything else is done on this machine, whichever comes first; the console's keys live for one
// operation. Writers, here or in other processes, are never held up by it, and no write ever runs
// inside it.
class EmulatedMachine final : public RegistryBackend, public RegistryAdmin, public Files
{
public:
    static constexpr const char* kRegistryFile = "registry.sqlite3";

    enum class Mode {
        Create,    // makes the folder, drive C: and the store when missing
        ReadWrite, // an existing machine, to be read and changed: its folder and store must be writable
        ReadOnly,  // an existing machine, only read: nothing in the folder changes, a read-only store is fine
    };

    // Opens the machine in `folder`. Returns null with `error` set, naming the folder and what is wrong with
    // it, when the folder holds no usable machine (missing, read-only for ReadWrite, a store that is empty,
    // truncated or not a store at all). Opening an existing machine writes nothing to it.
    static std::shared_ptr<EmulatedMachine> Open(const std::filesystem::path& folder, Mode mode, std::string& error);
    // Whether `folder` holds a store (the folder and the file exist, the file is not empty), known without
    // opening it: a file opened and closed beside SQLite's own would drop this process's locks on it.
    static bool CheckStore(const std::filesystem::path& folder, std::string& error);
    static std::shared_ptr<EmulatedMachine> Open(const std::filesystem::path& folder, bool create, std::string& error)
    {
        return Open(folder, create ? Mode::Create : Mode::ReadWrite, error);
    }
    ~EmulatedMachine() override;

    const std::filesystem::path& folder() const { return folder_; }

    // RegistryBackend
    RegStatus OpenKey(std::string_view path, std::uint32_t access, std::unique_ptr<RegistryKey>& key) override;
    void HoldReads(bool hold) override;

    // RegistryAdmin
    RegStatus CreateKey(std::string_view path) override;
    RegStatus DeleteKeyTree(std::string_view path) override;
    RegStatus SetRawValue(std::string_view path, const RawValue& value) override;
    RegStatus DeleteRawValue(std::string_view path, std::string_view name) override;
    RegStatus ListSubKeys(std::string_view path, std::vector<std::string>& names) override;
    RegStatus ListValues(std::string_view path, std::vector<RawValue>& values) override;
    RegStatus Atomically(const std::function<RegStatus()>& work) override;

    // Access rules: opening a key at or under a denied key for writing answers 5 (access denied), as
    // for a user without rights; reading stays allowed.
    RegStatus SetWriteDenied(std::string_view path, bool denied);
    bool IsWriteDenied(std::string_view path);

    // Files: the machine's ANSI code page is UTF-8 (code page 65001), so texts pass unchanged.
    std::filesystem::path HostPath(std::string_view windowsPath) override;
    std::string ToAnsi(std::string_view text) override { return std::string(text); }
    std::string FromAnsi(std::string_view bytes) override { return std::string(bytes); }

    // The key's id, or 0 when no such key exists ("" is the root).
    std::int64_t FindKey(std::string_view path);

    // Runs `read` on the machine's own connection, for the machine's other parts (its spooler and status
    // component) that only read: inside the one view while registry reads are held, so that their answers
    // belong to the same store as the registry's; otherwise as any other operation, after a key's snapshot.
    void ReadInView(const std::function<void(sqlite::Database&)>& read);
    // While reads are held in one view: a number that stays the same for that view and differs from every
    // other view's, so answers read in it may be kept until it ends. 0 outside a held view.
    std::uint64_t HeldView() const;
    // Whether a write has failed because another process held the store's lock for longer than the wait.
    bool WasLocked() const { return locked_; }

private:
    class Key;

    // The subkeys of the key last listed in a held view, by folded name in the store's order with their ids, and
    // the values of a few names read for all of them at once: a search opens each subkey in turn and reads the
    // same value of each, and finding them here spares two lookups in the store per subkey.
    struct Directory
    {
        using Value = std::optional<std::pair<std::uint32_t, std::string>>; // type and data, or no such value
        std::uint64_t view = 0;
        std::int64_t parent = 0;
        std::string parentFold;
        std::string parentAsAsked; // the parent's path as a lookup last spelled it
        std::vector<std::pair<std::string, std::int64_t>> children;
        std::size_t next = 0;  // where the next child is looked for first
        std::size_t found = 0; // the child found last
        // By folded value name: each listed subkey's value of that name.
        std::vector<std::pair<std::string, std::vector<Value>>> columns;
    };

    explicit EmulatedMachine(std::filesystem::path folder);
    bool Initialise(Mode mode, std::string& error);
    // Notes a statement's result code; false unless it succeeded (SQLITE_DONE).
    bool Done(int rc);

    std::int64_t Find(std::string_view path);
    bool WriteDenied(std::string_view path);
    void SubKeysOf(std::int64_t id, std::vector<std::string>& names);
    // The id of the key at `path` when the listed subkeys answer for it (0: there is no such key), else nothing.
    std::optional<std::int64_t> FindListed(std::string_view path);
    // The value named `fold` (folded) of the key `id` when the listed subkeys answer for it, else null.
    const Directory::Value* ListedValue(std::int64_t id, const std::string& fold);
    // Reads the value named `fold` of every listed subkey into `values` (in the listing's order): from the
    // values indexed by name where the store has that index and the listed keys' values of that name are not
    // lost among many others; otherwise by looking each one up.
    bool ReadColumnByName(const std::string& fold, std::vector<Directory::Value>& values);
    void ReadColumnByKey(const std::string& fold, std::vector<Directory::Value>& values);
    void ValuesOf(std::int64_t id, std::vector<RawValue>& values);

    bool BeginSnapshot();
    // Ends the open snapshot unless it is `owner`'s (null: whoever's it is).
    void EndSnapshotUnlessOwner(const Key* owner);
    void EndSnapshotOf(const Key* owner);

    std::filesystem::path folder_;
    sqlite::Database db_;
    int transactionDepth_ = 0;
    bool snapshotOpen_ = false;
    const Key* snapshotOwner_ = nullptr; // null while held for reads: every read key shares it
    int readHolds_ = 0;
    std::uint64_t views_ = 0; // snapshots begun, the number of the open one

    Directory directory_;
    bool valuesByName_ = false; // whether the store has the index vals_by_name
    bool locked_ = false;
};

} // namespace quenyx::platform
