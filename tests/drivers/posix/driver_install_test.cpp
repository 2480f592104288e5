// Driver installation on a staged machine: the system folder is C:\Windows\System32, the
// Windows folder C:\Windows; the staged system reports the NT family.
#include "drivers/driver_install.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "base/messages.h"
#include "base/text_format.h"
#include "platform/file_system.h"
#include "platform/posix/fault_injection.h"
#include "platform/setup_api.h"
#include "platform/text_encoding.h"
#include "tests/support/message_recorder.h"
#include "tests/support/staged_files.h"
#include "tests/support/staged_machine.h"

namespace {

constexpr const char* kSource = "C:\\Program Files\\Pelmo\\Control\\";
constexpr const char* kDrivers = "C:\\Windows\\System32\\drivers\\";
constexpr const char* kInf = "C:\\Windows\\INF\\";

class DriverInstallTest : public ::testing::Test {
 protected:
  DriverInstallTest() {
    machine_.MakeFolder("C:\\Windows\\System32\\drivers");
    machine_.WriteFile(std::string(kSource) + "Control.exe", "not a driver");
  }

  void Stage(const std::string& name, const std::string& bytes) const {
    machine_.WriteFile(kSource + name, bytes);
  }

  std::vector<std::string> Entries(const std::string& pattern) const {
    return ListStagedNames(pattern);
  }

  StagedMachine machine_;
  MessageRecorder messages_;
};

}  // namespace

TEST_F(DriverInstallTest, DriversAreCopiedAndSetupInformationRegistered) {
  Stage("motion.sys", "motion driver");
  Stage("IO.SYS", "io driver");
  Stage("motion.inf", "[Version]\r\nmotion\r\n");
  Stage("io.inf", "[Version]\r\nio\r\n");
  machine_.WriteFile(std::string(kDrivers) + "motion.sys", "old motion driver");

  InstallDrivers(messages_, kSource);

  EXPECT_EQ(machine_.ReadFile(std::string(kDrivers) + "motion.sys"), "motion driver");
  EXPECT_EQ(machine_.ReadFile(std::string(kDrivers) + "IO.SYS"), "io driver");
  // The system names its copies itself; the file's own name never appears in the INF folder.
  EXPECT_EQ(Entries(std::string(kInf) + "*").size(), 2u);
  EXPECT_TRUE(Entries(std::string(kInf) + "motion.inf").empty());
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(DriverInstallTest, WithoutDriverFilesNothingIsInstalled) {
  Stage("motion.inf", "[Version]\r\n");
  InstallDrivers(messages_, kSource);
  EXPECT_FALSE(machine_.Exists(kInf));
  EXPECT_TRUE(Entries(std::string(kDrivers) + "*").empty());
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(DriverInstallTest, DriverFilesAloneAreCopied) {
  Stage("motion.sys", "motion driver");
  InstallDrivers(messages_, kSource);
  EXPECT_EQ(Entries(std::string(kDrivers) + "*"), (std::vector<std::string>{"motion.sys"}));
  EXPECT_FALSE(machine_.Exists(kInf));
}

// A driver that cannot be replaced is named once; everything else is still installed.
TEST_F(DriverInstallTest, DriverThatCannotBeReplacedIsReportedAndTheRestGoesOn) {
  Stage("busy.sys", "new busy driver");
  Stage("motion.sys", "motion driver");
  Stage("motion.inf", "[Version]\r\n");
  machine_.MakeFolder(std::string(kDrivers) + "busy.sys");

  InstallDrivers(messages_, kSource);

  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, "安装busy.sys失败！");
  EXPECT_EQ(messages_.messages()[0].style, 0x30u);
  EXPECT_EQ(machine_.ReadFile(std::string(kDrivers) + "motion.sys"), "motion driver");
  EXPECT_EQ(Entries(std::string(kInf) + "oem*.inf").size(), 1u);
}

TEST_F(DriverInstallTest, FailedRegistrationShowsTheSystemErrorText) {
  EXPECT_FALSE(RegisterSetupInformation(messages_, std::string(kSource) + "missing.inf"));
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, "The system cannot find the file specified.");
  EXPECT_EQ(messages_.messages()[0].style, 0x10u);
  EXPECT_TRUE(messages_.messages()[0].unowned);

  Stage("motion.inf", "[Version]\r\n");
  EXPECT_TRUE(RegisterSetupInformation(messages_, std::string(kSource) + "motion.inf"));
  EXPECT_EQ(messages_.messages().size(), 1u);
}

#ifdef SETUP_FAULT_INJECTION
// A listing of the driver files that fails is no installation without drivers: it is shown with
// its reason and counts as a file not installed. Without the drivers, nothing is registered.
TEST_F(DriverInstallTest, AListingThatFailsIsADriverNotInstalled) {
  Stage("motion.sys", "motion driver");
  Stage("motion.inf", "[Version]\r\n");
  platform::ArmFault(1, EIO, platform::FileOperation::kList);
  const std::vector<DriverResult> results = InstallDrivers(messages_, kSource);
  platform::DisarmFaults();

  const std::string pattern = std::string(kSource) + "*.sys";
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].file, pattern);
  EXPECT_FALSE(results[0].installed);
  EXPECT_TRUE(Entries(std::string(kInf) + "*").empty());
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text,
            FormatText(kDriverFilesUnreadable.chinese, pattern.c_str(),
                       platform::SystemTextToUtf8(platform::SystemErrorText(1117)).c_str()));
}
#endif
