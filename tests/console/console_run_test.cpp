// Whole updates by the console edition as a separate process: the package is the `setup` program
// with a payload script and a trailer appended by `vextool pkg build`, run on a staged machine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/update_sequencer.h"
#include "base/messages.h"
#include "console/console_options.h"
#include "platform/profile.h"
#include "tests/support/mutex_holder.h"
#include "tests/support/posix/mutex_attempts.h"
#include "tests/support/staged_machine.h"
#include "tests/support/staged_update.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string ReadHostFile(const std::string& path) {
  std::ifstream input(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
}

// A program started with its output in files; stdin is empty, or with `interactive` a pipe
// that stays open, as a terminal nobody types into, and the program leads a process group of
// its own, so that a signal can reach it and its children as from a terminal.
class Process {
 public:
  Process(const std::string& program, const std::vector<std::string>& arguments,
          const std::string& outputFolder, bool interactive = false)
      : out_(outputFolder + "/stdout"), err_(outputFolder + "/stderr") {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int input[2] = {-1, -1};
    if (interactive && pipe(input) == 0) {
      posix_spawn_file_actions_adddup2(&actions, input[0], 0);
      posix_spawn_file_actions_addclose(&actions, input[1]);
    } else {
      posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, 1, out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (interactive) {
      posix_spawnattr_setpgroup(&attributes, 0);
      posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    }
    EXPECT_EQ(posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ), 0)
        << program;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (input[0] >= 0) {
      close(input[0]);
      input_ = input[1];
    }
  }

  ~Process() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (input_ >= 0) close(input_);
  }

  void Type(const std::string& text) {
    ASSERT_EQ(write(input_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  // To the whole group, as Ctrl-C or a closed terminal would.
  void Signal(int signal) { kill(-pid_, signal); }
  // True once standard output (or error) holds `text` `times` times; false after a minute.
  bool WaitForOutput(const std::string& text, bool errors = false, int times = 1) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
      const std::string output = errors ? Errors() : Output();
      int found = 0;
      for (std::size_t at = output.find(text); at != std::string::npos && found < times;
           at = output.find(text, at + text.size())) {
        ++found;
      }
      if (found == times) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  std::string Output() const { return ReadHostFile(out_); }
  std::string Errors() const { return ReadHostFile(err_); }

  // The exit status; -1 (and a failure) when it has not ended within a minute.
  int Wait() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ADD_FAILURE() << "still running after a minute:\n" << Output();
    return -1;
  }

 private:
  std::string out_, err_;
  pid_t pid_ = 0;
  int input_ = -1;
};

constexpr const char* kTickVariable = "SETUP_TEST_TICK_MS";

class ConsoleRunTest : public ::testing::Test {
 protected:
  // The programs the tests start tick, and pause before the last question, for a few
  // milliseconds: a test build's switch. NormalUpdate runs at the shipped pace.
  void SetUp() override {
    setenv(kTickVariable, "5", 1);
    work_ = machine_.root() + "/.work";
    fs::create_directory(work_);
    std::ofstream(work_ + "/controller.bin", std::ios::binary) << StagedControllerBlock();
    ASSERT_EQ(RunTool({"dat", "build", "-o", work_ + "/vexorand.dat",
                       "CController=" + work_ + "/controller.bin"}),
              0);
    StageOldInstallation(machine_, ReadHostFile(work_ + "/vexorand.dat"));
    std::ofstream(work_ + "/payload.sh", std::ios::binary) << kStagedPayloadScript;
    package_ = machine_.HostPath("C:\\Media\\Setup");
    fs::create_directories(fs::path(package_).parent_path());
    ASSERT_EQ(RunTool({"pkg", "build", "--setup", SETUP_PROGRAM, "--payload", work_ + "/payload.sh",
                       "-o", package_}),
              0);
    chmod(package_.c_str(), 0755);
  }

  void TearDown() override { unsetenv(kTickVariable); }

  int RunTool(const std::vector<std::string>& arguments) {
    Process tool(VEXTOOL_PROGRAM, arguments, work_);
    const int status = tool.Wait();
    EXPECT_EQ(status, 0) << tool.Errors();
    return status;
  }

  std::string WriteAnswers(const std::string& answers) {
    const std::string path = work_ + "/answers.txt";
    std::ofstream(path) << answers;
    return path;
  }

  // The package run on the machine with these answers, in `language` ("zh" or "ru").
  std::unique_ptr<Process> StartPackage(const std::string& language, const std::string& answers) {
    return std::make_unique<Process>(
        package_,
        std::vector<std::string>{"--root", machine_.root(), "--lang", language, "--answers",
                                 WriteAnswers(answers)},
        work_);
  }

  // Every file below the root with its content, the tests' own files, the mutex and the setup log
  // aside.
  std::map<std::string, std::string> Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(machine_.root())) {
      const std::string relative = fs::relative(entry.path(), machine_.root()).string();
      if (relative.rfind(".work", 0) == 0 || relative.rfind(".mutex", 0) == 0) continue;
      if (relative == "c/Temp/VexorandSetupLog.txt") continue;
      if (relative == "c/Temp/VexorandSetupReport.json") continue;
      files[relative] = entry.is_directory() ? "<folder>" : ReadHostFile(entry.path().string());
    }
    return files;
  }

  std::string LanguageCode() const {
    return platform::ReadProfileString("ActiveLang", "ActiveLang", "",
                                       std::string(kStagedInstallation) + "Lang\\Lang.ini");
  }

  StagedMachine machine_;
  std::string work_;
  std::string package_;
};

