// Power cuts and disk faults in the middle of whole updates by the console edition: after each,
// running the same package again must end with every parameter of every configuration in the
// new amend.dat, with the value an uninterrupted update gives. Test builds only (the cut and the
// faults come from the fault plan of the file layer and the console's test controls).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/run_report.h"
#include "tests/support/staged_machine.h"
#include "tests/support/staged_update.h"

#ifdef SETUP_FAULT_INJECTION

extern char** environ;

namespace fs = std::filesystem;

namespace {

#ifdef __SANITIZE_ADDRESS__
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// Version 5.4 as the staged payload installs it, with configuration B beside A and a pause
// half-way when PAYLOAD_PAUSE is set, so that a cut can fall inside the payload's work.
std::string Payload() {
  std::string script = kStagedPayloadScript;
  const std::string settings = "> \"$maker/setup.cfg\"\n";
  script.insert(script.find(settings) + settings.size(), "sleep \"${PAYLOAD_PAUSE:-0}\"\n");
  return script +
         "mkdir -p \"$control/config/B\"\n"
         "cp \"$control/config/A/amend.dat\" \"$control/config/A/vexorand.dat\" "
         "\"$control/config/B/\"\n";
}

std::string ReadHostFile(const std::string& path) {
  std::ifstream input(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
}

struct RunResult {
  int status = -1;  // exit status; -1 killed or hung
  std::string errors;
};

// Runs `program` in a process group of its own (so a cut takes its payload too), every question
// answered with Enter, that is with its default button.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::vector<std::string>& extraEnvironment, const std::string& folder) {
  std::ofstream(folder + "/enter") << std::string(40, '\n');
  std::vector<std::string> environment(extraEnvironment);
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string entry = *variable;
    if (entry.rfind("SETUP_", 0) != 0 && entry.rfind("PAYLOAD_", 0) != 0) {
      environment.push_back(entry);
    }
  }
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::vector<std::string> args{program};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : args) argv.push_back(argument.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string input = folder + "/enter", output = folder + "/stdout",
                    errors = folder + "/stderr";
  posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = 0;
  RunResult result;
  if (posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data()) != 0) {
    ADD_FAILURE() << "cannot start " << program;
    return result;
  }
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-pid, SIGKILL);
      waitpid(pid, &status, 0);
      ADD_FAILURE() << "hung:\n" << ReadHostFile(output);
      return result;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  // Whatever of the group is left (a payload whose parent was cut off) goes too.
  kill(-pid, SIGKILL);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.errors = ReadHostFile(errors);
  return result;
}

class PowerCutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = fs::temp_directory_path().string() + "/power-cut-" + std::to_string(getpid());
    fs::create_directories(work_);
    // The template machine: 5.3 with configurations A and B, and the package.
    StageOldInstallation(template_, "");
    for (const auto& [name, speed] : {std::pair<const char*, int>{"A", 1200}, {"B", 3400}}) {
      std::ofstream(work_ + "/block", std::ios::binary) << StagedControllerBlock(speed);
      ASSERT_EQ(
          RunProgram(VEXTOOL_PROGRAM,
                     {"dat", "build", "-o", work_ + "/dat", "CController=" + work_ + "/block"}, {},
                     work_)
              .status,
          0);
      template_.WriteFile(std::string(kStagedInstallation) + "config\\" + name + "\\vexorand.dat",
                          ReadHostFile(work_ + "/dat"));
    }
    std::ofstream(work_ + "/payload.sh") << Payload();
    // Without its debugging sections the program is a tenth of the size, and every run reads and
    // digests the whole package.
    const std::string program = work_ + "/setup";
    fs::copy_file(SETUP_PROGRAM, program);
    if (fs::exists("/usr/bin/strip")) RunProgram("/usr/bin/strip", {program}, {}, work_);
    const std::string package = template_.HostPath("C:\\Media\\Setup");
    fs::create_directories(fs::path(package).parent_path());
    ASSERT_EQ(RunProgram(VEXTOOL_PROGRAM,
                         {"pkg", "build", "--setup", program, "--payload", work_ + "/payload.sh",
                          "-o", package},
                         {}, work_)
                  .status,
              0);
    fs::permissions(package, fs::perms::owner_all, fs::perm_options::add);
    Fresh();
    const RunResult clean = RunPackage({});
    ASSERT_EQ(clean.status, 0) << clean.errors;
    for (const char* name : {"A", "B"}) expected_.push_back(Amendment(name));
    ASSERT_NE(expected_[1].find("speed = 3400"), std::string::npos) << expected_[1];
  }

  void TearDown() override {
    fs::remove_all(work_);
    fs::remove_all(machine_);
  }

  // A copy of the template machine, 5.3 installed.
  void Fresh() {
    fs::remove_all(machine_);
    fs::copy(template_.root(), machine_, fs::copy_options::recursive);
  }

  RunResult RunPackage(std::vector<std::string> environment) {
    environment.push_back("SETUP_TEST_TICK_MS=2");
    return RunProgram(machine_ + "/c/Media/Setup", {"--root", machine_, "--lang", "zh"},
                      environment, work_);
  }

  std::string Amendment(const char* configuration) const {
    return ReadHostFile(machine_ + "/c/Program Files/Pelmo/Control/config/" + configuration +
                        "/amend.dat");
  }

  // Both configurations as after an uninterrupted update.
  bool LostNothing() const {
    return Amendment("A") == expected_[0] && Amendment("B") == expected_[1];
  }

  // Every configuration's parameters are still somewhere: in the new amend.dat, the old binary
  // file, a backup, or a kept temporary parameter file.
  bool NothingGone() const {
    const std::vector<std::string> configurations = {"A", "B"};
    for (std::size_t i = 0; i < configurations.size(); ++i) {
      const std::string& name = configurations[i];
      if (Amendment(name.c_str()) == expected_[i]) continue;
      const std::string original = template_.ReadFile(std::string(kStagedInstallation) +
                                                      "config\\" + name + "\\vexorand.dat");
      std::vector<std::string> places = {machine_ + "/c/Program Files/Pelmo/Control/config/" +
                                         name + "/vexorand.dat"};
      for (const std::string& root : {machine_ + "/d/Backup", machine_ + "/c/Temp"}) {
        if (!fs::is_directory(root)) continue;
        for (const auto& entry : fs::directory_iterator(root)) {
          places.push_back(entry.path().string() + "/Control/config/" + name + "/vexorand.dat");
          places.push_back(entry.path().string() + "/" + std::string(1, char(name[0] + 32)) +
                           "_amend.dat");
        }
      }
      const std::string speed = i == 0 ? "speed = 1200" : "speed = 3400";
      bool found = false;
      for (const std::string& place : places) {
        const std::string bytes = ReadHostFile(place);
        found = found ||
                (!bytes.empty() && (bytes == original || bytes.find(speed) != std::string::npos));
      }
      if (!found) return false;
    }
    return true;
  }

  // The file operations of one whole update: all of them, and those that change the disk.
  std::pair<unsigned long, unsigned long> CountOperations() {
    Fresh();
    const std::string count = work_ + "/count";
    EXPECT_EQ(RunPackage({"SETUP_FAULT_PLAN=count:" + count}).status, 0);
    std::pair<unsigned long, unsigned long> counts;
    std::istringstream(ReadHostFile(count)) >> counts.first >> counts.second;
    return counts;
  }

  struct Point {
    std::string name;
    std::vector<std::string> environment;
  };

  // Cuts the update off at each point, runs it again, and counts the points that lose nothing.
  void CutEach(const std::vector<Point>& points, const char* mode, unsigned long operations) {
    int lossless = 0;
    for (const Point& point : points) {
      Fresh();
      RunPackage(point.environment);
      const RunResult again = RunPackage({});
      EXPECT_EQ(again.status, 0) << point.name << ": " << again.errors;
      if (again.status == 0 && LostNothing()) {
        ++lossless;
      } else {
        ADD_FAILURE() << mode << " at " << point.name << " lost parameters:\n"
                      << Amendment("A") << "\n"
                      << Amendment("B");
      }
    }
    std::printf("%s points tried: %zu, that lose nothing: %d (file operations: %lu)\n", mode,
                points.size(), lossless, operations);
    EXPECT_EQ(lossless, static_cast<int>(points.size()));
  }

  // Cut off at the start of every state and inside the payload, by `plan` ("kill:0": the process
  // group killed; "cut:0": the power lost first).
  static std::vector<Point> StatePoints(const std::string& plan) {
    std::vector<Point> points;
    for (const int state : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 13, 14}) {
      points.push_back(
          {"state " + std::to_string(state),
           {"SETUP_TEST_KILL_STATE=" + std::to_string(state), "SETUP_FAULT_PLAN=" + plan}});
    }
    points.push_back(
        {"inside the payload",
         {"SETUP_TEST_KILL_STATE=6:3", "PAYLOAD_PAUSE=0.3", "SETUP_FAULT_PLAN=" + plan}});
    return points;
  }

  StagedMachine template_;
  std::string work_;
  std::string machine_ =
      fs::temp_directory_path().string() + "/power-cut-machine-" + std::to_string(getpid());
  std::vector<std::string> expected_;
};

}  // namespace

