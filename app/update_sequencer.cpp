#include "app/update_sequencer.h"

#include <utility>

#include "app/backup.h"
#include "app/package_check.h"
#include "app/package_file.h"
#include "app/payload_launch.h"
#include "app/run_report_output.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/power_off.h"
#include "base/setup_run.h"
#include "base/system_reason.h"
#include "base/text_format.h"
#include "drivers/driver_install.h"
#include "migration/generated_files.h"
#include "migration/parameter_migration.h"
#include "migration/setup_config.h"
#include "migration/unfinished_run.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/setup_api.h"
#include "platform/text_encoding.h"

namespace {

constexpr unsigned kWarningStyle = kMbOkCancel | kMbIconExclamation;        // 0x31
constexpr unsigned kQuestionStyle = kMbYesNo | kMbIconExclamation;          // 0x34
constexpr unsigned kQuestionDefaultNoStyle = kMbYesNo | kMbDefaultButton2;  // 0x104

// The code the new installation reads to choose its language folder.
const char* LanguageCode(int languageIndex) {
  switch (languageIndex) {
    case 0:
      return "chn";
    case 1:
      return "eng";
    default:
      return "rus";
  }
}

// The failure text for a package that did not pass its check, or "" when it passed.
std::string PackageFailureText(const IMessageSink& sink, const PackageCheck& check) {
  switch (check.status) {
    case PackageStatus::PackageUnreadable:
      return sink.Localise(kPackageUnreadable);
    case PackageStatus::SignatureMismatch:
      return sink.Localise(kSignatureMismatch) + check.signature;
    case PackageStatus::Intact:
      break;
  }
  return "";
}

// A write after the clearing that failed: the update goes on, but the technician must know
// before the machine is used. %s = the path, %s = the system's reason.
void ShowShortfall(IMessageSink& sink, const TwoTextMessage& message, const std::string& path,
                   const std::string& reason) {
  sink.ShowMessage(
      FormatText(sink.Localise(message), platform::SystemTextToUtf8(path).c_str(), reason.c_str()),
      kMbOk | kMbIconExclamation);
}

}  // namespace

CUpdateSequencer::CUpdateSequencer(ISequencerHost& host)
    : CUpdateSequencer(host, platform::SleepMilliseconds) {}

CUpdateSequencer::CUpdateSequencer(ISequencerHost& host, Pause pause)
    : host_(host), pause_(std::move(pause)), report_(BeginRunReport()) {}

// The mutex stays held for the whole run; the sequencer lives until the program ends, so letting
// it go here only matters to a process that runs more than one update.
CUpdateSequencer::~CUpdateSequencer() {
  DiscardPayload(&payload_);
  platform::CloseNamedMutex(&mutex_);
}

bool CUpdateSequencer::OnTimer(unsigned timerId) {
  if (timerId != kStepTimerId) {
    return false;
  }
  Step();
  return true;
}

void CUpdateSequencer::Step() {
  switch (state_) {
    case SequencerState::kWaitForControlProgram:
      WaitForControlProgram();
      break;
    case SequencerState::kConfirm:
      Confirm();
      break;
    case SequencerState::kPrepareParameters:
      PrepareParameters();
      break;
    case SequencerState::kBackUp:
      BackUp();
      break;
    case SequencerState::kClearOldInstallation:
      ClearOldInstallation();
      break;
    case SequencerState::kStartPayload:
      StartPayload();
      break;
    case SequencerState::kWaitForPayload:
      WaitForPayload();
      break;
    case SequencerState::kRecordLanguage:
      RecordLanguage();
      break;
    case SequencerState::kInstallDrivers:
      InstallNewDrivers();
      break;
    case SequencerState::kKeepPackageCopy:
      KeepPackageCopy();
      break;
    case SequencerState::kTransferParameters:
      TransferParameters();
      break;
    case SequencerState::kAskAboutSeparation:
      AskAboutSeparation();
      break;
    case SequencerState::kFinish:
      Finish();
      break;
    default:
      Fail(host_.Localise(kInvalidState));
      break;
  }
}

void CUpdateSequencer::Fail(const std::string& text) {
  // Afterwards the log is all there is to tell where and why the run stopped.
  host_.WriteLogFormatted("|E|The update stopped in state %d: %s\n", static_cast<int>(state_),
                          text.c_str());
  host_.StopStepTimer();
  report_.failure = text;
  host_.ShowMessage(text, kMbOk);
  Close(RunEnd::kFailed);
}

