// The console edition of Setup: the same update as the Windows program, on a staged machine.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/program_image.h"
#include "app/run_report_output.h"
#include "app/update_sequencer.h"
#include "base/folder_tree.h"
#include "base/language.h"
#include "base/message_box.h"
#include "base/message_sink.h"
#include "base/messages.h"
#include "base/setup_run.h"
#include "base/text_format.h"
#include "console/console_host.h"
#include "console/console_options.h"
#include "console/console_prompter.h"
#include "console/run_summary.h"
#include "console/stop_signals.h"
#include "console/terminal_input.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/posix/fault_injection.h"
#include "platform/posix/volume_map.h"
#include "platform/process.h"
#include "platform/setup_api.h"
#include "platform/special_folders.h"

namespace {

constexpr const char* kPowerOffVariable = "SETUP_POWER_OFF_COMMAND";
constexpr const char* kPayloadPrefixVariable = "SETUP_PAYLOAD_OUTPUT_PREFIX";
// The installer's own lines among the step labels, told apart.
constexpr const char* kPayloadPrefix = "payload| ";
constexpr const char* kDefaultPowerOffCommand = "systemctl poweroff";

int UsageError(const std::string& message) {
  std::cerr << "setup: " << message << "\nTry 'setup --help'.\n";
  return kExitUsage;
}

// The root as an absolute path, so that the payload finds it from any working directory. On
// failure `problem` says what is wrong with what was given, and `unreadable` whether the disk,
// rather than the command line, is at fault.
bool ChooseVolumeRoot(const ConsoleOptions& options, std::string* root, std::string* problem,
                      bool* unreadable) {
  std::string given = options.root;
  const char* source = "--root";
  if (given.empty()) {
    const char* variable = std::getenv(platform::kVolumeRootVariable);
    given = variable != nullptr ? variable : "";
    source = platform::kVolumeRootVariable;
  }
  if (given.empty()) {
    *problem = "give the staged machine's folder with --root DIR or SETUP_ROOT";
    return false;
  }
  char* absolute = realpath(given.c_str(), nullptr);
  if (absolute == nullptr) {
    *problem =
        std::string("the staged machine's folder '") + given + "' (" + source + ") does not exist";
    return false;
  }
  *root = absolute;
  std::free(absolute);
  const platform::PathKind kind = platform::QueryPath(*root);
  *unreadable = kind == platform::PathKind::kUnknown;
  if (*unreadable) {
    *problem = std::string("the staged machine's folder '") + given + "' (" + source +
               ") cannot be read: " + platform::SystemErrorText(platform::LastErrorCode());
    return false;
  }
  if (kind != platform::PathKind::kFolder) {
    *problem = std::string("'") + given + "' (" + source + ") is not a folder";
    return false;
  }
  return true;
}

// Power-off stays a decision of the person at the command line, whatever the answers say.
void ConfigurePowerOff(bool allowed) {
  if (!allowed) {
    unsetenv(kPowerOffVariable);
  } else if (std::getenv(kPowerOffVariable) == nullptr) {
    setenv(kPowerOffVariable, kDefaultPowerOffCommand, 1);
  }
}

// True when nothing follows the program's own image: the ELF file ends with its section header
// table, so a package's payload and trailer can only lie behind it.
bool IsBareProgram(const std::string& path) {
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kReadShared)) return false;
  const std::optional<std::uint64_t> imageEnd = ProgramImageEnd(file);
  return imageEnd && file.Length() <= *imageEnd;
}

void SayIfNotAPackage(IMessageSink& sink) {
  if (!IsBareProgram(platform::GetExecutablePath())) return;
  const std::string note =
      "this is the bare setup program, not a package: no payload follows it (make a package "
      "with 'vextool pkg build --setup setup --payload INSTALLER -o PACKAGE')";
  std::cerr << "setup: " << note << "\n";
  sink.WriteLog("|E|" + note + "\n");
}
#ifdef SETUP_FAULT_INJECTION
// Test builds only: a faster tick and finish pause (SETUP_TEST_TICK_MS), and a power cut at a
// chosen state (SETUP_TEST_KILL_STATE=STATE or STATE:TICK, the TICK-th step in that state), so
// that tests can cut a whole update off anywhere in a few seconds.
struct TestControls {
  std::chrono::milliseconds period{kStepIntervalMs};
  unsigned pause = kFinishDelayMs;
  int killState = -1;
  int killTick = 1;
  int ticksInKillState = 0;

  TestControls() {
    if (const char* tick = std::getenv("SETUP_TEST_TICK_MS")) {
      period = std::chrono::milliseconds(std::atoi(tick));
      pause = static_cast<unsigned>(std::atoi(tick));
    }
    if (const char* kill = std::getenv("SETUP_TEST_KILL_STATE")) {
      char* end = nullptr;
      killState = static_cast<int>(std::strtol(kill, &end, 10));
      if (end != nullptr && *end == ':') killTick = std::atoi(end + 1);
    }
  }

  void BeforeStep(int state) {
    if (state == killState && ++ticksInKillState == killTick) platform::CutPower();
  }
};
#else
struct TestControls {
  std::chrono::milliseconds period{kStepIntervalMs};
  unsigned pause = kFinishDelayMs;
  void BeforeStep(int) {}
};
#endif