// Killed at the start of every state, inside the payload, and at file operations throughout the
// backup copy, the clearing, the transfer and the rest; then run again.
TEST_F(PowerCutTest, NoKillLosesAParameter) {
  std::vector<Point> points = StatePoints("kill:0");
  const unsigned long operations = CountOperations().first;
  ASSERT_GT(operations, 20u);
  // About forty kills spread over the whole update, the first and the last operation included.
  const unsigned long stride = std::max(1ul, operations / 40);
  for (unsigned long at = 1; at <= operations; at += stride) {
    points.push_back(
        {"file operation " + std::to_string(at), {"SETUP_FAULT_PLAN=kill:" + std::to_string(at)}});
  }
  points.push_back({"file operation " + std::to_string(operations),
                    {"SETUP_FAULT_PLAN=kill:" + std::to_string(operations)}});
  CutEach(points, "kill", operations);
}

// The power lost at the start of every state, inside the payload, and before every operation
// that changes the disk (a cut before a read or a query finds the disk as one before the next
// change does): what was not flushed is gone. Under the sanitizers every fourth change.
TEST_F(PowerCutTest, NoPowerLossLosesAParameter) {
  std::vector<Point> points = StatePoints("cut:0");
  const unsigned long changes = CountOperations().second;
  ASSERT_GT(changes, 20u);
  for (unsigned long at = 1; at <= changes; at += kSanitized ? 4 : 1) {
    points.push_back(
        {"change " + std::to_string(at), {"SETUP_FAULT_PLAN=cut:" + std::to_string(at)}});
  }
  CutEach(points, "power-loss", changes);
}

// The file operations of a whole update fail once each in turn (disk full and I/O errors): the run
// completes (exit status 0 or 4) or stops with a message, and after it the next run loses nothing.
// An update makes some 1500 calls: the walk fails an evenly spread sample of at most 400 of them
// (150 under the sanitizers, where a run takes several times as long), every one with
// SETUP_FULL_FAULT_WALK=1.
TEST_F(PowerCutTest, EveryFailingFileOperationIsSurvived) {
  const unsigned long operations = CountOperations().first;
  ASSERT_EQ(CountOperations().first, operations) << "the count must not depend on timing";
  const unsigned long sample = std::getenv("SETUP_FULL_FAULT_WALK") != nullptr ? operations
                               : kSanitized                                    ? 150
                                                                               : 400;
  const unsigned long stride = std::max(1ul, (operations + sample - 1) / sample);
  unsigned long tried = 0;
  int survived = 0;
  int allInAmendment = 0;
  for (unsigned long at = 1; at <= operations; at += stride) {
    ++tried;
    const int error = at % 2 == 0 ? ENOSPC : EIO;
    Fresh();
    const RunResult faulted =
        RunPackage({"SETUP_FAULT_PLAN=fail:" + std::to_string(at) + ":" + std::to_string(error)});
    // Stopped with its message, before or after the clearing; or ran to its end and says what
    // it could not do.
    const bool stopped =
        (faulted.status == kExitFailedUnchanged || faulted.status == kExitFailedCleared) &&
        !faulted.errors.empty();
    bool ok = faulted.status == kExitDone || faulted.status == kExitIncomplete || stopped;
    if (ok && stopped) {
      // Stopped with its message: the technician runs the package again.
      ok = NothingGone() && RunPackage({}).status == 0;
    }
    ok = ok && NothingGone();
    if (ok) {
      ++survived;
      allInAmendment += LostNothing() ? 1 : 0;
    } else {
      ADD_FAILURE() << "failing file operation " << at << " (errno " << error << ", exit "
                    << faulted.status << ": " << faulted.errors << ") lost:\n"
                    << Amendment("A") << "\n"
                    << Amendment("B");
    }
  }
  std::printf(
      "injected faults tried: %lu, survived: %d (every parameter in the new amend.dat after at "
      "most one more run: %d; the others' parameters in the backup; file operations of an "
      "update: %lu)\n",
      tried, survived, allInAmendment, operations);
  EXPECT_EQ(survived, static_cast<int>(tried));
}

#endif
