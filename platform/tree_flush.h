// Putting a whole folder tree's writes on the disk at once, without a flush of every file as it
// is written.
#pragma once

#include <string>

namespace platform {

// Puts on the disk every file and folder below `folder`, and its entry in its parent, so that
// they survive a power loss. POSIX: syncfs of its file system. Windows: FlushFileBuffers of its
// volume, or where the system refuses that (without administrator rights, or under wine), of
// every file and folder below it and of the folders above it. False, with LastErrorCode set,
// when it cannot.
bool FlushTree(const std::string& folder);

}  // namespace platform
