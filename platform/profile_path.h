// Which file a profile function reads or writes for the name it is given.
#pragma once

#include <string>

namespace platform {

// A name without a folder or drive is a file of the Windows folder, as the system's profile
// functions take it; any other path is itself.
std::string ProfilePath(const std::string& file);

}  // namespace platform