// Each label the sequencer shows appears once, in order.
void ExpectLabelsInOrder(const std::string& output, bool chinese) {
  std::size_t position = 0;
  for (const int label : {140, 141, 142, 144, 145, 146, 147, 148, 150, 151}) {
    const TwoTextMessage* text = StepLabelText(label);
    const std::string shown = chinese ? text->chinese : text->second;
    const std::size_t found = output.find(shown, position);
    ASSERT_NE(found, std::string::npos) << label << " in\n" << output;
    EXPECT_EQ(output.find(shown, found + 1), std::string::npos) << label << " twice";
    position = found;
  }
}

}  // namespace

// The one update at the shipped 500 ms tick and 2 s pause.
TEST_F(ConsoleRunTest, NormalUpdate) {
  unsetenv(kTickVariable);
  auto setup = StartPackage("zh", "yes\nyes\nyes\nno\nno\n");
  ASSERT_EQ(setup->Wait(), kExitDone) << setup->Output() << setup->Errors();
  const std::string output = setup->Output();
  ExpectLabelsInOrder(output, true);
  EXPECT_NE(output.find(kStartConfirmation.chinese), std::string::npos);

  EXPECT_EQ(LanguageCode(), "chn");
  EXPECT_TRUE(machine_.Exists("C:\\Windows\\System32\\drivers\\vexio.sys"));
  EXPECT_EQ(machine_.ReadFile("D:\\Backup\\Setup"), ReadHostFile(package_));
  const std::string amendment =
      machine_.ReadFile(std::string(kStagedInstallation) + "config\\A\\amend.dat");
  EXPECT_NE(amendment.find("speed = 1200"), std::string::npos) << amendment;
  EXPECT_EQ(amendment.find("oldOnly"), std::string::npos) << amendment;
  EXPECT_FALSE(machine_.Exists(std::string(kStagedInstallation) + "config\\A\\vexorand.dat"));
}

// Named answers, in an order of their own; the installer's lines are told apart.
TEST_F(ConsoleRunTest, SecondLanguage) {
  auto setup = StartPackage("ru",
                            "power-off=yes\nseparate=no\nkeep-parameters=yes\n"
                            "delete-installation=yes\nstart=yes\n");
  ASSERT_EQ(setup->Wait(), kExitDone) << setup->Output() << setup->Errors();
  const std::string output = setup->Output();
  EXPECT_NE(output.find("\npayload| installed 5.4.2\n"), std::string::npos) << output;
  EXPECT_NE(output.find("power-off is skipped: --allow-power-off was not given"), std::string::npos)
      << output;
  EXPECT_NE(machine_.ReadFile(std::string(kStagedInstallation) + "config\\A\\amend.dat")
                .find("speed = 1200"),
            std::string::npos);
  ExpectLabelsInOrder(output, false);
  EXPECT_NE(output.find(kStartConfirmation.second), std::string::npos);
  EXPECT_NE(output.find("ВНИМАНИЕ:"), std::string::npos);
  EXPECT_EQ(LanguageCode(), "rus");
}

