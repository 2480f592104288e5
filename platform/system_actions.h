// Questions to and requests of the operating system itself.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// GetVersionExA with the extended record (size 156), then with the basic one (size 148):
// the platform identifier, or false when both fail.
bool QueryPlatformId(std::uint32_t* platformId);

// Enables SeShutdownPrivilege on the process token; results are not examined.
void EnableShutdownPrivilege();

// ExitWindowsEx(flags, 0xFFFFFFFF). On POSIX it runs the command named by the environment
// variable SETUP_POWER_OFF_COMMAND, and nothing when that is not set.
void RequestSystemExit(std::uint32_t flags);

}  // namespace platform
