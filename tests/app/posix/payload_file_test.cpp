#include "platform/payload_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "app/payload_launch.h"
#include "base/setup_run.h"
#include "platform/file_system.h"
#include "platform/posix/volume_map.h"
#include "platform/process.h"
#include "tests/app/test_package.h"
#include "tests/app/test_payload.h"
#include "tests/support/staged_machine.h"
#include "tests/support/temp_folder.h"

namespace {

void WriteAndSeal(platform::PayloadFile* file, const std::string& folder,
                  const std::string& bytes) {
  ASSERT_TRUE(file->Create(folder, "sep"));
  ASSERT_TRUE(file->Write(bytes.data(), bytes.size()));
  ASSERT_TRUE(file->Seal());
}

}  // namespace

TEST(PayloadFileTest, IsANewFileOnlyItsOwnerMayRun) {
  TempFolder folder;
  platform::PayloadFile first, second;
  WriteAndSeal(&first, folder.path(), "#!/bin/sh\n");
  WriteAndSeal(&second, folder.path(), "#!/bin/sh\n");
  EXPECT_NE(first.Path(), second.Path());

  struct stat status;
  ASSERT_EQ(stat(platform::ToHostPath(first.Path()).c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0700u);

  char content[16] = {};
  EXPECT_EQ(first.Read(content, sizeof content), 10u);
  EXPECT_STREQ(content, "#!/bin/sh\n");
}

// Whatever is put under the file's name after it was sealed, the program written is what runs.
TEST(PayloadFileTest, StartsWhatWasWrittenEvenWhenTheNameIsReplaced) {
  TempFolder folder;
  platform::PayloadFile file;
  WriteAndSeal(&file, folder.path(), MakeTestPayload(folder.Path("written.txt"), 0));

  const std::string intruder = platform::ToHostPath(folder.Path("intruder"));
  folder.WriteFile("intruder", MakeTestPayload(folder.Path("replaced.txt"), 0));
  chmod(intruder.c_str(), 0700);
  ASSERT_EQ(std::rename(intruder.c_str(), platform::ToHostPath(file.Path()).c_str()), 0);

  platform::ProcessHandles handles;
  ASSERT_TRUE(file.Start(&handles));
  EXPECT_EQ(platform::WaitForProcess(handles, 10000), platform::WaitResult::kEnded);
  platform::CloseProcessHandles(&handles);
  EXPECT_EQ(folder.ReadFile("written.txt"), "ran");
  EXPECT_FALSE(platform::PathExists(folder.Path("replaced.txt")));
}

TEST(PayloadFileTest, UnusableTemporaryDirectoryFailsTheLaunch) {
  StagedMachine machine;
  machine.WriteFile("C:\\Temp", "a file where the folder should be");
  machine.WriteFile("C:\\setup.exe", MakePackage("MZ", "#!/bin/sh\n"));
  SetupRun run;
  run.packageFile = "C:\\setup.exe";
  RecordingTimer timer;
  PayloadLaunch launch;
  std::string signature;
  EXPECT_EQ(LaunchPayload(timer, run, &launch, &signature), LaunchOutcome::TempFileFailed);
  EXPECT_TRUE(timer.calls.empty());
}
