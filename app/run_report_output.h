// The run's report as the setup log's closing block and as VexorandSetupReport.json beside the
// log, which deployment systems collect.
#pragma once

#include <string>
#include <vector>

#include "app/run_report.h"
#include "base/message_sink.h"

// The JSON report (UTF-8); its schema is in the README.
std::string RenderReportJson(const RunReport& report);

// The closing block, one log entry per line, in the system code page.
std::vector<std::string> RenderReportLogLines(const RunReport& report);

// The report file: the run's log directory + "VexorandSetupReport.json".
std::string GetReportFilePath(const SetupRun& run);

// Writes the closing block into the setup log through `sink`, and the JSON report to a
// temporary name renamed into place; a report that cannot be written gets a log line.
void WriteRunReport(IMessageSink& sink, const RunReport& report);

// For a run cancelled before the update began: writes its report and returns its exit code.
int WriteCancelledRunReport(IMessageSink& sink);
