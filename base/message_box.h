// The process-wide message function: every message box of the system goes through it, and the
// host (Win32 dialogs, terminal, tests) decides how it is shown and answered.
#pragma once

#include <functional>
#include <string>

#include "base/message_styles.h"

// Shows `text` (UTF-8) with a Windows message-box style and returns the button pressed.
using MessageBoxFunction = std::function<int(const std::string& text, unsigned style)>;

// Installs the host's function and returns the one it replaces, for a host that lives inside
// another to give back. An empty function restores the default, which writes the text to standard
// error and answers as the box's default button would.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function);

int ShowMessageBox(const std::string& text, unsigned style);
