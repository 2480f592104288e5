// The shell's silent recursive copy (SHFileOperationA, FO_COPY, flags 0x214).
#pragma once

#include <string>

namespace platform {

// Copies what `sourcePattern` (for example "C:\A\*.*") names, files and sub-folders with all they
// hold, into the folder `destination`: missing folders are created, existing files replaced,
// nothing is asked and no progress is shown. True only when everything was copied. `title` is
// the progress title the system would show.
bool ShellCopy(const std::string& sourcePattern, const std::string& destination,
               const std::string& title = "");

}  // namespace platform
