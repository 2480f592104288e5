// The whole update of the demo's staged machine, as the console edition runs it but with every
// tick given at once: the seconds of work per MB of installation, the step timer's waits left
// out. The demo script stages the machine and builds the package (its first three steps); each
// round then updates a fresh copy of that machine in a child process of its own, so that nothing
// a run caches carries over to the next.
//
//   demo_update_benchmark [--rounds N]
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

#include "app/package_file.h"
#include "app/update_sequencer.h"
#include "base/folder_tree.h"
#include "base/language.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/setup_log.h"
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
  const std::string command = "TMPDIR='" + parent.string() + "' DEMO_BUILD_DIR='" BUILD_DIR
                              "' DEMO_STAGE_ONLY=1 '" SOURCE_DIR "/scripts/demo.sh' >'" +
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

// One update of the machine in `root`, the answers of the demo given: its seconds, or -1.
double UpdateOnce(const std::string& root) {
  ConsoleOptions options;
  std::string error;
  if (!ParseConsoleOptions({"--root", root, "--lang", "zh", "--answers", SOURCE_DIR "/demo/answers.txt"},
                           &options, &error)) {
    std::fprintf(stderr, "demo_update_benchmark: %s\n", error.c_str());
    return -1;
  }
  platform::SetVolumeRoot(root);
  SetPackageFile(kPackage);
  std::istringstream input;
  std::ostringstream output;
  ConsolePrompter prompter(options, input, output);
  SetMessageBoxFunction(
      [&prompter](const std::string& text, unsigned style) { return prompter.Prompt(text, style); });

  const Clock::time_point start = Clock::now();
  SetLanguage(0);
  if (prompter.Prompt(Localise(kStartConfirmation), kMbYesNo | kMbIconExclamation) != kIdYes) {
    return -1;
  }
  const std::string temporary = platform::GetTempFolder();
  CreateFolderTree(temporary);
  SetLogDirectory(temporary);
  ConsoleHost host(prompter, output);
  CUpdateSequencer sequencer(host);
  host.StartStepTimer();
  while (!host.IsClosed()) {
    if (!host.Timer().IsRunning()) return -1;
    host.Timer().Advance(Clock::now());
    sequencer.OnTimer(kStepTimerId);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return sequencer.GetRunEnd() == CUpdateSequencer::RunEnd::kFinished ? seconds : -1;
}

double UpdateInChild(const std::string& root) {
  int result[2];
  if (pipe(result) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(result[0]);
    const double seconds = UpdateOnce(root);
    const ssize_t written = write(result[1], &seconds, sizeof seconds);
    _exit(written == sizeof seconds ? 0 : 1);
  }
  close(result[1]);
  double seconds = -1;
  if (read(result[0], &seconds, sizeof seconds) != sizeof seconds) seconds = -1;
  close(result[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return seconds;
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

  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    const fs::path copy = work / ("round" + std::to_string(round));
    fs::copy(staged, copy, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    const double seconds = UpdateInChild(copy.string());
    if (seconds < 0) {
      std::fprintf(stderr, "demo_update_benchmark: the update of %s did not finish\n",
                   copy.c_str());
      return 1;
    }
    times.push_back(seconds);
    fs::remove_all(copy);
  }
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  std::printf("Demo update, ticks without waiting: %.3f s of work (median of %d, %.3f to %.3f)\n",
              median, rounds, times.front(), times.back());
  std::printf("Installation: %.3f MB below the maker folder\n", megabytes);
  std::printf("Seconds of work per MB of installation: %.2f\n", median / megabytes);
  fs::remove_all(parent);
  return 0;
}