TEST_F(ConsoleRunTest, NoAndCancelChangeNothing) {
  const auto before = Snapshot();
  for (const char* answers : {"no\n", "yes\nno\n"}) {
    auto setup = StartPackage("zh", answers);
    EXPECT_EQ(setup->Wait(), kExitCancelled) << answers << setup->Output();
    EXPECT_EQ(Snapshot(), before) << answers;
  }
}

// A damaged package, and the bare program without any package behind it, end the run before the
// old installation is touched.
TEST_F(ConsoleRunTest, DamagedPackageFailsBeforeAnythingChanges) {
  std::string bytes = ReadHostFile(package_);
  bytes[bytes.size() - 100] ^= 0x01;
  std::ofstream(package_, std::ios::binary | std::ios::trunc) << bytes;
  const auto before = Snapshot();
  auto setup = StartPackage("zh", "yes\nyes\nyes\nno\nno\n");
  EXPECT_EQ(setup->Wait(), kExitFailedUnchanged);
  EXPECT_NE(setup->Errors().find(kSignatureMismatch.chinese), std::string::npos) << setup->Errors();
  EXPECT_EQ(Snapshot(), before);

  Process bare(SETUP_PROGRAM, {"--root", machine_.root(), "--lang", "ru", "--answer", "yes"},
               work_);
  EXPECT_EQ(bare.Wait(), kExitFailedUnchanged);
  EXPECT_NE(bare.Errors().find("bare setup program, not a package"), std::string::npos)
      << bare.Errors();
  EXPECT_NE(machine_.ReadFile("C:\\Temp\\VexorandSetupLog.txt").find("not a package"),
            std::string::npos);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ConsoleRunTest, WaitsForTheControlProgram) {
  MutexHolder controlProgram(kControlProgramMutexName);
  MutexAttempts attempts(machine_.root(), kControlProgramMutexName);
  auto setup = StartPackage("zh", "yes\nyes\nyes\nno\nno\n");
  // Four ticks that found the mutex held must not get past the first label.
  ASSERT_TRUE(attempts.WaitFor(4, std::chrono::seconds(60))) << setup->Output();
  const std::string waiting = setup->Output();
  EXPECT_NE(waiting.find(StepLabelText(140)->chinese), std::string::npos) << waiting;
  EXPECT_EQ(waiting.find(StepLabelText(141)->chinese), std::string::npos) << waiting;
  EXPECT_TRUE(machine_.Exists(std::string(kStagedInstallation) + "only-in-5.3.txt"));
  controlProgram.Release();
  ASSERT_EQ(setup->Wait(), kExitDone) << setup->Output() << setup->Errors();
  ExpectLabelsInOrder(setup->Output(), true);
}

TEST_F(ConsoleRunTest, BadUsage) {
  const std::vector<std::vector<std::string>> mistakes = {
      {"--lang", "fr"},
      {"--root", machine_.root() + "/missing", "--lang", "zh"},
      {"--root", machine_.root(), "--answer", "yes"},
  };
  for (const auto& arguments : mistakes) {
    Process setup(SETUP_PROGRAM, arguments, work_);
    EXPECT_EQ(setup.Wait(), kExitUsage) << arguments[0];
  }
  Process missing(SETUP_PROGRAM, {"--root", machine_.root() + "/missing"}, work_);
  EXPECT_EQ(missing.Wait(), kExitUsage);
  EXPECT_NE(missing.Errors().find("/missing' (--root) does not exist"), std::string::npos)
      << missing.Errors();
  Process help(SETUP_PROGRAM, {"--help"}, work_);
  EXPECT_EQ(help.Wait(), kExitDone);
  EXPECT_NE(help.Output().find("drives.ini"), std::string::npos);
  EXPECT_NE(help.Output().find("5   stopped by a signal after something changed"),
            std::string::npos);
  EXPECT_NE(help.Output().find(std::string("DIR/.mutex/") + kControlProgramMutexName),
            std::string::npos);
  Process version(SETUP_PROGRAM, {"--version"}, work_);
  EXPECT_EQ(version.Wait(), kExitDone);
  EXPECT_EQ(version.Output(), ConsoleVersion());
}

