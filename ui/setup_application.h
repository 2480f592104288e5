// The program from start to end: language, confirmation, the update in the progress dialog.
#pragma once

#include <windows.h>

// Runs the dialogs from `resources`; nothing changes when the user cancels the language
// choice or answers No. Returns the process exit code.
int RunSetupApplication(HINSTANCE resources);
