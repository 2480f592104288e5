// Which machine the Windows paths of this process name.
#pragma once

#include <string>

namespace platform {

// Makes the Windows paths name the machine staged in the host folder `root`: POSIX sets the
// volume map's root to it; Windows, whose paths name the machine itself, refuses (false).
bool UseMachineRoot(const std::string& root);

}  // namespace platform
