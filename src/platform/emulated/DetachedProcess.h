#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quenyx::platform {

// Starts `program` with the argument vector `argv` (argv[0] included) and returns at once. The child
// belongs to no one: it runs in a session of its own with stdin, stdout and stderr on /dev/null, and the
// intermediate process is reaped before returning, so nothing is left to wait for and no zombie stays.
// `environment` entries ("NAME=value") replace inherited ones of the same name. False when the program
// could not be started (missing, not executable, no process left).
bool StartDetached(const std::filesystem::path& program, const std::vector<std::string>& argv,
                   const std::vector<std::string>& environment);

// The executable `name` in the folders of PATH; empty when there is none.
std::filesystem::path FindInPath(const std::string& name);

// The folder of the running executable; empty when it cannot be told.
std::filesystem::path ExecutableFolder();

bool IsExecutableFile(const std::filesystem::path& file);

} // namespace quenyx::platform
