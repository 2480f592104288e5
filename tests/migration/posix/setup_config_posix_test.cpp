#include <gtest/gtest.h>

#include "base/installation_paths.h"
#include "base/language_folder.h"
#include "base/setup_log.h"
#include "migration/setup_config.h"
#include "tests/support/message_recorder.h"
#include "tests/support/scoped_log_directory.h"
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

  StagedMachine machine_;
  MessageRecorder messages_;
  ScopedLogDirectory log_;  // the migration folder's preparation moves the log
};

TEST_F(SetupConfigTest, MakerFolderAndSpecialFoldersAreShortForms) {
  EXPECT_EQ(GetMakerFolder(), "C:\\PROGRA~1\\Pelmo\\");
  EXPECT_EQ(GetDesktopFolder().back(), '\\');
  EXPECT_EQ(GetProgramsFolder().back(), '\\');
  EXPECT_EQ(GetProgramsFolder().find(' '), std::string::npos);
}

TEST_F(SetupConfigTest, SetupValuesComeFromTheMakerFolder) {
  EXPECT_EQ(ReadSetupValue("PATH"), "");
  EXPECT_EQ(GetInstallationFolder(), GetMakerFolder());
  Install("Control\\", "Control", "5.3");
  EXPECT_EQ(ReadSetupValue("path"), "Control\\");
  EXPECT_EQ(ReadSetupValue("BACKUPPATH"), "CFCard:\\Backup\\");
  EXPECT_EQ(GetInstallationFolder(), "C:\\PROGRA~1\\Pelmo\\Control\\");
}

TEST_F(SetupConfigTest, VersionKeyOfTheInstalledProgram) {
  Install("  \\Control\\ ", "control", " 5.3.12");
  const VersionKey key = ComputeVersionKey();
  EXPECT_EQ(key.installationKey, "CONTROL");
  EXPECT_EQ(key.majorVersion, "5");

  // A PATH without its backslash runs into "config" elsewhere, but not in the key.
  Install("Control", "Control", "v6.1");
  EXPECT_EQ(ComputeVersionKey().majorVersion, "V6");
}

TEST_F(SetupConfigTest, CompatibilityNeedsAFullAndEqualKey) {
  MigrationContext context;
  context.savedInstallationKey = "CONTROL";
  context.savedMajorVersion = "5";
  Install("control\\", "Control", "5.4.0");
  EXPECT_TRUE(IsVersionCompatible(context));
  Install("Control\\", "Control", "6.0");
  EXPECT_FALSE(IsVersionCompatible(context));
  Install("Other\\", "Other", "5.4");
  EXPECT_FALSE(IsVersionCompatible(context));
  Install("Control\\", "Control", ".4");
  EXPECT_FALSE(IsVersionCompatible(context));

  // An empty key never matches, not even an empty saved one.
  MigrationContext empty;
  machine_.WriteFile(kSetupCfg, "");
  EXPECT_FALSE(IsVersionCompatible(empty));
}

TEST_F(SetupConfigTest, PrepareSetsTheMigrationFolderAndTheLogDirectory) {
  MigrationContext context;
  EXPECT_FALSE(PrepareMigrationFolder(messages_, &context));
  EXPECT_EQ(context.migrationFolder, "C:\\Temp\\Vexroand");
  EXPECT_EQ(GetLogDirectory(), "C:\\Temp\\");
  EXPECT_FALSE(machine_.Exists("C:\\Temp\\Vexroand"));
  EXPECT_TRUE(messages_.messages().empty());

  Install("Control\\", "Control", "5.3");
  machine_.WriteFile("C:\\Program Files\\Pelmo\\Control\\Lang\\Lang.ini",
                     "[ActiveLang]\r\nActiveLang=rus\r\n");
  machine_.MakeFolder("C:\\Program Files\\Pelmo\\Control\\Lang\\rus");
  EXPECT_TRUE(PrepareMigrationFolder(messages_, &context));
  EXPECT_EQ(GetLanguageFolder(), "C:\\PROGRA~1\\Pelmo\\Control\\Lang\\rus\\");
  EXPECT_TRUE(messages_.messages().empty());
}

}  // namespace
