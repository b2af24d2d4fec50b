#include "TestMachine.h"

#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <process.h>

namespace quenyx::test {

namespace {

using platform::win32::Win32Registry;

constexpr const char* kHivesKey = "SOFTWARE\\QuenyxTests";

std::string Utf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The real registry, with HKEY_LOCAL_MACHINE of the test process pointed at a hive of its own
// (HKLM\SOFTWARE\QuenyxTests\<pid>-<n>), so that the console's absolute paths (the agent key, the cluster
// database) start empty for every test and never reach the machine's own; and a scratch folder under the
// user's temporary folder.
class Win32TestMachine final : public TestMachine
{
public:
    Win32TestMachine() : registry_(std::make_shared<Win32Registry>())
    {
        static std::atomic<int> counter{0};
        const std::string unique = std::to_string(::_getpid()) + "-" + std::to_string(counter++);
        hive_ = std::string(kHivesKey) + "\\" + unique;
        std::ignore = registry_->DeleteKeyTree(hive_);
        Expect(registry_->CreateKey(hive_), "create HKLM\\" + hive_);
        Expect(Win32Registry::OverrideLocalMachine(hive_), "point HKLM at " + hive_);
        Expect(registry_->CreateKey(Root()), "create " + Root());

        const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("quenyx-test-" + unique);
        folder_ = Utf8(folder);
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
        if (!std::filesystem::create_directories(folder, ec))
            ADD_FAILURE() << "cannot create " << folder_ << ": " << ec.message();

        files_ = platform::win32::MakePlatform().files;
        platform::Install(platform::Platform{registry_, clock_, files_});
    }

    ~Win32TestMachine() override
    {
        platform::Install(platform::Platform{});
        Expect(Win32Registry::OverrideLocalMachine(""), "give HKLM back");
        Expect(registry_->DeleteKeyTree(hive_), "delete HKLM\\" + hive_);
        // The hives' parent goes too once no other test process has a hive in it.
        std::vector<std::string> others;
        std::vector<platform::RawValue> values;
        if (registry_->ListSubKeys(kHivesKey, others) == 0 && others.empty() &&
            registry_->ListValues(kHivesKey, values) == 0 && values.empty())
            std::ignore = registry_->DeleteKeyTree(kHivesKey);
        std::error_code ec;
        std::filesystem::remove_all(HostPath(folder_), ec);
    }

    std::string Root() const override { return "SOFTWARE\\QuenyxTests\\Scratch"; }
    std::string Folder() const override { return folder_; }
    std::filesystem::path HostPath(const std::string& windowsPath) const override
    {
        return files_->HostPath(windowsPath);
    }
    platform::RegistryAdmin& Admin() override { return *registry_; }
    bool KeepsValueOrder() const override { return false; }
    bool DenyWrite(const std::string&) override { return false; }

private:
    static void Expect(platform::RegStatus status, const std::string& what)
    {
        if (status != platform::reg_error::Success)
            ADD_FAILURE() << "cannot " << what << ": error " << status;
    }

    std::string hive_;
    std::string folder_;
    std::shared_ptr<Win32Registry> registry_;
    std::shared_ptr<platform::Files> files_;
};

} // namespace

std::unique_ptr<TestMachine> TestMachine::Create()
{
    return std::make_unique<Win32TestMachine>();
}

} // namespace quenyx::test
