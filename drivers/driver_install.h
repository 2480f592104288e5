// Installing the device drivers that a new installation carries at the top of its folder: every
// "*.sys" into the system's drivers folder, then every "*.inf" registered with the system.
#pragma once

#include <string>

// `sourceFolder` ends with a backslash. Failures are shown, never returned: the update goes on.
// Without any driver file nothing is done, setup information files included.
void InstallDrivers(const std::string& sourceFolder);

// Registers one setup information file with the system (NT family). On failure shows the system's
// error text and returns false; when even that text cannot be had, returns true silently.
bool RegisterSetupInformation(const std::string& infFile);
