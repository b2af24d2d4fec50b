#pragma once

#include "platform/Clock.h"
#include "platform/Platform.h"

#include <filesystem>
#include <memory>
#include <string>

namespace quenyx::test {

// A clock that stands still where the test puts it, with pictures the test may change.
class FixedClock final : public platform::Clock
{
public:
    platform::LocalTime now{2026, 12, 3, 14, 5, 33};
    std::string datePicture{platform::kDefaultShortDatePicture};
    std::string timePicture{platform::kDefaultTimePicture};

    platform::LocalTime Now() override { return now; }
    std::string ShortDate(const platform::LocalTime& t) override { return platform::FormatPicture(datePicture, t); }
    std::string TimeOfDay(const platform::LocalTime& t) override { return platform::FormatPicture(timePicture, t); }
};

// A machine of the backend this build runs on, private to one test: a fresh emulated machine in a
// temporary folder, or a scratch area of the real registry under Windows. It installs itself as the
// current platform and leaves nothing behind.
class TestMachine
{
public:
    static std::unique_ptr<TestMachine> Create();
    virtual ~TestMachine() = default;

    // The key under which the test builds what it needs; it exists, empty, when the test starts.
    virtual std::string Root() const = 0;
    // A folder (as a Windows path) the test may write files into; it exists when the test starts.
    virtual std::string Folder() const = 0;
    virtual std::filesystem::path HostPath(const std::string& windowsPath) const = 0;
    virtual platform::RegistryAdmin& Admin() = 0;

    // What only the emulated machine can show: value order kept as created, and refused writes.
    virtual bool KeepsValueOrder() const = 0;
    virtual bool DenyWrite(const std::string& keyPath) = 0;

    FixedClock& clock() { return *clock_; }

    // Shorthands for fixtures.
    std::string Key(const std::string& relative) const { return relative.empty() ? Root() : Root() + "\\" + relative; }
    void MakeKey(const std::string& relative);
    void SetString(const std::string& relative, const std::string& name, const std::string& bytes);
    void SetRaw(const std::string& relative, const std::string& name, std::uint32_t type, const std::string& bytes);

protected:
    TestMachine() : clock_(std::make_shared<FixedClock>()) {}
    std::shared_ptr<FixedClock> clock_;
};

} // namespace quenyx::test
