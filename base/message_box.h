// The process-wide message function: every message box of the system goes through it, and the
// host (Win32 dialogs, terminal, tests) decides how it is shown and answered.
#pragma once

#include <functional>
#include <string>

// Message-box styles and answers, the Windows values.
constexpr unsigned kMbOk = 0x00;
constexpr unsigned kMbOkCancel = 0x01;
constexpr unsigned kMbYesNo = 0x04;
constexpr unsigned kMbIconStop = 0x10;
constexpr unsigned kMbIconExclamation = 0x30;
constexpr unsigned kMbDefaultButton2 = 0x100;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// Shows `text` (UTF-8) with a Windows message-box style and returns the button pressed.
using MessageBoxFunction = std::function<int(const std::string& text, unsigned style)>;

// Installs the host's function; an empty function restores the default, which writes the text to
// standard error and answers as the box's default button would.
void SetMessageBoxFunction(MessageBoxFunction function);

int ShowMessageBox(const std::string& text, unsigned style);
