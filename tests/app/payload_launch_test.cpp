#include "app/payload_launch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/setup_run.h"
#include "platform/file_system.h"
#include "platform/special_folders.h"
#include "tests/app/test_package.h"
#include "tests/app/test_payload.h"
#include "tests/support/temp_folder.h"

namespace {

using Calls = std::vector<std::string>;

const std::string kProgram = "MZ setup program image";

class LaunchTest : public ::testing::Test {
 protected:
  void UsePackage(const std::string& bytes) {
    folder_.WriteFile("setup.exe", bytes);
    run_.packageFile = folder_.Path("setup.exe");
  }

  // The payload files in the temporary directory.
  static std::vector<std::string> PayloadFiles() {
    std::vector<platform::DirectoryEntry> entries;
    platform::ListDirectory(platform::GetTempFolder() + "sep*.tmp", &entries);
    std::vector<std::string> names;
    for (const platform::DirectoryEntry& entry : entries) {
      names.push_back(entry.name);
    }
    return names;
  }

  // Polls as the sequencer does, once per tick; the number of polls until the end, or -1.
  static int PollUntilEnded(PayloadLaunch* launch, int limit) {
    for (int polls = 1; polls <= limit; ++polls) {
      if (PollPayload(launch, 100)) {
        return polls;
      }
    }
    return -1;
  }

  SetupRun run_;
  TempFolder folder_;
  RecordingTimer timer_;
  PayloadLaunch launch_;
  std::string signature_;
};

}  // namespace

TEST_F(LaunchTest, PayloadRunsFromATemporaryFileThatGoesWhenItEnds) {
  const std::string marker = folder_.Path("marker.txt");
  UsePackage(MakePackage(kProgram, MakeTestPayload(marker, 0)));

  ASSERT_EQ(LaunchPayload(timer_, run_, &launch_, &signature_), LaunchOutcome::Started);
  EXPECT_EQ(timer_.calls, (Calls{"stop", "start"}));
  const std::string payloadFile = launch_.payloadFile;
  EXPECT_EQ(payloadFile.rfind(platform::GetTempFolder() + "sep", 0), 0u) << payloadFile;
  EXPECT_EQ(payloadFile.substr(payloadFile.size() - 4), ".tmp");
  EXPECT_TRUE(platform::PathExists(payloadFile));

  EXPECT_GT(PollUntilEnded(&launch_, 100), 0);
  EXPECT_EQ(folder_.ReadFile("marker.txt"), "ran");
  EXPECT_FALSE(platform::PathExists(payloadFile));
  EXPECT_EQ(launch_.payloadFile, "");
  EXPECT_EQ(launch_.handles.process, 0);
}

TEST_F(LaunchTest, PayloadThatRunsForAWhileIsPolledUntilItEnds) {
  UsePackage(MakePackage(kProgram, MakeTestPayload(folder_.Path("marker.txt"), 1500)));
  ASSERT_EQ(LaunchPayload(timer_, run_, &launch_, &signature_), LaunchOutcome::Started);

  EXPECT_FALSE(PollPayload(&launch_, 100));
  EXPECT_FALSE(PollPayload(&launch_, 100));
  EXPECT_TRUE(platform::PathExists(launch_.payloadFile));
  EXPECT_NE(launch_.payloadFile, "");

  EXPECT_GT(PollUntilEnded(&launch_, 200), 0);
  EXPECT_EQ(folder_.ReadFile("marker.txt"), "ran");
}

TEST_F(LaunchTest, DamagedOrMissingPackageStartsNothing) {
  std::string damaged = MakePackage(kProgram, MakeTestPayload(folder_.Path("marker.txt"), 0));
  damaged[kProgram.size() + 2] ^= 0x01;
  UsePackage(damaged);
  const std::vector<std::string> before = PayloadFiles();

  EXPECT_EQ(LaunchPayload(timer_, run_, &launch_, &signature_), LaunchOutcome::SignatureMismatch);
  EXPECT_EQ(signature_.size(), 35u);
  EXPECT_EQ(PayloadFiles(), before);

  run_.packageFile = folder_.Path("no such package.exe");
  EXPECT_EQ(LaunchPayload(timer_, run_, &launch_, &signature_), LaunchOutcome::PackageUnreadable);
  EXPECT_EQ(PayloadFiles(), before);
  EXPECT_TRUE(timer_.calls.empty());
  EXPECT_EQ(launch_.payloadFile, "");
}

TEST_F(LaunchTest, PayloadThatIsNoProgramFailsToStartAndStays) {
  UsePackage(MakePackage(kProgram, std::string(4096, '\x7F')));
  const std::vector<std::string> before = PayloadFiles();

  EXPECT_EQ(LaunchPayload(timer_, run_, &launch_, &signature_), LaunchOutcome::StartFailed);
  EXPECT_EQ(timer_.calls, (Calls{"stop", "start"}));
  std::vector<std::string> after = PayloadFiles();
  ASSERT_EQ(after.size(), before.size() + 1);
  for (const std::string& name : after) {
    if (std::find(before.begin(), before.end(), name) == before.end()) {
      EXPECT_TRUE(platform::RemoveFile(platform::GetTempFolder() + name));
    }
  }
}