// A stop signal at a question ends the run like No or Cancel, before anything changed.
TEST_F(ConsoleRunTest, ASignalAtAQuestionCancels) {
  struct Row {
    int signal;
    const char* typed;  // the answers before the question the signal arrives at
    std::string question;
  };
  const Row rows[] = {
      {SIGINT, "", kStartConfirmation.chinese},
      {SIGTERM, "yes\n", "警告！"},
      {SIGHUP, "yes\nyes\n", "要尝试保留这些配置的参数吗?"},
  };
  const auto before = Snapshot();
  for (const Row& row : rows) {
    Process setup(package_, {"--root", machine_.root(), "--lang", "zh"}, work_, true);
    setup.Type(row.typed);
    ASSERT_TRUE(setup.WaitForOutput(row.question)) << row.signal << setup.Output();
    setup.Signal(row.signal);
    EXPECT_EQ(setup.Wait(), kExitCancelled) << row.signal << setup.Output() << setup.Errors();
    EXPECT_NE(setup.Errors().find(kStopCancelled.chinese), std::string::npos) << setup.Errors();
    // At the last question the migration folder has been made, empty.
    auto after = Snapshot();
    after.erase("c/Temp/Vexroand");
    EXPECT_TRUE(after == before) << row.signal;
    EXPECT_NE(machine_.ReadFile("C:\\Temp\\VexorandSetupReport.json").find("\"exit_code\":2,"),
              std::string::npos);
  }
}

// Signals while the old installation is gone and the new one is being installed: the step under
// way ends, a second signal gets the same notice, the run stops as interrupted, and running the
// package again completes the update.
TEST_F(ConsoleRunTest, ASignalDuringTheInstallationStopsAtTheNextStep) {
  // At the shipped pace the next tick comes after the installer was let go; a short one would
  // interrupt the wait for it first.
  unsetenv(kTickVariable);
  std::ofstream(machine_.root() + "/hold");
  Process setup(package_,
                {"--root", machine_.root(), "--lang", "ru", "--answers",
                 WriteAnswers("yes\nyes\nyes\nno\nno\n")},
                work_, true);
  ASSERT_TRUE(setup.WaitForOutput(StepLabelText(145)->second)) << setup.Output();
  const std::string notice = kStopAtSafePoint.second;
  setup.Signal(SIGINT);
  ASSERT_TRUE(setup.WaitForOutput(notice, true)) << setup.Errors();
  // Ticks go by: the run waits for the installer, however long it takes.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  setup.Signal(SIGHUP);
  EXPECT_TRUE(setup.WaitForOutput(notice, true, 2)) << setup.Errors();
  fs::remove(machine_.root() + "/hold");
  EXPECT_EQ(setup.Wait(), kExitInterrupted) << setup.Output() << setup.Errors();
  EXPECT_NE(setup.Errors().find(kStoppedRunAgain.second), std::string::npos) << setup.Errors();
  const std::string report = machine_.ReadFile("C:\\Temp\\VexorandSetupReport.json");
  EXPECT_NE(report.find("\"exit_code\":5,\"outcome\":\"interrupted\""), std::string::npos)
      << report;
  // The installer was left to finish.
  EXPECT_NE(report.find("\"version_to\":\"5.4.2\""), std::string::npos) << report;
  // The summary says where the backup and the parameters are.
  EXPECT_NE(setup.Output().find("Резервная копия: D:\\Backup\\Pelmo "), std::string::npos)
      << setup.Output();
  EXPECT_NE(setup.Output().find("Не перенесённые параметры сохранены в C:\\Temp\\Vexroand"),
            std::string::npos);

  auto again = StartPackage("ru", "yes\nyes\nyes\nno\nno\n");
  ASSERT_EQ(again->Wait(), kExitDone) << again->Output() << again->Errors();
  EXPECT_NE(machine_.ReadFile(std::string(kStagedInstallation) + "config\\A\\amend.dat")
                .find("speed = 1200"),
            std::string::npos);
}

// Output nobody reads any more (`setup | tee` after tee ended) must not end the update in the
// middle of a step.
TEST_F(ConsoleRunTest, AnOutputReaderThatWentAwayDoesNotEndTheUpdate) {
  int output[2];
  ASSERT_EQ(pipe(output), 0);
  close(output[0]);
  const std::string answers = WriteAnswers("yes\nyes\nyes\nno\nno\n");
  std::vector<std::string> arguments = {package_, "--root",    machine_.root(), "--lang",
                                        "zh",     "--answers", answers};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output[1], 1);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, package_.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), kExitDone);
  EXPECT_NE(machine_.ReadFile(std::string(kStagedInstallation) + "config\\A\\amend.dat")
                .find("speed = 1200"),
            std::string::npos);
}