void CUpdateSequencer::Interrupt(const std::string& why) {
  if (report_.end != RunEnd::kRunning) {
    return;
  }
  host_.WriteLogFormatted("|E|The update was interrupted in state %d: %s\n",
                          static_cast<int>(state_), why.c_str());
  host_.StopStepTimer();
  Close(RunEnd::kInterrupted);
}

bool CUpdateSequencer::InCriticalSteps() const {
  return report_.end == RunEnd::kRunning && state_ >= SequencerState::kBackUp &&
         state_ <= SequencerState::kTransferParameters;
}

void CUpdateSequencer::Close(RunEnd end) {
  // A copy of the new version's installer must not be left behind in the temporary folder.
  DiscardPayload(&payload_);
  EndRun(end);
  host_.CloseProgress();
}

// Once only: the power-off of the last step ends the run before the display closes.
void CUpdateSequencer::EndRun(RunEnd end) {
  if (report_.end != RunEnd::kRunning) {
    return;
  }
  report_.configurations = migration_.configurations;
  report_.migrationFolder = migration_.migrationFolder;
  EndRunReport(&report_, end);
  WriteRunReport(host_, report_);
}

// The timer keeps running: while the control program runs, the test repeats every tick.
void CUpdateSequencer::WaitForControlProgram() {
  host_.ShowStepLabel(kLabelWaitForControlProgram);
  bool alreadyExisted = false;
  platform::MutexHandle handle =
      platform::CreateNamedMutex(kControlProgramMutexName, &alreadyExisted);
  if (alreadyExisted) {
    platform::CloseNamedMutex(&handle);
    return;
  }
  mutex_ = handle;
  state_ = SequencerState::kConfirm;
}

void CUpdateSequencer::FailUnreadable(const std::string& path) {
  FailUnreadable(path, platform::LastErrorCode());
}

void CUpdateSequencer::FailUnreadable(const std::string& path, std::uint32_t error) {
  const std::string reason = platform::SystemErrorText(error);
  Fail(FormatText(host_.Localise(kFolderUnreadable), platform::SystemTextToUtf8(path).c_str(),
                  platform::SystemTextToUtf8(reason).c_str()));
}

// What the disk could not tell decides what is kept: nothing may be deleted on a guess.
bool CUpdateSequencer::FailedOnUnreadablePath() {
  if (migration_.unreadablePath.empty()) {
    return false;
  }
  FailUnreadable(migration_.unreadablePath, migration_.unreadableError);
  return true;
}

void CUpdateSequencer::Confirm() {
  host_.StopStepTimer();
  host_.ShowStepLabel(kLabelStartSetup);
  if (!CheckPackageFirst()) {
    return;
  }
  // A maker folder the disk cannot look at is no missing installation: without the warning and
  // the backup, the clearing would go on.
  if (!LocateMakerFolder(host_)) {
    FailUnreadable("%ProgramFiles%\\Pelmo\\");
    return;
  }
  const std::string makerFolder = platform::GetLongPathForm(host_.Run().layout.makerFolder);
  if (makerFolder.empty() && !platform::LastErrorMeansMissing()) {
    FailUnreadable(host_.Run().layout.makerFolder);
    return;
  }
  if (!makerFolder.empty()) {
    const std::string warning =
        FormatText(host_.Localise(kUpdateWarning), platform::SystemTextToUtf8(makerFolder).c_str());
    if (host_.ShowMessage(warning, kWarningStyle) != kIdOk) {
      Close(RunEnd::kCancelled);
      return;
    }
  }
  if (!PreparePayloadFirst()) {
    return;
  }
  state_ = SequencerState::kPrepareParameters;
  host_.StartStepTimer();
}

// A damaged package must end the run before the old installation is touched: state 4 deletes it,
// and a package that cannot install the new one would leave the machine without a control program.
bool CUpdateSequencer::CheckPackageFirst() {
  const std::string failure =
      PackageFailureText(host_, CheckPackageFile(GetPackageFile(host_.Run())));
  if (failure.empty()) {
    return true;
  }
  Fail(failure);
  return false;
}

// The payload is written and sealed while the old installation is still whole, so a full disk
// or an unwritable temporary directory cannot leave the machine with no installation at all.
bool CUpdateSequencer::PreparePayloadFirst() {
  std::string signature;
  return !FailOnLaunch(PreparePayload(host_.Run(), &payload_, &signature), signature);
}

