// Special folders, driver installation and system actions of the POSIX edition.
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/setup_api.h"
#include "platform/special_folders.h"
#include "platform/system_actions.h"
#include "tests/support/staged_machine.h"

namespace {

TEST(SpecialFoldersTest, AreCreatedOnRequestAndGivenInLongForm) {
  StagedMachine machine;
  EXPECT_EQ(platform::GetSpecialFolder(platform::SpecialFolder::kDesktop, false), "");
  EXPECT_EQ(platform::GetSpecialFolder(platform::SpecialFolder::kPrograms, true),
            "C:\\Users\\Operator\\Start Menu\\Programs");
  EXPECT_TRUE(machine.Exists("C:\\Users\\Operator\\Start Menu\\Programs"));
  machine.MakeFolder("C:\\program files");
  EXPECT_EQ(platform::GetSpecialFolder(platform::SpecialFolder::kProgramFiles, true),
            "C:\\program files");
  EXPECT_EQ(platform::GetShortPathForm("C:\\Program Files"), "C:\\PROGRA~1");
  EXPECT_EQ(platform::GetTempFolder(), "C:\\Temp\\");
  EXPECT_TRUE(platform::IsDirectory("C:\\Temp"));
}

TEST(SetupApiTest, InstallsFilesAndRegistersInformationFilesOnce) {
  StagedMachine machine;
  machine.WriteFile("C:\\Pkg\\card.sys", "driver");
  machine.WriteFile("C:\\Pkg\\card.inf", "inf one");
  machine.WriteFile("C:\\Pkg\\other.inf", "inf two");
  machine.MakeFolder("C:\\Windows\\System32\\drivers");

  EXPECT_TRUE(platform::InstallFile("C:\\Pkg\\card.sys", "C:\\Windows\\System32\\drivers\\"));
  EXPECT_EQ(machine.ReadFile("C:\\Windows\\System32\\drivers\\card.sys"), "driver");
  EXPECT_TRUE(platform::InstallFile("C:\\Pkg\\card.sys", "C:\\Windows\\System32\\drivers\\x.sys"));
  EXPECT_EQ(machine.ReadFile("C:\\Windows\\System32\\drivers\\x.sys"), "driver");
  EXPECT_FALSE(platform::InstallFile("C:\\Pkg\\none.sys", "C:\\Windows\\System32\\drivers\\"));

  EXPECT_TRUE(platform::RegisterInformationFile("C:\\Pkg\\card.inf"));
  EXPECT_TRUE(platform::RegisterInformationFile("C:\\Pkg\\other.inf"));
  EXPECT_TRUE(platform::RegisterInformationFile("C:\\Pkg\\card.inf"));
  EXPECT_EQ(machine.ReadFile("C:\\Windows\\INF\\oem0.inf"), "inf one");
  EXPECT_EQ(machine.ReadFile("C:\\Windows\\INF\\oem1.inf"), "inf two");
  EXPECT_FALSE(machine.Exists("C:\\Windows\\INF\\oem2.inf"));
  EXPECT_FALSE(platform::RegisterInformationFile("C:\\Pkg\\none.inf"));
  EXPECT_EQ(platform::SystemErrorText(platform::LastErrorCode()),
            "The system cannot find the file specified.");
}

TEST(SystemActionsTest, PowerOffRunsOnlyAConfiguredCommand) {
  StagedMachine machine;
  std::uint32_t id = 0;
  ASSERT_TRUE(platform::QueryPlatformId(&id));
  EXPECT_EQ(id, 2u);

  unsetenv("SETUP_POWER_OFF_COMMAND");
  platform::EnableShutdownPrivilege();
  platform::RequestSystemExit(8);  // nothing configured: nothing happens

  const std::string marker = machine.root() + "/c/off.txt";
  const std::string command = "echo \"$1\" > '" + marker + "'";
  setenv("SETUP_POWER_OFF_COMMAND", command.c_str(), 1);
  platform::RequestSystemExit(8);
  unsetenv("SETUP_POWER_OFF_COMMAND");
  EXPECT_EQ(machine.ReadFile("C:\\off.txt"), "8\n");
}

}  // namespace
