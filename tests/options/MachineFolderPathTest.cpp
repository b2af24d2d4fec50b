#include "TestMachine.h"

#include "platform/FolderBrowser.h"
#include "platform/emulated/EmulatedMachine.h"

#include <gtest/gtest.h>

namespace quenyx {
namespace {

struct FolderCase
{
    const char* label;
    std::string hostRelative; // below the machine's folder
    std::string expected;
};

class MachineFolderPath : public ::testing::TestWithParam<FolderCase>
{
};

// What the folder dialog hands back on the emulated machine becomes a path of the machine, or nothing.
TEST_P(MachineFolderPath, IsTheChosenFoldersPathOnItsDrive)
{
    const auto machine = test::TestMachine::Create();
    auto& emulated = dynamic_cast<platform::EmulatedMachine&>(machine->Admin());
    const auto root = emulated.folder();
    std::filesystem::create_directories(root / "drive_c" / "QuenyxTests" / "Logs" / "A\u00f1o");
    std::filesystem::create_directories(root / "drive_d" / "Trace");
    std::filesystem::create_directory_symlink(root / "drive_c" / "QuenyxTests", root / "link");

    EXPECT_EQ(platform::MachineFolderPath(emulated, root / GetParam().hostRelative), GetParam().expected);
}

const FolderCase kFolderCases[] = {
    {"DriveRoot", "drive_c", "C:\\"},
    {"Folder", "drive_c/QuenyxTests", "C:\\QuenyxTests"},
    {"NonAsciiName", "drive_c/QuenyxTests/Logs/A\u00f1o", "C:\\QuenyxTests\\Logs\\A\u00f1o"},
    {"OtherDrive", "drive_d/Trace", "D:\\Trace"},
    {"ThroughALink", "link/Logs", "C:\\QuenyxTests\\Logs"},
    {"OutsideTheMachine", "..", ""},
};
INSTANTIATE_TEST_SUITE_P(Folders, MachineFolderPath, ::testing::ValuesIn(kFolderCases),
                         [](const auto& each) { return std::string(each.param.label); });

} // namespace
} // namespace quenyx
