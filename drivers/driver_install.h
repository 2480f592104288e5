// Installing the device drivers that a new installation carries at the top of its folder: every
// "*.sys" into the system's drivers folder, then every "*.inf" registered with the system.
#pragma once

#include <string>

#include "base/message_sink.h"

// `sourceFolder` ends with a backslash. Failures are shown through `sink`, never returned: the
// update goes on.
// Without any driver file nothing is done, setup information files included.
void InstallDrivers(IMessageSink& sink, const std::string& sourceFolder);

// Registers one setup information file with the system (NT family). On failure shows the system's
// error text and returns false; when even that text cannot be had, returns true silently.
bool RegisterSetupInformation(IMessageSink& sink, const std::string& infFile);