// True when the outcome ended the run.
bool CUpdateSequencer::FailOnLaunch(LaunchOutcome outcome, const std::string& signature) {
  switch (outcome) {
    case LaunchOutcome::PackageUnreadable:
      Fail(host_.Localise(kPackageUnreadable));
      return true;
    case LaunchOutcome::SignatureMismatch:
      Fail(host_.Localise(kSignatureMismatch) + signature);
      return true;
    case LaunchOutcome::TempFileFailed:
      Fail(host_.Localise(kTempFileFailed));
      return true;
    case LaunchOutcome::StartFailed:
      Fail(host_.Localise(kProcessStartFailed));
      return true;
    case LaunchOutcome::Started:
    case LaunchOutcome::Prepared:
      break;
  }
  return false;
}

void CUpdateSequencer::PrepareParameters() {
  host_.StopStepTimer();
  static_cast<void>(ReadInstallationLayout(host_));
  std::string unreadable = FindUnreadableSettingsFile(host_.Run().layout);
  if (unreadable.empty()) {
    static_cast<void>(PrepareMigrationFolder(host_, &migration_));
    unreadable = FindUnreadableUnfinishedRun(migration_.migrationFolder);
  }
  if (!unreadable.empty()) {
    const std::string longForm = platform::GetLongPathForm(unreadable);
    Fail(FormatText(host_.Localise(kSettingsUnreadable),
                    platform::SystemTextToUtf8(longForm.empty() ? unreadable : longForm).c_str()));
    return;
  }
  if (FailedOnUnreadablePath()) {
    return;
  }
  report_.versionFrom = ReadInstalledVersion(host_, host_.Run().layout);
  static_cast<void>(GenerateParameterFiles(host_, &migration_));
  if (FailedOnUnreadablePath()) {
    return;
  }
  // A configuration whose parameters did not reach the migration folder would lose them to the
  // clearing.
  if (!migration_.unsavedConfigurations.empty()) {
    std::string names;
    for (const std::string& name : migration_.unsavedConfigurations) {
      names += (names.empty() ? "" : ", ") + platform::SystemTextToUtf8(name);
    }
    Fail(FormatText(host_.Localise(kParametersNotSaved), names.c_str()));
    return;
  }
  state_ = SequencerState::kBackUp;
  host_.StartStepTimer();
}

// The backup stops the timer itself, and only when it really copies.
void CUpdateSequencer::BackUp() {
  host_.ShowStepLabel(kLabelCollectInformation);
  report_.workBegan = true;
  const BackupOutcome backup = BackUpInstallation(host_, &generatedFilesWarnings_);
  // Without the backup that was asked for, the installation must not be deleted.
  if (backup.status == BackupOutcome::Status::kFailed) {
    Fail(FormatText(host_.Localise(kBackupFailed),
                    platform::SystemTextToUtf8(backup.folder).c_str(), backup.reason.c_str()));
    return;
  }
  if (backup.status == BackupOutcome::Status::kMade) {
    report_.backupFolder = backup.folder;
  }
  state_ = SequencerState::kClearOldInstallation;
}

void CUpdateSequencer::ClearOldInstallation() {
  host_.ShowStepLabel(kLabelClearOldInstallation);
  // Nothing is deleted yet: settings that cannot be read would have the generated files left
  // where no one finds them again.
  std::string generatedFiles;
  if (LookUpGeneratedFilesOnce(host_, &generatedFiles, &generatedFilesWarnings_) ==
      GeneratedFilesLookup::kUnreadable) {
    FailUnreadable(generatedFiles);
    return;
  }
  host_.StopStepTimer();
  report_.clearingBegan = true;
  report_.notDeleted = ClearInstallation(host_, &generatedFilesWarnings_);
  host_.StartStepTimer();
  state_ = SequencerState::kStartPayload;
}

void CUpdateSequencer::StartPayload() {
  host_.ShowStepLabel(kLabelCopyFiles);
  std::string signature;
  // Normally state 1 prepared it; a sequence put straight into this state prepares it now.
  const LaunchOutcome outcome = payload_.prepared
                                    ? StartPreparedPayload(host_, &payload_)
                                    : LaunchPayload(host_, host_.Run(), &payload_, &signature);
  if (!FailOnLaunch(outcome, signature)) {
    state_ = SequencerState::kWaitForPayload;
  }
}

// The exit code of the payload is not examined: what it installed is what the next steps use.
// A payload that installed nothing ends the run, so that nothing is transferred or deleted in an
// installation that is not there and the kept parameters wait for the next run.
void CUpdateSequencer::WaitForPayload() {
  if (!PollPayload(&payload_, kPayloadPollMs)) {
    return;
  }
  std::string unreadable;
  if (!NewVersionInstalled(&unreadable)) {
    const std::string reason = LastErrorReason();
    const std::string kept = platform::SystemTextToUtf8(migration_.migrationFolder);
    const std::string backup = report_.backupFolder.empty()
                                   ? host_.Localise(kNoBackup)
                                   : platform::SystemTextToUtf8(report_.backupFolder);
    Fail(unreadable.empty()
             ? FormatText(host_.Localise(kNothingInstalled), kept.c_str(), backup.c_str())
             : FormatText(host_.Localise(kInstallationUnreadable),
                          platform::SystemTextToUtf8(unreadable).c_str(), reason.c_str(),
                          kept.c_str(), backup.c_str()));
    return;
  }
  report_.versionTo = ReadInstalledVersion(host_, host_.Run().layout);
  state_ = SequencerState::kRecordLanguage;
}

