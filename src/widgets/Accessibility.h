#pragma once

class QWidget;

namespace quenyx::shell {

// Tells screen readers (UI Automation on Windows, AT-SPI on Linux) what the console's drawn controls are: the
// toolbar pictures, the panel buttons and the close picture are push buttons with their captions or tips as
// names and the press action; the navigation entries are selectable list items; the pictures that only
// decorate are left out. Installed once, by the first window that has such controls.
void InstallAccessibility();

// A drawn page tab (a picture holding its caption label): a page tab named by its caption, pressed to show its page.
void MarkAsTab(QWidget* header);

} // namespace quenyx::shell
