#include "TestMachine.h"

#include "platform/emulated/EmulatedMachine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <unistd.h>

namespace quenyx::test {

namespace {

class EmulatedTestMachine final : public TestMachine
{
public:
    EmulatedTestMachine()
    {
        static std::atomic<int> counter{0};
        folder_ = std::filesystem::temp_directory_path() /
                  ("quenyx-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(folder_);
        std::string error;
        machine_ = platform::EmulatedMachine::Open(folder_, true, error);
        if (!machine_)
            ADD_FAILURE() << error;
        machine_->CreateKey(Root());
        std::filesystem::create_directories(HostPath(Folder()));
        platform::Install(platform::Platform{machine_, clock_, machine_});
    }

    ~EmulatedTestMachine() override
    {
        platform::Install(platform::Platform{});
        machine_.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    std::string Root() const override { return "SOFTWARE\\QuenyxTests\\Scratch"; }
    std::string Folder() const override { return "C:\\QuenyxTests"; }
    std::filesystem::path HostPath(const std::string& windowsPath) const override
    {
        return machine_->HostPath(windowsPath);
    }
    platform::RegistryAdmin& Admin() override { return *machine_; }
    bool KeepsValueOrder() const override { return true; }
    bool DenyWrite(const std::string& keyPath) override { return machine_->SetWriteDenied(keyPath, true) == 0; }

    platform::EmulatedMachine& machine() { return *machine_; }

private:
    std::filesystem::path folder_;
    std::shared_ptr<platform::EmulatedMachine> machine_;
};

} // namespace

std::unique_ptr<TestMachine> TestMachine::Create() { return std::make_unique<EmulatedTestMachine>(); }

} // namespace quenyx::test
