// Installing the device drivers that a new installation carries at the top of its folder: every
// "*.sys" into the system's drivers folder, then every "*.inf" registered with the system.
#pragma once

#include <string>
#include <vector>

#include "base/message_sink.h"

// One driver or setup information file, and whether it went in.
struct DriverResult {
  std::string file;  // its name, or the pattern of a listing that failed (system code page)
  bool installed = false;
};

// `sourceFolder` ends with a backslash. Failures are shown through `sink` and the update goes on;
// what became of each file is returned for the run's report.
// Without any driver file nothing is done, setup information files included; a listing that
// fails is one result not installed.
std::vector<DriverResult> InstallDrivers(IMessageSink& sink, const std::string& sourceFolder);

// Registers one setup information file with the system (NT family). On failure shows the system's
// error text and returns false; when even that text cannot be had, returns true silently.
bool RegisterSetupInformation(IMessageSink& sink, const std::string& infFile);
