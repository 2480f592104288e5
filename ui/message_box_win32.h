// The process-wide message function on Windows: Unicode message boxes owned by the progress
// dialog, captioned with the program's name.
#pragma once

#include <string>

// The caption: the program file's name without folder and extension ("Setup").
std::wstring ApplicationTitle(const std::wstring& modulePath);

// The style actually shown: OK, OK/Cancel, Yes/No and Yes/No/Cancel boxes that name no icon get
// the exclamation icon.
unsigned CompleteMessageBoxStyle(unsigned style);

// Makes every ShowMessageBox of the process a MessageBoxW.
void InstallWin32MessageBox();

// A MessageBoxW without owner and with an empty caption, for the system's own error texts.
int ShowUnownedWin32MessageBox(const std::string& text, unsigned style);
