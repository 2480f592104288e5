// The setup log: problems that must not interrupt the update, one time-stamped entry each, in
// "VexorandSetupLog.txt" of the log directory.
#pragma once

#include <string>

#include "platform/local_time.h"

struct SetupRun;

// The path of the run's log file: "VexorandSetupLog.txt" in its log directory.
std::string GetLogFilePath(const SetupRun& run);

// `text` followed by two spaces, the time stamp "%u:%u:%u %u/%u/%u", a blank, CR and LF.
std::string FormatLogLine(const std::string& text, const platform::LocalTime& time);

class IMessageSink;

// Appends one entry to the log of `sink`'s run; when the file cannot be written, shows "Open log
// file failed!" through `sink`.
void AppendLogLine(const std::string& text, IMessageSink& sink);
