// The shell's silent recursive copy (SHFileOperationA, FO_COPY, flags 0x214).
#pragma once

#include <string>

namespace platform {

// Copies what `sourcePattern` (for example "C:\A\*.*") names, files and sub-folders with their
// contents, into the folder `destination`, without confirmations or progress display. `title` is
// the progress title the system would show.
bool ShellCopy(const std::string& sourcePattern, const std::string& destination,
               const std::string& title = "");

// The window that owns the shell's operations and message boxes (the progress dialog).
void SetOwnerWindow(void* window);
void* GetOwnerWindow();

}  // namespace platform
