// What one run of the update did, filled in by the sequencer as it goes: the exit status, the
// closing block of the setup log and the JSON report beside it all come from it.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "drivers/driver_install.h"
#include "migration/configuration_record.h"

// The exit status of both editions; deployment systems read it.
constexpr int kExitDone = 0;             // everything the technician agreed to was done
constexpr int kExitFailedUnchanged = 1;  // failed before the old installation was touched
constexpr int kExitCancelled = 2;        // cancelled, or No, before anything changed
constexpr int kExitFailedCleared = 3;    // failed after the clearing began
constexpr int kExitIncomplete = 4;       // ran to its end, but not everything was done
constexpr int kExitInterrupted = 5;      // stopped by a signal or the session's end once work began
constexpr int kExitUsage = 64;           // the command line was wrong

// The version of the JSON report; raised when a key changes meaning or goes.
constexpr int kReportSchema = 1;

// How the run has ended so far.
enum class RunEnd { kRunning, kCancelled, kFailed, kInterrupted, kFinished };

struct RunReport {
  std::string started;  // local time, "2024-06-03 14:05:09"
  std::chrono::steady_clock::time_point startedAt;
  long long seconds = 0;
  RunEnd end = RunEnd::kRunning;
  std::string failure;  // with kFailed: the text shown (UTF-8)
  // The backup was begun: from here on an interruption leaves work half done.
  bool workBegan = false;
  // The clearing of the old installation was begun: a failure leaves no old installation.
  bool clearingBegan = false;
  // Paths below are Windows paths in the system code page; "" when there is none.
  std::string versionFrom;
  std::string versionTo;
  std::string backupFolder;
  std::string migrationFolder;
  std::string packageCopy;  // where the copy goes; "" when BACKUPPATH asks for none
  bool packageCopyWritten = false;
  bool languageRecorded = true;
  std::vector<ConfigurationRecord> configurations;
  std::vector<DriverResult> drivers;
  std::vector<std::string> notDeleted;  // what the clearing could not delete
  // Anything else the run could not do once the old installation was gone, in English: the way
  // for steps that find their own failures to make the run incomplete.
  std::vector<std::string> shortfalls;
};

// A report of a run starting now.
RunReport BeginRunReport();
// Records how the run ended and how long it took.
void EndRunReport(RunReport* report, RunEnd end);

// True when a run that reached its end did everything it was asked.
bool IsComplete(const RunReport& report);
int ExitCodeOf(const RunReport& report);
// "done", "failed_unchanged", "cancelled", "failed_after_clearing", "incomplete", "interrupted",
// or "running" for a run that has not ended.
const char* OutcomeName(const RunReport& report);
