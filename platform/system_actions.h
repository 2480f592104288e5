// Questions to and requests of the operating system itself.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The system's platform identifier (2 for the NT family; always 2 on POSIX), or false when the
// system does not say (GetVersionExA, extended record, then the basic one).
bool QueryPlatformId(std::uint32_t* platformId);

// Lets the process switch the computer off, where the system asks for that; whether it worked is
// not reported (SeShutdownPrivilege).
void EnableShutdownPrivilege();

// Asks the system to end the session as `flags` say and returns (ExitWindowsEx). On POSIX it runs
// the command in SETUP_POWER_OFF_COMMAND with the flags as its argument and waits for it; without
// that variable nothing happens.
void RequestSystemExit(std::uint32_t flags);

}  // namespace platform
