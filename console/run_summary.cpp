#include "console/run_summary.h"

#include <ostream>

#include "app/run_report_output.h"
#include "base/messages.h"
#include "base/text_format.h"
#include "platform/text_encoding.h"

namespace {

std::string Utf8(const std::string& hostText) {
  return platform::SystemTextToUtf8(hostText);
}

}  // namespace

void PrintRunSummary(std::ostream& out, const RunReport& report, const SetupRun& run) {
  const int language = run.language;
  const auto say = [&out, language](const TwoTextMessage& message, const std::string& insert) {
    out << FormatText(LocaliseFor(message, language), insert.c_str()) << "\n";
  };
  out << "\n";
  if (report.workBegan) {
    say(kSummaryBackup,
        report.backupFolder.empty() ? LocaliseFor(kNoBackup, language) : Utf8(report.backupFolder));
  }
  bool parametersLeft = false;
  for (const ConfigurationRecord& configuration : report.configurations) {
    if (configuration.status == ConfigurationRecord::Status::kNotCarried) {
      out << FormatText(LocaliseFor(kSummaryNotCarried, language), Utf8(configuration.name).c_str(),
                        configuration.reason.c_str())
          << "\n";
      parametersLeft = true;
    }
  }
  if (parametersLeft || (report.clearingBegan && report.end != RunEnd::kFinished)) {
    say(kSummaryMigrationFolder, Utf8(report.migrationFolder));
  }
  for (const DriverResult& driver : report.drivers) {
    if (!driver.installed) say(kSummaryDriverFailed, Utf8(driver.file));
  }
  if (!report.packageCopy.empty() && !report.packageCopyWritten) {
    say(kSummaryPackageCopyFailed, Utf8(report.packageCopy));
  }
  if (!report.languageRecorded) {
    out << LocaliseFor(kSummaryLanguageNotRecorded, language) << "\n";
  }
  for (const std::string& path : report.notDeleted) {
    say(kSummaryNotDeleted, Utf8(path));
  }
  for (const std::string& shortfall : report.shortfalls) {
    out << shortfall << "\n";
  }
  out << FormatText(LocaliseFor(kSummaryExitCode, language), ExitCodeOf(report),
                    Utf8(GetReportFilePath(run)).c_str())
      << std::endl;
}
