#include <gtest/gtest.h>

#include <cerrno>

#include "base/installation_paths.h"
#include "base/language_folder.h"
#include "base/setup_run.h"
#include "migration/setup_config.h"
#include "platform/posix/fault_injection.h"
#include "tests/support/message_recorder.h"
#include "tests/support/staged_machine.h"

namespace {

const char kSetupCfg[] = "C:\\Program Files\\Pelmo\\setup.cfg";

class SetupConfigTest : public ::testing::Test {
 protected:
  void Install(const std::string& pathValue, const std::string& folder,
               const std::string& version) {
    machine_.WriteFile(kSetupCfg,
                       "[SETTINGS]\r\nPATH=" + pathValue + "\r\nBACKUPPATH=CFCard:\\Backup\\\r\n");
    machine_.WriteFile("C:\\Program Files\\Pelmo\\" + folder + "\\Config\\CONFIG.INI",
                       "[VERSION]\r\nVERSION=" + version + "\r\n");
  }

  // Reads setup.cfg as the update does, into the run's layout.
  const InstallationLayout& Read() {
    EXPECT_TRUE(ReadInstallationLayout(messages_));
    return messages_.Run().layout;
  }

  StagedMachine machine_;
  MessageRecorder messages_;
};

TEST_F(SetupConfigTest, MakerFolderAndSpecialFoldersAreShortForms) {
  std::string makerFolder;
  ASSERT_TRUE(FindMakerFolder(&makerFolder));
  EXPECT_EQ(makerFolder, "C:\\PROGRA~1\\Pelmo\\");
  EXPECT_EQ(GetDesktopFolder().back(), '\\');
  EXPECT_EQ(GetProgramsFolder().back(), '\\');
  EXPECT_EQ(GetProgramsFolder().find(' '), std::string::npos);
}

TEST_F(SetupConfigTest, TheLayoutComesFromSetupCfgOfTheMakerFolder) {
  EXPECT_EQ(Read().pathValue, "");
  EXPECT_EQ(messages_.Run().layout.installationFolder, "C:\\PROGRA~1\\Pelmo\\");
  Install("Control\\", "Control", "5.3");
  const InstallationLayout& layout = Read();
  EXPECT_EQ(layout.makerFolder, "C:\\PROGRA~1\\Pelmo\\");
  EXPECT_EQ(layout.pathValue, "Control\\");
  EXPECT_EQ(layout.backupPathValue, "CFCard:\\Backup\\");
  EXPECT_EQ(layout.installationFolder, "C:\\PROGRA~1\\Pelmo\\Control\\");
  EXPECT_EQ(layout.configurationTree, "C:\\PROGRA~1\\Pelmo\\Control\\config");
  EXPECT_EQ(layout.formatFile, "C:\\PROGRA~1\\Pelmo\\Control\\vexorand.fmt");
  // Read where the update reads it: what a new installer writes counts from the next read on.
  Install("New\\", "New", "5.4");
  EXPECT_EQ(messages_.Run().layout.pathValue, "Control\\");
  EXPECT_EQ(Read().installationFolder, "C:\\PROGRA~1\\Pelmo\\New\\");
}

TEST_F(SetupConfigTest, VersionKeyOfTheInstalledProgram) {
  Install("  \\Control\\ ", "control", " 5.3.12");
  const VersionKey key = ComputeVersionKey(messages_, Read());
  EXPECT_EQ(key.installationKey, "CONTROL");
  EXPECT_EQ(key.majorVersion, "5");

  // A PATH without its backslash runs into "config" elsewhere, but not in the key.
  Install("Control", "Control", "v6.1");
  EXPECT_EQ(ComputeVersionKey(messages_, Read()).majorVersion, "V6");
}

TEST_F(SetupConfigTest, CompatibilityNeedsAFullAndEqualKey) {
  MigrationContext context;
  context.savedInstallationKey = "CONTROL";
  context.savedMajorVersion = "5";
  Install("control\\", "Control", "5.4.0");
  EXPECT_TRUE(IsVersionCompatible(messages_, Read(), context));
  Install("Control\\", "Control", "6.0");
  EXPECT_FALSE(IsVersionCompatible(messages_, Read(), context));
  Install("Other\\", "Other", "5.4");
  EXPECT_FALSE(IsVersionCompatible(messages_, Read(), context));
  Install("Control\\", "Control", ".4");
  EXPECT_FALSE(IsVersionCompatible(messages_, Read(), context));

  // An empty key never matches, not even an empty saved one.
  MigrationContext empty;
  machine_.WriteFile(kSetupCfg, "");
  EXPECT_FALSE(IsVersionCompatible(messages_, Read(), empty));
}

TEST_F(SetupConfigTest, PrepareSetsTheMigrationFolderAndTheLanguageFolder) {
  MigrationContext context;
  Read();
  EXPECT_FALSE(PrepareMigrationFolder(messages_, &context));
  EXPECT_EQ(context.migrationFolder, "C:\\Temp\\Vexroand");
  EXPECT_FALSE(machine_.Exists("C:\\Temp\\Vexroand"));
  EXPECT_TRUE(messages_.messages().empty());

  Install("Control\\", "Control", "5.3");
  machine_.WriteFile("C:\\Program Files\\Pelmo\\Control\\Lang\\Lang.ini",
                     "[ActiveLang]\r\nActiveLang=rus\r\n");
  machine_.MakeFolder("C:\\Program Files\\Pelmo\\Control\\Lang\\rus");
  Read();
  EXPECT_TRUE(PrepareMigrationFolder(messages_, &context));
  EXPECT_EQ(messages_.Run().languageFolder, "C:\\PROGRA~1\\Pelmo\\Control\\Lang\\rus\\");
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_EQ(context.unreadablePath, "");

#ifdef SETUP_FAULT_INJECTION
  // An installation the disk cannot look at is no missing one.
  platform::ArmFaultOnName("Control", EIO, platform::FileOperation::kQuery);
  EXPECT_FALSE(PrepareMigrationFolder(messages_, &context));
  platform::DisarmFaults();
  EXPECT_EQ(context.unreadablePath, "C:\\PROGRA~1\\Pelmo\\Control\\");
#endif
}

}  // namespace
