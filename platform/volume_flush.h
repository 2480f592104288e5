// Putting a whole volume's writes on the disk at once, cheaper than a flush of every file and
// folder when many were written.
#pragma once

#include <string>

namespace platform {

// Puts on the disk everything written to the volume that holds `path`, file contents and folder
// entries alike, so that it survives a power loss (POSIX: syncfs; Windows: FlushFileBuffers of
// the volume, which takes administrator rights). False, with LastErrorCode set, when it cannot.
bool FlushVolume(const std::string& path);

}  // namespace platform
