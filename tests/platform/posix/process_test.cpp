#include "platform/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <set>

#include "platform/file_system.h"
#include "tests/support/posix/scoped_environment.h"
#include "tests/support/staged_machine.h"

namespace {

TEST(ProcessTest, StartsAPayloadThatSeesTheSameMachine) {
  StagedMachine machine;
  // Written without execute permission, as a payload extracted from a package is.
  machine.WriteFile("C:\\Temp\\payload.exe",
                    "#!/bin/sh\necho done > \"$SETUP_ROOT/c/Temp/marker.txt\"\n");

  platform::ProcessHandles handles;
  ASSERT_TRUE(platform::StartProcess("c:\\temp\\PAYLOAD.EXE", &handles));
  EXPECT_EQ(platform::WaitForProcess(handles, 10000), platform::WaitResult::kEnded);
  // An ended process can be waited for again until its handles are closed.
  EXPECT_EQ(platform::WaitForProcess(handles, 0), platform::WaitResult::kEnded);
  platform::CloseProcessHandles(&handles);
  EXPECT_EQ(handles.process, 0);
  EXPECT_EQ(machine.ReadFile("C:\\Temp\\marker.txt"), "done\n");
}

TEST(ProcessTest, WaitTimesOutWhileTheProcessRuns) {
  StagedMachine machine;
  // It runs until the test lets it go, however slow the machine is.
  machine.WriteFile("C:\\hold", "");
  machine.WriteFile("C:\\slow.exe",
                    "#!/bin/sh\nwhile [ -e \"$SETUP_ROOT/c/hold\" ]; do sleep 0.01; done\n");
  platform::ProcessHandles handles;
  ASSERT_TRUE(platform::StartProcess("C:\\slow.exe", &handles));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(platform::WaitForProcess(handles, 100), platform::WaitResult::kTimedOut);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
  ASSERT_TRUE(platform::RemoveFile("C:\\hold"));
  EXPECT_EQ(platform::WaitForProcess(handles, 0xFFFFFFFF), platform::WaitResult::kEnded);
  platform::CloseProcessHandles(&handles);
}

// Every line is out by the time the handles are closed, though a process the child left behind
// still holds its output open.
TEST(ProcessTest, ForwardedOutputIsCompleteWhenTheHandlesClose) {
  StagedMachine machine;
  machine.WriteFile("C:\\hold", "");
  machine.WriteFile("C:\\talk.exe",
                    "#!/bin/sh\n"
                    "(while [ -e \"$SETUP_ROOT/c/hold\" ]; do sleep 0.01; done) &\n"
                    "i=0; while [ $i -lt 2000 ]; do echo \"line $i\"; i=$((i+1)); done\n"
                    "printf 'no line break'\n");
  const ScopedEnvironment prefix("SETUP_PAYLOAD_OUTPUT_PREFIX", "payload| ");
  const std::string captured = machine.HostPath("C:\\captured.txt");
  std::fflush(stdout);
  const int standardOutput = dup(STDOUT_FILENO);
  const int capture = open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  ASSERT_GE(capture, 0);
  dup2(capture, STDOUT_FILENO);
  close(capture);
  platform::ProcessHandles handles;
  const bool started = platform::StartProcess("C:\\talk.exe", &handles);
  const platform::WaitResult waited = platform::WaitForProcess(handles, 0xFFFFFFFF);
  platform::CloseProcessHandles(&handles);
  const std::string output = machine.ReadFile("C:\\captured.txt");
  dup2(standardOutput, STDOUT_FILENO);
  close(standardOutput);
  ASSERT_TRUE(platform::RemoveFile("C:\\hold"));

  ASSERT_TRUE(started);
  EXPECT_EQ(waited, platform::WaitResult::kEnded);
  std::string expected;
  for (int i = 0; i < 2000; ++i) expected += "payload| line " + std::to_string(i) + "\n";
  EXPECT_EQ(output, expected + "payload| no line break\n");
}

TEST(ProcessTest, RefusesWhatCannotRun) {
  StagedMachine machine;
  platform::ProcessHandles handles;
  EXPECT_FALSE(platform::StartProcess("C:\\missing.exe", &handles));
  EXPECT_EQ(handles.process, 0);
  machine.WriteFile("C:\\garbage.exe", "\x01\x02 not a program");
  EXPECT_FALSE(platform::StartProcess("C:\\garbage.exe", &handles));
  EXPECT_EQ(platform::WaitForProcess(handles, 0), platform::WaitResult::kFailed);
}

TEST(ProcessTest, TempFileNamesAreNewEmptyAndUnique) {
  StagedMachine machine;
  machine.MakeFolder("C:\\Temp");
  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) {
    const std::string name = platform::CreateTempFileName("C:\\Temp\\", "sepxyz");
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.compare(0, 11, "C:\\Temp\\sep"), 0) << name;
    EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
    EXPECT_TRUE(machine.Exists(name));
    EXPECT_EQ(machine.ReadFile(name), "");
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 20u);
  EXPECT_EQ(platform::CreateTempFileName("C:\\NoSuchFolder", "sep"), "");
}

TEST(ProcessTest, ExecutablePathWorksWithTheLayer) {
  const std::string path = platform::GetExecutablePath();
  EXPECT_TRUE(platform::PathExists(path)) << path;
  StagedMachine machine;
  EXPECT_TRUE(platform::PathExists(platform::GetExecutablePath()));
}

}  // namespace
