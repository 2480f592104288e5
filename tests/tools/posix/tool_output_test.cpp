#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "tests/support/staged_machine.h"
#include "tests/tools/vextool_run.h"

namespace {

// Standard output, for one command, goes to a full disk or to a pipe nobody reads any more.
class BrokenStandardOutput {
 public:
  explicit BrokenStandardOutput(bool fullDisk) {
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    int target = -1;
    if (fullDisk) {
      target = open("/dev/full", O_WRONLY);
    } else {
      int ends[2];
      EXPECT_EQ(pipe(ends), 0);
      close(ends[0]);
      target = ends[1];
      previous_ = std::signal(SIGPIPE, SIG_IGN);
    }
    dup2(target, STDOUT_FILENO);
    close(target);
  }
  ~BrokenStandardOutput() {
    std::fflush(stdout);
    std::clearerr(stdout);
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
    if (previous_ != SIG_ERR) std::signal(SIGPIPE, previous_);
  }

 private:
  int saved_ = -1;
  void (*previous_)(int) = SIG_ERR;
};

VextoolOutcome RunWithBrokenOutput(const CommandArguments& arguments, bool fullDisk) {
  RecordingSink log;
  testing::internal::CaptureStderr();
  int status = 0;
  {
    BrokenStandardOutput broken(fullDisk);
    status = RunVextool(arguments, log);
  }
  return {status, "", testing::internal::GetCapturedStderr(), log.entries()};
}

class ToolOutputTest : public testing::Test {
 protected:
  std::string Stage(const std::string& name, const std::string& bytes) {
    machine_.WriteFile("C:\\Work\\" + name, bytes);
    return machine_.HostPath("C:\\Work\\" + name);
  }

  StagedMachine machine_;
};

// Every command that prints fails when what it printed does not arrive.
TEST_F(ToolOutputTest, AFailedWriteToStandardOutputFailsTheCommand) {
  const std::string format = Stage("c.fmt", "field CController { int a; };\n");
  const std::string data = Stage("c.bin", std::string(4, '\0'));
  const std::string dat = machine_.HostPath("C:\\Work\\c.dat");
  ASSERT_EQ(RunVextoolCaptured({"dat", "build", "-o", dat, "CController=" + data}).status, 0);
  const std::string package = machine_.HostPath("C:\\Work\\p.exe");
  ASSERT_EQ(
      RunVextoolCaptured({"pkg", "build", "--setup", format, "--payload", data, "-o", package})
          .status,
      0);
  // Installations for migrate to read from and write to.
  Stage("old\\vexorand.fmt", machine_.ReadFile("C:\\Work\\c.fmt"));
  Stage("old\\config\\M\\vexorand.dat", machine_.ReadFile("C:\\Work\\c.dat"));
  Stage("new\\vexorand.fmt", machine_.ReadFile("C:\\Work\\c.fmt"));
  Stage("new\\config\\M\\amend.dat", "");
  const CommandArguments commands[] = {
      {"--version"},
      {"help", "fmt"},
      {"migrate", "--version"},
      {"migrate", "--from", machine_.HostPath("C:\\Work\\old"), "--to",
       machine_.HostPath("C:\\Work\\new"), "--dry-run"},
      {"fmt", "check", format},
      {"fmt", "layout", format, "--json"},
      {"fmt", "header", format},
      {"fmt", "dump", format, "--block", "CController", "--data", data},
      {"fmt", "diff", format, format},
      {"dat", "list", dat},
      {"dat", "verify", dat},
      {"dat", "dump", dat, "--fmt", format},
      {"pkg", "verify", package},
  };
  for (const bool fullDisk : {true, false}) {
    for (const CommandArguments& command : commands) {
      const VextoolOutcome outcome = RunWithBrokenOutput(command, fullDisk);
      const std::string name = command[0] + (command.size() > 1 ? " " + command[1] : "");
      EXPECT_NE(outcome.status, 0) << name << (fullDisk ? " to a full disk" : " to a closed pipe");
      EXPECT_NE(outcome.err.find(fullDisk ? "vextool: cannot write standard output: No space"
                                          : "vextool: cannot write standard output: Broken pipe"),
                std::string::npos)
          << name << ": " << outcome.err;
    }
  }
}

// A link to an input is the input; the package runs as the setup program does.
TEST_F(ToolOutputTest, PackageBuildRefusesALinkToAnInputAndWritesAProgram) {
  const std::string setup = Stage("setup", "MZ setup program image");
  const std::string payload = Stage("payload", "the installer");
  ASSERT_EQ(chmod(setup.c_str(), 0755), 0);
  const std::string link = machine_.HostPath("C:\\Work\\link");
  ASSERT_EQ(symlink(setup.c_str(), link.c_str()), 0);
  const VextoolOutcome refused =
      RunVextoolCaptured({"pkg", "build", "--setup", setup, "--payload", payload, "-o", link});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("is the input '" + setup + "'"), std::string::npos) << refused.err;
  EXPECT_EQ(machine_.ReadFile("C:\\Work\\setup"), "MZ setup program image");

  const std::string package = machine_.HostPath("C:\\Work\\package");
  ASSERT_EQ(
      RunVextoolCaptured({"pkg", "build", "--setup", setup, "--payload", payload, "-o", package})
          .status,
      0);
  struct stat status;
  ASSERT_EQ(stat(package.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0755u);
}

// A report names the file as the host does: its real letter case, '/' and UTF-8 as it is.
TEST_F(ToolOutputTest, DiffJsonNamesTheHostFile) {
  const std::string format = "field CController { int a; };\n";
  const std::string host = Stage("F\xC3\xA4rbung.fmt", format);
  const VextoolOutcome outcome =
      RunVextoolCaptured({"fmt", "diff", "c:\\WORK\\f\xC3\xA4rbung.fmt", host, "--json"});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out.rfind("{\"old\":\"" + host + "\",\"new\":\"" + host + "\",", 0), 0u)
      << outcome.out;
}

// Without SETUP_ROOT (or with a machine that lacks the drive) a Windows path names no file.
TEST_F(ToolOutputTest, APathOnADriveThatIsNotHereIsNoted) {
  const VextoolOutcome outcome = RunVextoolCaptured({"fmt", "check", "Q:\\vexorand.fmt"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("there is no drive Q: here"), std::string::npos) << outcome.err;
}

}  // namespace
