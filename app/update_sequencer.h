// The update sequencer: one step of the update per tick of the host's step timer, from waiting for
// the control program to end to the power-off question.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/payload_launch.h"
#include "app/run_report.h"
#include "app/sequencer_host.h"
#include "migration/migration_context.h"
#include "platform/named_mutex.h"

constexpr unsigned kStepTimerId = 112;
constexpr unsigned kStepIntervalMs = 500;
constexpr unsigned kPayloadPollMs = 100;
constexpr unsigned kFinishDelayMs = 2000;

// Held by the control program for as long as it runs.
constexpr const char* kControlProgramMutexName =
    "kqx_VEXORAND_7000{F87C04A0-D4EA-11d4-88B8-0050FC09F3B0}";

// Step labels (Chinese identifiers; the host adds the language's offset).
constexpr int kLabelWaitForControlProgram = 140;
constexpr int kLabelStartSetup = 141;
constexpr int kLabelCollectInformation = 142;
constexpr int kLabelGenerateParameterFile = 143;  // no step shows it
constexpr int kLabelClearOldInstallation = 144;
constexpr int kLabelCopyFiles = 145;
constexpr int kLabelCopyOtherDocuments = 146;
constexpr int kLabelInstallDrivers = 147;
constexpr int kLabelBackUpPackage = 148;
constexpr int kLabelTransferParameters = 149;  // no step shows it
constexpr int kLabelFinishUpdate = 150;
constexpr int kLabelSwitchOff = 151;

// The steps in the order they run. 8 and 12 are left out so that every step keeps the number logs
// and documents know it by; like any number outside the list they end the run as invalid.
enum class SequencerState : int {
  kWaitForControlProgram = 0,
  kConfirm = 1,
  kPrepareParameters = 2,
  kBackUp = 3,
  kClearOldInstallation = 4,
  kStartPayload = 5,
  kWaitForPayload = 6,
  kRecordLanguage = 7,
  kInstallDrivers = 9,
  kKeepPackageCopy = 10,
  kTransferParameters = 11,
  kAskAboutSeparation = 13,
  kFinish = 14,
};

class CUpdateSequencer {
 public:
  using RunEnd = ::RunEnd;

  // The blocking pause before the final question; replaceable so tests need not wait.
  using Pause = std::function<void(unsigned milliseconds)>;

  explicit CUpdateSequencer(ISequencerHost& host);
  CUpdateSequencer(ISequencerHost& host, Pause pause);
  ~CUpdateSequencer();
  CUpdateSequencer(const CUpdateSequencer&) = delete;
  CUpdateSequencer& operator=(const CUpdateSequencer&) = delete;

  // Runs a step for the step timer and returns true; any other timer is the host's to handle.
  bool OnTimer(unsigned timerId);
  // Performs the current state's work.
  void Step();
  // Ends the run: stops the timer, shows `text` with an OK button and closes the progress display.
  void Fail(const std::string& text);
  // Ends the run between two steps because the technician or the system asked it to stop: a log
  // line, the report and the progress display closed, without a message. Nothing happens once
  // the run has ended.
  void Interrupt(const std::string& why);

  SequencerState GetState() const { return state_; }
  RunEnd GetRunEnd() const { return report_.end; }
  // The text shown by Fail, empty unless the run failed.
  const std::string& GetFailureText() const { return report_.failure; }
  // What the run has done so far; complete once it has ended.
  const RunReport& Report() const { return report_; }
  int GetExitCode() const { return ExitCodeOf(report_); }
  // True while the next step is one from the backup to the transfer: a step left half done there
  // leaves the machine without a whole installation, so a stop waits for the step's end.
  bool InCriticalSteps() const;
  // False while the installer runs: waiting for it takes many ticks but is one step, and a run
  // that stopped then would leave it installing alone.
  bool BetweenSteps() const { return state_ != SequencerState::kWaitForPayload; }

 private:
  friend struct SequencerTestAccess;  // puts a sequencer at any state, valid or not

  void WaitForControlProgram();
  // Ends the run before anything changed: `path` cannot be looked at, for the reason `error` (or
  // the last error of the platform layer).
  void FailUnreadable(const std::string& path);
  void FailUnreadable(const std::string& path, std::uint32_t error);
  // FailUnreadable when the migration steps noted a path the disk could not look at.
  bool FailedOnUnreadablePath();
  void Confirm();
  bool CheckPackageFirst();
  bool PreparePayloadFirst();
  bool FailOnLaunch(LaunchOutcome outcome, const std::string& signature);
  // False when the payload installed nothing; `*unreadable` then names what the disk could not
  // look at, if that is why (the reason is the last error of the platform layer).
  bool NewVersionInstalled(std::string* unreadable);
  void PrepareParameters();
  void BackUp();
  void ClearOldInstallation();
  void StartPayload();
  void WaitForPayload();
  void RecordLanguage();
  void InstallNewDrivers();
  void KeepPackageCopy();
  void TransferParameters();
  void AskAboutSeparation();
  void Finish();
  void Close(RunEnd end);
  void EndRun(RunEnd end);

  ISequencerHost& host_;
  Pause pause_;
  SequencerState state_ = SequencerState::kWaitForControlProgram;
  PayloadLaunch payload_;
  int generatedFilesWarnings_ = 0;
  MigrationContext migration_;
  platform::MutexHandle mutex_;
  RunReport report_;
};
