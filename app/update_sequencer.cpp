#include "app/update_sequencer.h"

#include <utility>

#include "app/backup.h"
#include "app/package_check.h"
#include "app/payload_launch.h"
#include "base/installation_paths.h"
#include "base/language.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/power_off.h"
#include "base/text_format.h"
#include "drivers/driver_install.h"
#include "migration/generated_files.h"
#include "migration/parameter_migration.h"
#include "migration/setup_config.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/profile.h"
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
std::string PackageFailureText(const PackageCheck& check) {
  switch (check.status) {
    case PackageStatus::PackageUnreadable:
      return Localise(kPackageUnreadable);
    case PackageStatus::SignatureMismatch:
      return Localise(kSignatureMismatch) + check.signature;
    case PackageStatus::Intact:
      break;
  }
  return "";
}

}  // namespace

CUpdateSequencer::CUpdateSequencer(ISequencerHost& host)
    : CUpdateSequencer(host, platform::SleepMilliseconds) {}

CUpdateSequencer::CUpdateSequencer(ISequencerHost& host, Pause pause)
    : host_(host), pause_(std::move(pause)) {}

// The mutex stays held for the whole run; the sequencer lives until the program ends, so letting
// it go here only matters to a process that runs more than one update.
CUpdateSequencer::~CUpdateSequencer() {
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
      Fail(Localise(kInvalidState));
      break;
  }
}

void CUpdateSequencer::Fail(const std::string& text) {
  host_.StopStepTimer();
  failureText_ = text;
  host_.ShowMessage(text, kMbOk);
  Close(RunEnd::kFailed);
}

void CUpdateSequencer::Close(RunEnd end) {
  runEnd_ = end;
  host_.CloseProgress();
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

void CUpdateSequencer::Confirm() {
  host_.StopStepTimer();
  host_.ShowStepLabel(kLabelStartSetup);
  if (!CheckPackageFirst()) {
    return;
  }
  const std::string makerFolder = platform::GetLongPathForm(GetMakerFolder());
  if (!makerFolder.empty()) {
    const std::string warning =
        FormatText(Localise(kUpdateWarning), platform::SystemTextToUtf8(makerFolder).c_str());
    if (host_.ShowMessage(warning, kWarningStyle) != kIdOk) {
      Close(RunEnd::kCancelled);
      return;
    }
  }
  state_ = SequencerState::kPrepareParameters;
  host_.StartStepTimer();
}

// A damaged package must end the run before the old installation is touched: state 4 deletes it,
// and a package that cannot install the new one would leave the machine without a control program.
bool CUpdateSequencer::CheckPackageFirst() {
  const std::string failure = PackageFailureText(CheckPackage());
  if (failure.empty()) {
    return true;
  }
  Fail(failure);
  return false;
}

void CUpdateSequencer::PrepareParameters() {
  host_.StopStepTimer();
  static_cast<void>(PrepareMigrationFolder(&migration_));
  static_cast<void>(GenerateParameterFiles(&migration_));
  state_ = SequencerState::kBackUp;
  host_.StartStepTimer();
}

// The backup stops the timer itself, and only when it really copies.
void CUpdateSequencer::BackUp() {
  host_.ShowStepLabel(kLabelCollectInformation);
  BackUpInstallation(host_, &generatedFilesWarnings_);
  state_ = SequencerState::kClearOldInstallation;
}

void CUpdateSequencer::ClearOldInstallation() {
  host_.ShowStepLabel(kLabelClearOldInstallation);
  host_.StopStepTimer();
  ClearInstallation(&generatedFilesWarnings_);
  host_.StartStepTimer();
  state_ = SequencerState::kStartPayload;
}

void CUpdateSequencer::StartPayload() {
  host_.ShowStepLabel(kLabelCopyFiles);
  std::string signature;
  switch (LaunchPayload(host_, &payload_, &signature)) {
    case LaunchOutcome::PackageUnreadable:
      Fail(Localise(kPackageUnreadable));
      return;
    case LaunchOutcome::SignatureMismatch:
      Fail(Localise(kSignatureMismatch) + signature);
      return;
    case LaunchOutcome::TempFileFailed:
      Fail(Localise(kTempFileFailed));
      return;
    case LaunchOutcome::StartFailed:
      Fail(Localise(kProcessStartFailed));
      return;
    case LaunchOutcome::Started:
      state_ = SequencerState::kWaitForPayload;
      return;
  }
}

// The exit code of the payload is not examined: what it installed is what the next steps use.
void CUpdateSequencer::WaitForPayload() {
  if (PollPayload(&payload_, kPayloadPollMs)) {
    state_ = SequencerState::kRecordLanguage;
  }
}

void CUpdateSequencer::RecordLanguage() {
  host_.ShowStepLabel(kLabelCopyOtherDocuments);
  const std::string languageFile = GetMakerFolder() + ReadSetupValue("PATH") + "lang\\lang.ini";
  static_cast<void>(platform::WriteProfileString("ActiveLang", "ActiveLang",
                                                 LanguageCode(GetLanguage()), languageFile));
  state_ = SequencerState::kInstallDrivers;
}

void CUpdateSequencer::InstallNewDrivers() {
  host_.StopStepTimer();
  host_.ShowStepLabel(kLabelInstallDrivers);
  InstallDrivers(GetMakerFolder() + ReadSetupValue("PATH"));
  host_.StartStepTimer();
  state_ = SequencerState::kKeepPackageCopy;
}

void CUpdateSequencer::KeepPackageCopy() {
  host_.ShowStepLabel(kLabelBackUpPackage);
  host_.StopStepTimer();
  KeepPackage();
  host_.StartStepTimer();
  state_ = SequencerState::kTransferParameters;
}

void CUpdateSequencer::TransferParameters() {
  host_.StopStepTimer();
  static_cast<void>(TransferParameterFiles(&migration_));
  state_ = SequencerState::kAskAboutSeparation;
  host_.ShowStepLabel(kLabelFinishUpdate);
  host_.StartStepTimer();
}

void CUpdateSequencer::AskAboutSeparation() {
  host_.StopStepTimer();
  if (host_.ShowMessage(Localise(kSeparationQuestion), kQuestionDefaultNoStyle) == kIdYes) {
    static_cast<void>(SeparateGeneratedFiles());
  }
  state_ = SequencerState::kFinish;
  host_.StartStepTimer();
}

// The timer stays stopped: this is the last step whatever the answer.
void CUpdateSequencer::Finish() {
  host_.StopStepTimer();
  host_.ShowStepLabel(kLabelSwitchOff);
  pause_(kFinishDelayMs);
  if (host_.ShowMessage(Localise(kPowerOffQuestion), kQuestionStyle) == kIdYes) {
    ShutDownSystem(kExitPowerOff);
  }
  Close(RunEnd::kFinished);
}
