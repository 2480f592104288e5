// Switching the machine off at the end of an update, and the platform question it depends on.
#pragma once

#include <cstdint>

// The exit flags of the power-off request: shut down and switch the power off.
constexpr std::uint32_t kExitPowerOff = 8;

// True when the system reports the NT platform family; false for any other platform or when the
// version cannot be read.
bool IsNtFamily();

// Asks the system to exit with `flags`, enabling the shutdown privilege first on the NT family.
// Nothing is reported: a refused request simply leaves the machine running.
void ShutDownSystem(std::uint32_t flags);
