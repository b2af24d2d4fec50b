#include "TestMachine.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>

namespace quenyx {
namespace {

std::string Contents(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A reader that does not share deletion (most do not) holds the trace file: the replace fails, and both files stay
// as they were, instead of the file going missing.
TEST(Win32RenameReplacing, AFileHeldOpenStaysAsItWas)
{
    const auto machine = test::TestMachine::Create();
    const auto folder = machine->HostPath(machine->Folder());
    const auto from = folder / "Quenyx.Agent.Sender.Service.toml.tmp";
    const auto to = folder / "Quenyx.Agent.Sender.Service.toml";
    std::ofstream(from, std::ios::binary) << "new";
    std::ofstream(to, std::ios::binary) << "old";

    const HANDLE reader = CreateFileW(to.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    const bool replaced = platform::RenameReplacing(from, to);
    CloseHandle(reader);

    EXPECT_FALSE(replaced);
    EXPECT_EQ(Contents(to), "old");
    EXPECT_EQ(Contents(from), "new");
}

} // namespace
} // namespace quenyx
