#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace quenyx::shell {

// Every message box of the console: the text, an exclamation icon, an OK button and the console's title.
// Tests install a handler that sees the text instead of a modal box.
void ShowMessage(const QString& text, QWidget* parent = nullptr);
// The same box without an icon, for the few messages the design shows plain; tests see it through the same handler.
void ShowPlainMessage(const QString& text, QWidget* parent = nullptr);
void SetMessageHandlerForTests(std::function<void(const QString&)> handler);

inline constexpr const char* kConsoleTitle = "Quenyx Agent Admin";

} // namespace quenyx::shell
