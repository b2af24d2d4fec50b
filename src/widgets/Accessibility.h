#pragma once

namespace quenyx::shell {

// Tells screen readers (UI Automation on Windows, AT-SPI on Linux) what the console's drawn controls are: the
// toolbar pictures, the panel buttons and the close picture are push buttons with their captions or tips as
// names and the press action; the navigation entries are selectable list items; the pictures that only
// decorate are left out. Installed once, by the first window that has such controls.
void InstallAccessibility();

} // namespace quenyx::shell
