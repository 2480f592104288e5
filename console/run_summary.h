// What the console edition prints at the end of a run: where the backup is, what was not done,
// the exit code and where the report lies.
#pragma once

#include <iosfwd>

#include "app/run_report.h"
#include "base/setup_run.h"

// In the run's language; the report lies in the run's log directory.
void PrintRunSummary(std::ostream& out, const RunReport& report, const SetupRun& run);
