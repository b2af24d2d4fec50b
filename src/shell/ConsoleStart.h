#pragma once

namespace quenyx::shell {

// Installs the host's platform with the console's own windows and folder chooser. When the machine cannot be
// used (on an emulated machine: a folder that is missing or read-only, a store that is missing, empty, truncated
// or corrupt) it says so in a message box that names the folder and what is wrong, and returns false: the
// console then ends with a non-zero status, having written nothing.
bool InstallHostPlatform();

} // namespace quenyx::shell
