// The outcome of whole updates on staged machines: the exit status, the JSON report beside the
// setup log and the log's closing block.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/run_report_output.h"
#include "app/update_sequencer.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/setup_run.h"
#include "migration/parameter_file.h"
#include "tests/app/test_package.h"
#include "tests/support/posix/scoped_environment.h"
#include "tests/support/scoped_log_directory.h"
#include "tests/support/scripted_host.h"
#include "tests/support/staged_machine.h"
#include "tests/support/staged_update.h"

namespace {

constexpr char kPackagePath[] = "C:\\Media\\Setup.exe";
const std::string kInstallation = kStagedInstallation;

struct Row {
  const char* name;
  std::function<void(StagedMachine&)> stage;
  std::deque<int> answers;
  int exitCode;
  std::vector<std::string> inReport;  // pieces of the JSON report, in order
  const char* inLog;                  // a piece of the setup log
  const TwoTextMessage* shown;        // a message shown, up to its first insert; or none
};

// The text of `message` before its first insert.
std::string Lead(const TwoTextMessage& message) {
  const std::string text = message.chinese;
  return text.substr(0, text.find('%'));
}

TEST(RunReportTest, EveryOutcomeHasItsExitCodeAndReport) {
  const auto nothing = [](StagedMachine&) {};
  const std::deque<int> agree = {kIdOk, kIdYes, kIdNo, kIdNo};
  const std::vector<Row> rows = {
      {"success",
       nothing,
       agree,
       kExitDone,
       {"\"schema\":1,\"exit_code\":0,\"outcome\":\"done\",\"failure\":null",
        "\"version_from\":\"5.3.7\",\"version_to\":\"5.4.2\",\"backup\":\"D:\\\\Backup\\\\Pelmo ",
        "\"migration_folder\":\"C:\\\\Temp\\\\Vexroand\"",
        "\"package_copy\":{\"path\":\"D:\\\\Backup\\\\Setup.exe\",\"written\":true}",
        "\"configurations\":[{\"name\":\"A\",\"status\":\"carried\",\"reason\":null,"
        "\"values_left_out\":[],\"from_damaged_file\":false}]",
        "\"drivers\":[{\"file\":\"vexio.sys\",\"installed\":true},{\"file\":\"vexio.inf\","
        "\"installed\":true}],\"not_deleted\":[],\"not_done\":[],\"started\":\""},
       "Run: ended done, exit code 0",
       nullptr},
      {"refusal on the warning",
       nothing,
       {kIdCancel},
       kExitCancelled,
       {"\"exit_code\":2,\"outcome\":\"cancelled\"", "\"backup\":null"},
       "Run: ended cancelled, exit code 2",
       nullptr},
      {"parameters not kept",
       nothing,
       {kIdOk, kIdNo, kIdNo, kIdNo},
       kExitDone,
       {"\"exit_code\":0", "{\"name\":\"A\",\"status\":\"not_asked\",\"reason\":null"},
       "Run: configuration 'A': not_asked",
       nullptr},
      {"damaged package",
       [](StagedMachine& machine) {
         std::string bytes = MakePackage("program image\n", kStagedPayloadScript);
         bytes[bytes.size() / 2] ^= 0x20;
         machine.WriteFile(kPackagePath, bytes);
       },
       agree,
       kExitFailedUnchanged,
       {"\"exit_code\":1,\"outcome\":\"failed_unchanged\",\"failure\":\""},
       "Run: ended failed_unchanged, exit code 1",
       nullptr},
      {"failure after the clearing",
       [](StagedMachine& machine) {
         machine.WriteFile(kPackagePath, MakePackage("program image\n", "#!/bin/sh\nexit 0\n"));
       },
       agree,
       kExitFailedCleared,
       {"\"exit_code\":3,\"outcome\":\"failed_after_clearing\"",
        "\"version_to\":null,\"backup\":\"D:\\\\Backup\\\\Pelmo ",
        "\"migration_folder\":\"C:\\\\Temp\\\\Vexroand\"",
        "{\"name\":\"A\",\"status\":\"not_carried\",\"reason\":\"the update ended before the "
        "transfer"},
       "Run: migration folder C:\\Temp\\Vexroand",
       nullptr},
      {"partial carry: parameter file and .bak damaged",
       [](StagedMachine& machine) {
         machine.WriteFile(kInstallation + "config\\A\\vexorand.dat", "not a parameter file");
       },
       agree,
       kExitIncomplete,
       {"\"exit_code\":4,\"outcome\":\"incomplete\"",
        "{\"name\":\"A\",\"status\":\"not_carried\",\"reason\":\"its parameter file and its .bak "
        "are both damaged\""},
       "|E|Parameters of configuration 'A' not carried:",
       nullptr},
      {"driver not installed",
       [](StagedMachine& machine) {
         machine.MakeFolder("C:\\Windows\\System32\\drivers\\vexio.sys");
       },
       agree,
       kExitIncomplete,
       {"{\"file\":\"vexio.sys\",\"installed\":false}"},
       "Run: driver vexio.sys NOT installed",
       nullptr},
      {"package copy not written",
       [](StagedMachine& machine) { machine.MakeFolder("D:\\Backup\\Setup.exe"); },
       agree,
       kExitIncomplete,
       {"\"package_copy\":{\"path\":\"D:\\\\Backup\\\\Setup.exe\",\"written\":false}"},
       "Run: package copy D:\\Backup\\Setup.exe NOT written",
       &kPackageCopyFailed},
      {"language record not written",
       [](StagedMachine& machine) {
         machine.WriteFile(kPackagePath, MakePackage("program image\n",
                                                     std::string(kStagedPayloadScript) +
                                                         "rm \"$control/Lang/Lang.ini\"\n"
                                                         "mkdir \"$control/Lang/Lang.ini\"\n"));
       },
       agree,
       kExitIncomplete,
       {"\"language_recorded\":false"},
       "Run: language record NOT written",
       &kLanguageRecordFailed},
  };
  for (const Row& row : rows) {
    StagedMachine machine;
    ScopedEnvironment root("SETUP_ROOT", machine.root());
    StageOldInstallation(machine, BuildParameterFile({{"CController", StagedControllerBlock()}}));
    machine.WriteFile(kPackagePath, MakePackage("program image\n", kStagedPayloadScript));
    row.stage(machine);
    ScriptedHost host(row.answers);
    const ScopedLogDirectory log(host.Run(), "C:\\Temp\\");
    host.Run().packageFile = kPackagePath;
    CUpdateSequencer sequencer(host, [](unsigned) {});
    host.StartStepTimer();
    for (int i = 0; i < 400 && !host.Closed(); ++i) sequencer.OnTimer(kStepTimerId);

    EXPECT_EQ(sequencer.GetExitCode(), row.exitCode) << row.name;
    const std::string report = machine.ReadFile("C:\\Temp\\VexorandSetupReport.json");
    EXPECT_EQ(report, RenderReportJson(sequencer.Report())) << row.name;
    std::size_t at = 0;
    for (const std::string& piece : row.inReport) {
      const std::size_t found = report.find(piece, at);
      EXPECT_NE(found, std::string::npos) << row.name << ": " << piece << "\nin " << report;
      at = found == std::string::npos ? at : found;
    }
    const std::string text = machine.ReadFile("C:\\Temp\\VexorandSetupLog.txt");
    EXPECT_NE(text.find(row.inLog), std::string::npos) << row.name << ":\n" << text;
    EXPECT_FALSE(machine.Exists("C:\\Temp\\VexorandSetupReport.json.tmp")) << row.name;
    if (row.shown != nullptr) {
      const std::vector<RecordedMessage>& shown = host.Messages();
      EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [&row](const RecordedMessage& message) {
        return message.text.rfind(Lead(*row.shown), 0) == 0;
      })) << row.name;
    }
  }
}

}  // namespace
