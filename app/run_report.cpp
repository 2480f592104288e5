#include "app/run_report.h"

#include "base/text_format.h"
#include "platform/local_time.h"

RunReport BeginRunReport() {
  RunReport report;
  report.started = FormatTime(platform::ReadLocalTime(), "%04u-%02u-%02u %02u:%02u:%02u");
  report.startedAt = std::chrono::steady_clock::now();
  return report;
}

void EndRunReport(RunReport* report, RunEnd end) {
  report->end = end;
  report->seconds = std::chrono::duration_cast<std::chrono::seconds>(
                        std::chrono::steady_clock::now() - report->startedAt)
                        .count();
}

bool IsComplete(const RunReport& report) {
  for (const ConfigurationRecord& configuration : report.configurations) {
    if (configuration.status == ConfigurationRecord::Status::kNotCarried ||
        !configuration.valuesLeftOut.empty()) {
      return false;
    }
  }
  for (const DriverResult& driver : report.drivers) {
    if (!driver.installed) {
      return false;
    }
  }
  const bool packageCopied = report.packageCopy.empty() || report.packageCopyWritten;
  return packageCopied && report.languageRecorded && report.notDeleted.empty() &&
         report.shortfalls.empty();
}

int ExitCodeOf(const RunReport& report) {
  switch (report.end) {
    case RunEnd::kFinished:
      return IsComplete(report) ? kExitDone : kExitIncomplete;
    case RunEnd::kFailed:
      return report.clearingBegan ? kExitFailedCleared : kExitFailedUnchanged;
    case RunEnd::kInterrupted:
      return report.workBegan ? kExitInterrupted : kExitCancelled;
    case RunEnd::kCancelled:
    case RunEnd::kRunning:
      break;
  }
  return kExitCancelled;
}

const char* OutcomeName(const RunReport& report) {
  if (report.end == RunEnd::kRunning) {
    return "running";
  }
  switch (ExitCodeOf(report)) {
    case kExitDone:
      return "done";
    case kExitFailedUnchanged:
      return "failed_unchanged";
    case kExitFailedCleared:
      return "failed_after_clearing";
    case kExitIncomplete:
      return "incomplete";
    case kExitInterrupted:
      return "interrupted";
    default:
      return "cancelled";
  }
}