// The steps from here on work on the new installation that setup.cfg now names. A disk that
// cannot say whether it is there is no proof that nothing was installed.
bool CUpdateSequencer::NewVersionInstalled(std::string* unreadable) {
  static_cast<void>(ReadInstallationLayout(host_));
  const InstallationLayout& layout = host_.Run().layout;
  const std::string settings = layout.makerFolder + "setup.cfg";
  const platform::PathKind settingsKind = platform::QueryPath(settings);
  if (settingsKind == platform::PathKind::kUnknown) {
    *unreadable = settings;
    return false;
  }
  if (settingsKind == platform::PathKind::kMissing || layout.pathValue.empty()) {
    return false;
  }
  const platform::PathKind installation = platform::QueryPath(layout.installationFolder);
  if (installation == platform::PathKind::kUnknown) {
    *unreadable = layout.installationFolder;
  }
  return installation == platform::PathKind::kFolder;
}

void CUpdateSequencer::RecordLanguage() {
  host_.ShowStepLabel(kLabelCopyOtherDocuments);
  const std::string languageFile = host_.Run().layout.installationFolder + "lang\\lang.ini";
  report_.languageRecorded = platform::WriteProfileStringAtomically(
      "ActiveLang", "ActiveLang", LanguageCode(host_.Language()), languageFile);
  if (!report_.languageRecorded) {
    const std::string reason = LastErrorReason();
    host_.WriteLogFormatted("|E|The language record %s could not be written\n",
                            languageFile.c_str());
    host_.StopStepTimer();
    ShowShortfall(host_, kLanguageRecordFailed, languageFile, reason);
    host_.StartStepTimer();
  }
  state_ = SequencerState::kInstallDrivers;
}

void CUpdateSequencer::InstallNewDrivers() {
  host_.StopStepTimer();
  host_.ShowStepLabel(kLabelInstallDrivers);
  report_.drivers = InstallDrivers(host_, host_.Run().layout.installationFolder);
  host_.StartStepTimer();
  state_ = SequencerState::kKeepPackageCopy;
}

void CUpdateSequencer::KeepPackageCopy() {
  host_.ShowStepLabel(kLabelBackUpPackage);
  host_.StopStepTimer();
  const PackageCopyOutcome copy = KeepPackage(host_);
  report_.packageCopy = copy.path;
  report_.packageCopyWritten = copy.written;
  if (!copy.path.empty() && !copy.written) {
    host_.WriteLogFormatted("|E|The package copy %s could not be written\n", copy.path.c_str());
    ShowShortfall(host_, kPackageCopyFailed, copy.path, copy.reason);
  }
  host_.StartStepTimer();
  state_ = SequencerState::kTransferParameters;
}

void CUpdateSequencer::TransferParameters() {
  host_.StopStepTimer();
  static_cast<void>(TransferParameterFiles(host_, &migration_));
  state_ = SequencerState::kAskAboutSeparation;
  host_.ShowStepLabel(kLabelFinishUpdate);
  host_.StartStepTimer();
}

void CUpdateSequencer::AskAboutSeparation() {
  host_.StopStepTimer();
  if (host_.ShowMessage(host_.Localise(kSeparationQuestion), kQuestionDefaultNoStyle) == kIdYes &&
      !SeparateGeneratedFiles(host_)) {
    report_.shortfalls.push_back("the generated files could not be separated");
  }
  state_ = SequencerState::kFinish;
  host_.StartStepTimer();
}

// The timer stays stopped: this is the last step whatever the answer.
void CUpdateSequencer::Finish() {
  host_.StopStepTimer();
  host_.ShowStepLabel(kLabelSwitchOff);
  pause_(kFinishDelayMs);
  if (host_.ShowMessage(host_.Localise(kPowerOffQuestion), kQuestionStyle) == kIdYes) {
    // The system ends this process with the session: the report must be written first.
    EndRun(RunEnd::kFinished);
    ShutDownSystem(kExitPowerOff);
  }
  Close(RunEnd::kFinished);
}