int ChooseLanguage(const ConsoleOptions& options, ConsolePrompter& prompter) {
  switch (options.language) {
    case ConsoleOptions::Language::kChinese:
      return 0;
    case ConsoleOptions::Language::kRussian:
      return 2;
    case ConsoleOptions::Language::kAsk:
      break;
  }
  return prompter.AskLanguage();
}

// A stop signal ends the run between two steps: before the backup as a cancel, from the backup
// to the transfer once the step under way is done. After the transfer the update is in place and
// runs to its end, its questions answered No.
void StopIfAsked(CUpdateSequencer& sequencer, const ConsoleHost& host) {
  if (StopSignal() == 0 || host.IsClosed() || !sequencer.BetweenSteps()) return;
  if (sequencer.InCriticalSteps() || !sequencer.Report().workBegan) {
    sequencer.Interrupt(FormatText("signal %d", StopSignal()));
  }
}

// The progress display: the sequencer driven by the tick loop until it closes the display.
int RunUpdate(ConsolePrompter& prompter, SetupRun& run) {
  const int language = run.language;
  TestControls controls;
  ConsoleHost host(prompter, std::cout, run, controls.period);
  std::cout << "\n" << host.Localise(kProgressCaption) << "\n";
  CUpdateSequencer sequencer(
      host, [&controls](unsigned) { platform::SleepMilliseconds(controls.pause); });
  const std::string notice =
      std::string("\nsetup: ") + LocaliseFor(kStopAtSafePoint, language) + "\n";
  host.StartStepTimer();
  while (!host.IsClosed()) {
    if (!host.Timer().IsRunning()) {
      sequencer.Fail(
          FormatText("the step timer stopped in state %d", static_cast<int>(sequencer.GetState())));
      break;
    }
    SetStopNotice(sequencer.InCriticalSteps() ? notice : "");
    StopIfAsked(sequencer, host);
    if (host.IsClosed()) break;
    host.Timer().WaitForTick();
    controls.BeforeStep(static_cast<int>(sequencer.GetState()));
    sequencer.OnTimer(kStepTimerId);
  }
  SetStopNotice("");
  const RunReport& report = sequencer.Report();
  PrintRunSummary(std::cout, report, run);
  if (report.end == RunEnd::kFailed) {
    std::cerr << "setup: " << report.failure << "\n";
  } else if (StopSignal() != 0 && report.end != RunEnd::kFinished) {
    std::cerr << "setup: "
              << LocaliseFor(report.workBegan ? kStoppedRunAgain : kStopCancelled, language)
              << "\n";
  }
  return sequencer.GetExitCode();
}

// Ended before the progress display opened: nothing changed, and the report says so.
int CancelBeforeTheUpdate(SetupRun& run) {
  if (StopSignal() != 0) {
    std::cerr << "setup: " << LocaliseFor(kStopCancelled, run.language) << "\n";
  }
  CMessageBoxSink sink(run);
  return WriteCancelledRunReport(sink);
}

}  // namespace

int main(int argc, char** argv) {
  ConsoleOptions options;
  std::string error;
  if (!ParseConsoleOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    return UsageError(error);
  }
  if (options.version) {
    std::cout << ConsoleVersion();
    return kExitDone;
  }
  if (options.help) {
    std::cout << ConsoleUsage();
    return kExitDone;
  }
  std::string root;
  bool unreadable = false;
  if (!ChooseVolumeRoot(options, &root, &error, &unreadable)) {
    if (!unreadable) return UsageError(error);
    std::cerr << "setup: " << error << "\n";
    return kExitFailedUnchanged;
  }
  platform::SetVolumeRoot(root);
  setenv(platform::kVolumeRootVariable, root.c_str(), 1);
  ConfigurePowerOff(options.allowPowerOff);
  setenv(kPayloadPrefixVariable, kPayloadPrefix, 1);

  TerminalInput terminal(STDIN_FILENO);
  std::istream input(&terminal);
  ConsolePrompter prompter(options, input, std::cout);
  // The update reports through its host; only what the base layer reports outside it (a log
  // file that cannot be written, a language file read on first use) takes the process's way,
  // which must reach the same terminal.
  SetMessageBoxFunction([&prompter](const std::string& text, unsigned style) {
    return prompter.Prompt(text, style);
  });

  SetupRun run;
  CMessageBoxSink sink(run);
  // Windows always has its temporary directory; a staged machine may lack it.
  const std::string temporary = platform::GetTempFolder();
  CreateFolderTree(sink, temporary);
  run.logDirectory = temporary;
  InstallStopSignals();

  const int language = ChooseLanguage(options, prompter);
  if (language < 0) {
    return CancelBeforeTheUpdate(run);  // no language chosen: the first
  }
  run.language = language;
  prompter.UseLanguage(language);
  if (prompter.Prompt(LocaliseFor(kStartConfirmation, language), kMbYesNo | kMbIconExclamation) !=
      kIdYes) {
    return CancelBeforeTheUpdate(run);
  }

  const int status = RunUpdate(prompter, run);
  if (status == kExitFailedUnchanged) SayIfNotAPackage(sink);
  return status;
}
