// Which file is the installation package: the running program's own file, unless the host or a
// test names another one in the run.
#pragma once

#include <string>

struct SetupRun;

// The run's package file, or the running program's own file when the run names none.
std::string GetPackageFile(const SetupRun& run);
