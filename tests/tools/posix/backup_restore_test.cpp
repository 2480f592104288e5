// vextool backup verify and restore on a backup the update's own code made of a staged machine.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/backup.h"
#include "app/update_sequencer.h"
#include "base/folder_tree.h"
#include "migration/setup_config.h"
#include "tests/support/host_tree.h"
#include "tests/support/mutex_holder.h"
#include "tests/support/scripted_host.h"
#include "tests/support/staged_machine.h"
#include "tests/tools/vextool_run.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kMaker = "C:\\Program Files\\Pelmo\\";

class BackupRestoreTest : public ::testing::Test {
 protected:
  BackupRestoreTest() {
    machine_.AddDrive('D');
    machine_.WriteFile(std::string(kMaker) + "setup.cfg",
                       "[SETTINGS]\r\nPATH=Control\\\r\nBACKUPPATH=D:\\Bak\\\r\n");
    machine_.WriteFile(std::string(kMaker) + "Control\\Control.exe", "the control program");
    machine_.WriteFile(std::string(kMaker) + "Control\\Config\\A\\vexorand.dat", "parameters");
    machine_.MakeFolder(std::string(kMaker) + "Control\\Empty");
    machine_.WriteFile("D:\\VexFiles\\Wizards\\Lathe.wiz", "a wizard");
    EXPECT_TRUE(ReadInstallationLayout(host_));
    int warnings = 0;
    backup_ = BackUpInstallation(host_, &warnings).folder;
  }

  std::string Host(const std::string& windowsPath) const { return machine_.HostPath(windowsPath); }

  StagedMachine machine_;
  ScriptedHost host_;
  std::string backup_;
};

}  // namespace

TEST_F(BackupRestoreTest, VerifyNamesWhatIsMissingChangedOrAdded) {
  struct Case {
    const char* file;     // below the backup folder
    const char* content;  // nullptr: removed
    const char* named;    // what stderr says of it
  };
  const Case cases[] = {
      {"", "", ""},  // nothing changed
      {"Control\\Control.exe", nullptr, "Control\\Control.exe: missing"},
      {"Control\\Config\\A\\vexorand.dat", "PARAMETERS", "vexorand.dat: content differs"},
      {"Control\\Config\\A\\vexorand.dat", "params", "vexorand.dat: size differs"},
      {"Control\\Stray.txt", "stray", "Control\\Stray.txt: not in the manifest"},
  };
  for (const Case& test : cases) {
    const std::string path = backup_ + test.file;
    const std::string before = *test.file ? machine_.ReadFile(path) : "";
    if (*test.file && test.content == nullptr) fs::remove(Host(path));
    if (*test.file && test.content != nullptr) machine_.WriteFile(path, test.content);
    const VextoolOutcome outcome = RunVextoolCaptured({"backup", "verify", backup_});
    EXPECT_EQ(outcome.status, *test.file ? 1 : 0) << test.file << outcome.err;
    EXPECT_NE(outcome.err.find(test.named), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.out.find(*test.file ? "differ" : "match"), std::string::npos);
    if (!*test.file) continue;
    // Put the backup back as it was for the next case.
    if (before.empty()) {
      fs::remove(Host(path));
    } else {
      machine_.WriteFile(path, before);
    }
    ASSERT_EQ(RunVextoolCaptured({"backup", "verify", backup_}).status, 0) << test.file;
  }
  // Named as given, with the system's reason.
  const std::string noBackup = Host("D:\\Bak");
  const VextoolOutcome noManifest = RunVextoolCaptured({"backup", "verify", noBackup});
  EXPECT_EQ(noManifest.status, 2) << noManifest.err;
  EXPECT_NE(noManifest.err.find("'" + noBackup +
                                "': backup_manifest.txt cannot be read: The system cannot find"),
            std::string::npos)
      << noManifest.err;
}

// The old installation comes back byte for byte, and what was at its place stays aside.
TEST_F(BackupRestoreTest, RestorePutsTheInstallationBackAndKeepsWhatWasThere) {
  const auto installation = TreeOf(Host(kMaker));
  const auto wizards = TreeOf(Host("D:\\VexFiles\\Wizards"));
  ClearInstallation(host_, nullptr);
  machine_.WriteFile(std::string(kMaker) + "Control\\half-installed.dll", "new version");
  const auto found = TreeOf(Host(kMaker));

  {
    MutexHolder controlProgram(kControlProgramMutexName);
    const VextoolOutcome refused =
        RunVextoolCaptured({"restore", "--backup", backup_, "--root", machine_.root()});
    EXPECT_EQ(refused.status, 2) << refused.err;
    EXPECT_EQ(TreeOf(Host(kMaker)), found);
  }
  const auto machine = TreeOf(machine_.root());
  const VextoolOutcome dryRun =
      RunVextoolCaptured({"restore", "--backup", backup_, "--root", machine_.root(), "--dry-run"});
  EXPECT_EQ(dryRun.status, 0) << dryRun.err;
  EXPECT_NE(dryRun.out.find("C:\\Program Files\\Pelmo\\Control\\Config\\A\\vexorand.dat"),
            std::string::npos)
      << dryRun.out;
  EXPECT_EQ(TreeOf(machine_.root()), machine) << "a dry run changed the machine";

  const VextoolOutcome restored =
      RunVextoolCaptured({"restore", "--backup", backup_, "--root", machine_.root()});
  ASSERT_EQ(restored.status, 0) << restored.err;
  EXPECT_EQ(TreeOf(Host(kMaker)), installation);
  EXPECT_EQ(TreeOf(Host("D:\\VexFiles\\Wizards")), wizards);
  EXPECT_EQ(TreeOf(Host("C:\\Program Files\\Pelmo before restore")), found);
  EXPECT_NE(restored.out.find("kept as C:\\Program Files\\Pelmo before restore"), std::string::npos)
      << restored.out;
}

// A backup that no longer matches its manifest restores nothing.
TEST_F(BackupRestoreTest, RestoreRefusesABackupThatDoesNotVerify) {
  machine_.WriteFile(backup_ + "Control\\Control.exe", "THE CONTROL PROGRAM");
  const auto machine = TreeOf(machine_.root());
  const VextoolOutcome outcome =
      RunVextoolCaptured({"restore", "--backup", backup_, "--root", machine_.root()});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("content differs"), std::string::npos) << outcome.err;
  EXPECT_EQ(TreeOf(machine_.root()), machine);
}
