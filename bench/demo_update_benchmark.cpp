// The whole update of the demo's staged machine, as the console edition runs it but with every
// tick given at once and the fixed pause before the last question skipped: the seconds of work
// per MB of installation, the waits left out (the payload's own run counts as work). The demo
// script stages the machine and builds the package (its first three steps); each round then updates
// a fresh copy of that machine in a child process of its own, so that nothing a run caches carries
// over to the next.
//
//   demo_update_benchmark [--rounds N]
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/update_sequencer.h"
#include "base/folder_tree.h"
#include "base/language.h"
#include "base/message_box.h"
#include "base/message_sink.h"
#include "base/messages.h"
#include "base/setup_run.h"
#include "console/console_host.h"
#include "console/console_options.h"
#include "console/console_prompter.h"
#include "platform/posix/volume_map.h"
#include "platform/special_folders.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr char kPackage[] = "C:\\Users\\Operator\\Downloads\\VexorandSetup-5.4";
constexpr char kMakerFolder[] = "c/Program Files/Pelmo";

std::uintmax_t BytesBelow(const fs::path& folder) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) bytes += entry.file_size();
  }
  return bytes;
}

// Stages the demo's machine and package below `parent`; the demo's work folder.
fs::path StageDemo(const fs::path& parent) {
  const std::string command = "TMPDIR='" + parent.string() +
                              "' DEMO_BUILD_DIR='" BUILD_DIR "' DEMO_STAGE_ONLY=1 '" SOURCE_DIR
                              "/scripts/demo.sh' >'" +
                              parent.string() + "/stage.log' 2>&1";
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "demo_update_benchmark: staging failed, see %s/stage.log\n",
                 parent.c_str());
    std::exit(1);
  }
  for (const auto& entry : fs::directory_iterator(parent)) {
    if (entry.is_directory()) return entry.path();
  }
  std::exit(1);
}

struct Timing {
  double seconds = -1;
  double byState[32] = {};  // the seconds of the ticks that each state took
};

// One update of the machine in `root`, the answers of the demo given.
Timing UpdateOnce(const std::string& root) {
  Timing timing;
  ConsoleOptions options;
  std::string error;
  if (!ParseConsoleOptions(
          {"--root", root, "--lang", "zh", "--answers", SOURCE_DIR "/demo/answers.txt"}, &options,
          &error)) {
    std::fprintf(stderr, "demo_update_benchmark: %s\n", error.c_str());
    return timing;
  }
  platform::SetVolumeRoot(root);
  std::istringstream input;
  std::ostringstream output;
  ConsolePrompter prompter(options, input, output);
  SetMessageBoxFunction([&prompter](const std::string& text, unsigned style) {
    return prompter.Prompt(text, style);
  });

  const Clock::time_point start = Clock::now();
  if (prompter.Prompt(LocaliseFor(kStartConfirmation, 0), kMbYesNo | kMbIconExclamation) !=
      kIdYes) {
    return timing;
  }
  SetupRun run;
  CMessageBoxSink sink(run);
  const std::string temporary = platform::GetTempFolder();
  CreateFolderTree(sink, temporary);
  run.logDirectory = temporary;
  run.packageFile = kPackage;
  ConsoleHost host(prompter, output, run);
  CUpdateSequencer sequencer(host, [](unsigned) {});
  host.StartStepTimer();
  while (!host.IsClosed()) {
    if (!host.Timer().IsRunning()) return timing;
    const int state = static_cast<int>(sequencer.GetState());
    const Clock::time_point tick = Clock::now();
    host.Timer().Advance(tick);
    sequencer.OnTimer(kStepTimerId);
    if (state >= 0 && state < 32) {
      timing.byState[state] += std::chrono::duration<double>(Clock::now() - tick).count();
    }
  }
  if (sequencer.GetRunEnd() == CUpdateSequencer::RunEnd::kFinished) {
    timing.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  }
  return timing;
}

Timing UpdateInChild(const std::string& root) {
  Timing timing;
  int result[2];
  if (pipe(result) != 0) return timing;
  const pid_t child = fork();
  if (child == 0) {
    close(result[0]);
    // The payload's output and the prompts would drown the figures.
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    const Timing measured = UpdateOnce(root);
    const ssize_t written = write(result[1], &measured, sizeof measured);
    _exit(written == sizeof measured ? 0 : 1);
  }
  close(result[1]);
  if (read(result[0], &timing, sizeof timing) != sizeof timing) timing = Timing{};
  close(result[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return timing;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
  }
  std::string parent = (fs::temp_directory_path() / "demo-update-benchmark-XXXXXX").string();
  if (mkdtemp(parent.data()) == nullptr) return 1;
  const fs::path work = StageDemo(parent);
  const fs::path staged = work / "machine";
  const double megabytes = static_cast<double>(BytesBelow(staged / kMakerFolder)) / (1 << 20);

  std::vector<Timing> timings;
  for (int round = 0; round < rounds; ++round) {
    const fs::path copy = work / ("round" + std::to_string(round));
    fs::copy(staged, copy, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    const Timing timing = UpdateInChild(copy.string());
    if (timing.seconds < 0) {
      std::fprintf(stderr, "demo_update_benchmark: the update of %s did not finish\n",
                   copy.c_str());
      return 1;
    }
    timings.push_back(timing);
    fs::remove_all(copy);
  }
  std::sort(timings.begin(), timings.end(),
            [](const Timing& a, const Timing& b) { return a.seconds < b.seconds; });
  const double median = timings[timings.size() / 2].seconds;
  std::vector<double> times;
  for (const Timing& timing : timings) times.push_back(timing.seconds);
  std::printf("States of the median run that took 10 ms or more:");
  for (int state = 0; state < 32; ++state) {
    const double seconds = timings[timings.size() / 2].byState[state];
    if (seconds >= 0.01) std::printf(" %d: %.3f s;", state, seconds);
  }
  std::printf("\n");
  std::printf("Demo update, ticks without waiting: %.3f s of work (median of %d, %.3f to %.3f)\n",
              median, rounds, times.front(), times.back());
  std::printf("Installation: %.3f MB below the maker folder\n", megabytes);
  std::printf("Seconds of work per MB of installation: %.2f\n", median / megabytes);
  fs::remove_all(parent);
  return 0;
}
