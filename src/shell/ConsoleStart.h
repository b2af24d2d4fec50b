#pragma once

namespace quenyx::shell {

// Takes the application's style now and looks for no plugin after it. The platform, its input method and the
// style are all the plugins the console uses; what Qt would still load later are the image and icon plugins,
// every one of them, the first time anything asks which format a picture file has (the menu bar's extension
// arrow does, at start-up). The console's own pictures are PNGs it reads as PNGs.
void StopLookingForPlugins();

// Installs the host's platform with the console's own windows and folder chooser. When the machine cannot be
// used (on an emulated machine: a folder that is missing or read-only, a store that is missing, empty, truncated
// or corrupt) it says so in a message box that names the folder and what is wrong, and returns false: the
// console then ends with a non-zero status, having written nothing.
bool InstallHostPlatform();

} // namespace quenyx::shell
