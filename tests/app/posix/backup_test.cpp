// Backup, clearing and package copy on a staged machine whose maker folder holds setup.cfg and
// the installation folder Control.
#include "app/backup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "app/backup_check.h"
#include "app/compact_flash.h"
#include "base/messages.h"
#include "base/setup_run.h"
#include "migration/setup_config.h"
#include "platform/file_system.h"
#include "platform/posix/fault_injection.h"
#include "platform/setup_api.h"
#include "platform/text_encoding.h"
#include "tests/support/log_capture.h"
#include "tests/support/scripted_host.h"
#include "tests/support/staged_files.h"
#include "tests/support/staged_machine.h"

namespace {

using Trace = std::vector<std::string>;

constexpr const char* kMaker = "C:\\Program Files\\Pelmo\\";
constexpr const char* kSettings = "C:\\Program Files\\Pelmo\\Control\\Config\\Config.ini";

class BackupTest : public ::testing::Test {
 protected:
  BackupTest() {
    machine_.AddDrive('D');
    machine_.AddDrive('E');
    machine_.WriteFile(std::string(kMaker) + "Control\\Control.exe", "the control program");
    machine_.WriteFile(std::string(kMaker) + "Control\\Config\\A\\vexorand.dat", "parameters");
    EXPECT_TRUE(ReadInstallationLayout(host_));
  }

  // setup.cfg, read as the update reads it.
  void WriteSetupConfig(const std::string& backupPath) {
    machine_.WriteFile(std::string(kMaker) + "setup.cfg",
                       "[SETTINGS]\r\nPATH=Control\\\r\nBACKUPPATH=" + backupPath + "\r\n");
    EXPECT_TRUE(ReadInstallationLayout(host_));
  }

  void NameGeneratedFiles(const std::string& base, const std::string& folder) const {
    machine_.WriteFile(kSettings, "[ActiveConfig]\r\nActiveGenerateBaseDir=" + base +
                                      "\r\nActiveGeneratePath=" + folder + "\r\n");
  }

  std::vector<std::string> Entries(const std::string& pattern) const {
    return ListStagedNames(pattern);
  }

  // Every file and folder of the staged machine, to see that nothing was added anywhere.
  std::size_t CountHostFiles() const {
    std::size_t count = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(machine_.root());
         it != std::filesystem::recursive_directory_iterator(); ++it) {
      ++count;
    }
    return count;
  }

  // The host path without a trailing slash.
  std::string HostFolderPath(const std::string& windowsPath) const {
    std::string host = machine_.HostPath(windowsPath);
    while (host.size() > 1 && host.back() == '/') host.pop_back();
    return host;
  }

  // The files and empty folders at or below the host path `path`.
  static std::vector<std::string> HostLeaves(const std::string& path) {
    namespace fs = std::filesystem;
    std::vector<std::string> leaves;
    if (!fs::exists(fs::symlink_status(path))) return leaves;
    if (!fs::is_directory(fs::symlink_status(path)) || fs::is_empty(path)) return {path};
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(path)) {
      if (!entry.is_directory() || fs::is_empty(entry.path())) {
        leaves.push_back(entry.path().string());
      }
    }
    return leaves;
  }

  // The one backup folder made in `parent`, with its trailing backslash.
  std::string OnlyBackupFolder(const std::string& parent) const {
    const std::vector<std::string> names = Entries(parent + "Pelmo *");
    EXPECT_EQ(names.size(), 1u) << parent;
    if (names.size() != 1) {
      return "";
    }
    EXPECT_TRUE(std::regex_match(names[0], std::regex("Pelmo \\d{4}-\\d\\d-\\d\\d \\d{6}")))
        << names[0];
    return parent + names[0] + "\\";
  }

  StagedMachine machine_;
  ScriptedHost host_;
  int warnings_ = 0;
};

}  // namespace

TEST_F(BackupTest, CopiesTheMakerFolderIntoATimeStampedFolder) {
  WriteSetupConfig("D:\\Backups\\Setup\\");
  machine_.WriteFile("D:\\VexFiles\\Wizards\\Lathe.wiz", "a wizard");
  const BackupOutcome outcome = BackUpInstallation(host_, &warnings_);

  const std::string backup = OnlyBackupFolder("D:\\Backups\\Setup\\");
  EXPECT_EQ(outcome.status, BackupOutcome::Status::kMade);
  EXPECT_EQ(outcome.folder, backup);
  EXPECT_EQ(machine_.ReadFile(backup + "Control\\Control.exe"), "the control program");
  // The clearing deletes the wizards folder too, so the backup holds it.
  EXPECT_EQ(machine_.ReadFile(backup + "VexFiles\\Wizards\\Lathe.wiz"), "a wizard");
  EXPECT_EQ(machine_.ReadFile(backup + "Control\\Config\\A\\vexorand.dat"), "parameters");
  EXPECT_TRUE(machine_.Exists(backup + "setup.cfg"));
  EXPECT_EQ(host_.Trace(), (Trace{"stop", "start"}));
  EXPECT_TRUE(machine_.Exists(std::string(kMaker) + "Control\\Control.exe"));
}

TEST_F(BackupTest, GeneratedFilesGoIntoTheBackedUpInstallationFolder) {
  WriteSetupConfig("D:\\Bak\\");
  NameGeneratedFiles("E:", "Generated");
  machine_.WriteFile("E:\\Generated\\Config\\B\\vexorand.dat", "generated parameters");
  BackUpInstallation(host_, &warnings_);

  const std::string backup = OnlyBackupFolder("D:\\Bak\\");
  EXPECT_EQ(machine_.ReadFile(backup + "Control\\Config\\B\\vexorand.dat"), "generated parameters");
  EXPECT_EQ(machine_.ReadFile(backup + "Control\\Config\\A\\vexorand.dat"), "parameters");
  EXPECT_TRUE(host_.Messages().empty());
}

// Backup and clearing share the run's count: the lookup's own warning comes once.
TEST_F(BackupTest, MissingGeneratedFilesAreReportedAndTheRestIsStillBackedUp) {
  WriteSetupConfig("D:\\Bak\\");
  NameGeneratedFiles("E:", "Nowhere");
  BackUpInstallation(host_, &warnings_);

  ASSERT_EQ(host_.Messages().size(), 1u);
  EXPECT_EQ(host_.Messages()[0].text, host_.Localise(kGeneratedFilesMissing));
  EXPECT_EQ(host_.Messages()[0].style, 0u);
  EXPECT_EQ(host_.Trace(), (Trace{"stop", "message 0x0", "start"}));
  EXPECT_EQ(machine_.ReadFile(OnlyBackupFolder("D:\\Bak\\") + "Control\\Control.exe"),
            "the control program");

  ClearInstallation(host_, &warnings_);
  EXPECT_EQ(host_.Messages().size(), 1u);
  EXPECT_FALSE(machine_.Exists(kMaker));
}

// A backup that was asked for and not made must stop the update: the clearing would otherwise
// delete the only copy. Each case names the folder and says why.
TEST_F(BackupTest, ABackupThatCannotBeMadeFailsAndNamesItsFolder) {
  struct Case {
    const char* backupPath;
    const char* reason;  // nullptr: the system's error text
  };
  const Case cases[] = {
      {"D:\\Blocked\\", nullptr},  // a file where the folder should be
      {"C:\\Program Files\\Pelmo\\Backup\\", kBackupInsideClearedFolders.chinese},
      {"C:\\PROGRAM FILES\\pelmo\\", kBackupInsideClearedFolders.chinese},
      {"D:\\VexFiles\\Wizards\\Old\\", kBackupInsideClearedFolders.chinese},
      {"E:\\Generated\\Bak\\", kBackupInsideClearedFolders.chinese},
  };
  machine_.WriteFile("D:\\Blocked", "a file");
  machine_.MakeFolder("D:\\VexFiles\\Wizards");
  NameGeneratedFiles("E:", "Generated");
  machine_.MakeFolder("E:\\Generated");
  for (const Case& test : cases) {
    WriteSetupConfig(test.backupPath);
    const bool existed = machine_.Exists(test.backupPath);
    const BackupOutcome outcome = BackUpInstallation(host_, &warnings_);
    EXPECT_EQ(outcome.status, BackupOutcome::Status::kFailed) << test.backupPath;
    EXPECT_EQ(outcome.folder.rfind(std::string(test.backupPath) + "Pelmo ", 0), 0u)
        << outcome.folder;
    if (test.reason != nullptr) {
      EXPECT_EQ(outcome.reason, test.reason) << test.backupPath;
      EXPECT_EQ(machine_.Exists(test.backupPath), existed) << "made before refusing";
    } else {
      EXPECT_FALSE(outcome.reason.empty());
    }
  }
  EXPECT_TRUE(machine_.Exists(std::string(kMaker) + "Control\\Control.exe"));
}

#ifdef SETUP_FAULT_INJECTION
// Every file operation of the backup (copy, manifest, flush, the check's reads) matters: the disk
// failing at any one of them fails the backup, which then names the system's reason, unless the
// backup's own check finds it whole. setup.cfg was read into the run's layout before.
TEST_F(BackupTest, AFaultAtAnyOperationFailsTheBackup) {
  machine_.WriteFile("D:\\VexFiles\\Wizards\\Lathe.wiz", "a wizard");
  WriteSetupConfig("D:\\Count\\");
  ASSERT_EQ(BackUpInstallation(host_, &warnings_).status, BackupOutcome::Status::kMade);
  WriteSetupConfig("D:\\Counted\\");
  platform::DisarmFaults();
  ASSERT_EQ(BackUpInstallation(host_, &warnings_).status, BackupOutcome::Status::kMade);
  const unsigned long operations = platform::CountedFileOperations();
  for (unsigned long failing = 1; failing <= operations; ++failing) {
    WriteSetupConfig("D:\\Bak" + std::to_string(failing) + "\\");
    platform::DisarmFaults();
    platform::ArmFault(failing, ENOSPC);
    const BackupOutcome outcome = BackUpInstallation(host_, &warnings_);
    platform::DisarmFaults();
    // A query the backup asks again may be answered the second time; a backup made is one its
    // own check found whole.
    if (outcome.status == BackupOutcome::Status::kMade) continue;
    EXPECT_EQ(outcome.status, BackupOutcome::Status::kFailed) << "operation " << failing;
    EXPECT_THAT(outcome.reason,
                testing::EndsWith(platform::SystemTextToUtf8(platform::SystemErrorText(112))))
        << "operation " << failing;
  }
  EXPECT_TRUE(machine_.Exists(std::string(kMaker) + "Control\\Control.exe"));
}

// Whichever call of the clearing fails, what stays of the old installation is named: a folder or
// shortcut the disk could not look at counts as left, never as gone.
TEST_F(BackupTest, AFaultAtAnyOperationOfTheClearingLeavesNothingUnnamed) {
  WriteSetupConfig("D:\\Bak\\");
  const std::vector<std::string> cleared = {
      kMaker, "D:\\VexFiles\\Wizards", "C:\\Users\\Operator\\Desktop\\Vexorand.lnk",
      "C:\\Users\\Operator\\Start Menu\\Programs\\Vexo rand.lnk"};
  const auto stage = [this, &cleared] {
    machine_.WriteFile(std::string(kMaker) + "Control\\Control.exe", "the control program");
    machine_.WriteFile("D:\\VexFiles\\Wizards\\Lathe.wiz", "a wizard");
    machine_.WriteFile(cleared[2], "shortcut");
    machine_.WriteFile(cleared[3], "shortcut");
  };
  stage();
  platform::DisarmFaults();
  ASSERT_TRUE(ClearInstallation(host_, &warnings_).empty());
  const unsigned long operations = platform::CountedFileOperations();
  for (unsigned long failing = 1; failing <= operations; ++failing) {
    stage();
    platform::DisarmFaults();
    platform::ArmFault(failing, EIO);
    const std::vector<std::string> left = ClearInstallation(host_, &warnings_);
    platform::DisarmFaults();
    // A path left, or a shortcut's bare name when its folder could not be found.
    const auto named = [this, &left](const std::string& stayed) {
      return std::any_of(left.begin(), left.end(), [&](const std::string& path) {
        if (path.find('\\') == std::string::npos) {
          return stayed.size() > path.size() && stayed.compare(stayed.size() - path.size() - 1,
                                                               std::string::npos, "/" + path) == 0;
        }
        const std::string host = HostFolderPath(path);
        return stayed == host || stayed.rfind(host + "/", 0) == 0;
      });
    };
    for (const std::string& root : cleared) {
      for (const std::string& stayed : HostLeaves(HostFolderPath(root))) {
        EXPECT_TRUE(named(stayed)) << "operation " << failing << " left " << stayed << " unnamed";
      }
    }
  }
}
#endif

TEST_F(BackupTest, BackupPathWithoutBackslashIsGluedToTheName) {
  WriteSetupConfig("D:\\Bak");
  BackUpInstallation(host_, &warnings_);
  const std::vector<std::string> names = Entries("D:\\BakPelmo *");
  ASSERT_EQ(names.size(), 1u);
  EXPECT_TRUE(machine_.Exists("D:\\" + names[0] + "\\Control\\Control.exe"));
}

TEST_F(BackupTest, NothingIsBackedUpWithoutABackupPath) {
  WriteSetupConfig("");
  BackUpInstallation(host_, &warnings_);
  EXPECT_TRUE(host_.Trace().empty());
  EXPECT_TRUE(Entries("D:\\*").empty());
}

// The card only receives the package copy; the backup itself would not fit.
TEST_F(BackupTest, CompactFlashCardGetsThePackageButNoBackup) {
  WriteSetupConfig("CFCard:\\Backup\\");
  machine_.AddDrive('F', "removable");
  machine_.WriteFile("F:\\cfinfo.sys", "");
  machine_.WriteFile("C:\\Update\\Setup.exe", "the package");
  host_.Run().packageFile = "C:\\Update\\Setup.exe";

  BackUpInstallation(host_, &warnings_);
  KeepPackage(host_);
  EXPECT_TRUE(host_.Trace().empty());
  EXPECT_TRUE(Entries("F:\\Backup\\Pelmo *").empty());
  EXPECT_EQ(machine_.ReadFile("F:\\Backup\\Setup.exe"), "the package");
}

TEST_F(BackupTest, WithoutACardThereIsNoBackupAndNoPackageCopy) {
  WriteSetupConfig("CFCard:\\Backup\\");
  machine_.WriteFile("C:\\Update\\Setup.exe", "the package");
  host_.Run().packageFile = "C:\\Update\\Setup.exe";

  const std::size_t files = CountHostFiles();
  BackUpInstallation(host_, &warnings_);
  KeepPackage(host_);
  EXPECT_TRUE(host_.Trace().empty());
  EXPECT_EQ(CountHostFiles(), files);
}

TEST_F(BackupTest, PackageCopyReplacesTheEarlierOne) {
  WriteSetupConfig("D:\\Packages\\");
  machine_.WriteFile("C:\\Update\\Setup.exe", "the new package");
  machine_.WriteFile("D:\\Packages\\Setup.exe", "the old package");
  host_.Run().packageFile = "C:\\Update\\Setup.exe";
  KeepPackage(host_);
  EXPECT_EQ(machine_.ReadFile("D:\\Packages\\Setup.exe"), "the new package");

  WriteSetupConfig("D:\\New\\Folder\\");
  KeepPackage(host_);
  EXPECT_EQ(machine_.ReadFile("D:\\New\\Folder\\Setup.exe"), "the new package");
}

TEST_F(BackupTest, ClearingRemovesInstallationGeneratedFilesWizardsAndShortcuts) {
  WriteSetupConfig("D:\\Bak\\");
  NameGeneratedFiles("E:", "Generated");
  machine_.WriteFile("E:\\Generated\\Config\\B\\vexorand.dat", "generated parameters");
  const std::string readOnly = std::string(kMaker) + "Control\\read-only.txt";
  machine_.WriteFile(readOnly, "kept by nobody");
  platform::SetAttributes(readOnly, platform::kAttributeReadOnly);
  machine_.MakeFolder("D:\\VexFiles\\Wizards");
  const std::vector<std::string> shortcutFolders = {"C:\\Users\\Operator\\Desktop\\",
                                                    "C:\\Users\\Operator\\Start Menu\\Programs\\"};
  for (const std::string& folder : shortcutFolders) {
    machine_.WriteFile(folder + "Vexo rand.lnk", "shortcut");
    machine_.WriteFile(folder + "Vexorand.lnk", "shortcut");
    machine_.WriteFile(folder + "Other.lnk", "someone else's shortcut");
  }

  ClearInstallation(host_, &warnings_);

  EXPECT_FALSE(machine_.Exists(kMaker));
  EXPECT_FALSE(machine_.Exists("E:\\Generated"));
  EXPECT_FALSE(machine_.Exists("D:\\VexFiles\\Wizards"));
  EXPECT_TRUE(machine_.Exists("D:\\VexFiles"));
  for (const std::string& folder : shortcutFolders) {
    EXPECT_EQ(Entries(folder + "*"), (std::vector<std::string>{"Other.lnk"})) << folder;
  }
  EXPECT_TRUE(host_.Messages().empty());

  // A second run finds nothing to delete and minds nothing missing.
  ClearInstallation(host_, &warnings_);
  EXPECT_TRUE(host_.Messages().empty());
}

// The manifest lists every folder and file of the backup with the part it came from, each file
// with its size and the MD5 of its bytes.
TEST_F(BackupTest, TheManifestListsEveryFileWithItsSizeAndDigest) {
  WriteSetupConfig("D:\\Bak\\");
  machine_.WriteFile("D:\\VexFiles\\Wizards\\Lathe.wiz", "a wizard");
  const BackupOutcome outcome = BackUpInstallation(host_, &warnings_);
  BackupManifest manifest;
  std::string error;
  ASSERT_TRUE(ReadBackupManifest(outcome.folder, &manifest, &error)) << error;

  ASSERT_EQ(manifest.parts.size(), 2u);
  EXPECT_EQ(manifest.parts[0].source, kMaker);
  EXPECT_EQ(manifest.parts[0].into, "");
  EXPECT_EQ(manifest.parts[1].source, "D:\\VexFiles\\Wizards\\");
  EXPECT_EQ(manifest.parts[1].into, "VexFiles\\Wizards\\");
  std::vector<std::string> listed;
  for (const BackupEntry& entry : manifest.entries) {
    listed.push_back(std::to_string(entry.part) + " " + entry.path +
                     (entry.folder ? "\\" : " " + std::to_string(entry.size)));
    if (!entry.folder) {
      const std::string bytes = machine_.ReadFile(outcome.folder + entry.path);
      EXPECT_EQ(entry.digest, ComputeMd5(bytes.data(), bytes.size())) << entry.path;
    }
  }
  std::sort(listed.begin(), listed.end());
  const std::string setupConfig = machine_.ReadFile(std::string(kMaker) + "setup.cfg");
  EXPECT_EQ(listed, (std::vector<std::string>{
                        "0 Control\\", "0 Control\\Config\\", "0 Control\\Config\\A\\",
                        "0 Control\\Config\\A\\vexorand.dat 10", "0 Control\\Control.exe 19",
                        "0 setup.cfg " + std::to_string(setupConfig.size()),
                        "1 VexFiles\\Wizards\\Lathe.wiz 8"}));
}

// What the installation, the backup and the manifest hold must agree before anything is
// deleted: a file a walk missed, a file cut short and a file nobody copied each show.
TEST_F(BackupTest, TheCheckFindsWhatTheBackupAndTheInstallationDoNotShare) {
  struct Case {
    const char* change;  // a file written after the backup, Windows path below the machine
    bool inBackup;       // in the backup folder rather than in the installation
    BackupDifference::Kind kind;
    const char* path;
  };
  const Case cases[] = {
      {"Control\\Missed.dll", false, BackupDifference::Kind::kMissing, "Control\\Missed.dll"},
      {"Control\\Control.exe", true, BackupDifference::Kind::kSize, "Control\\Control.exe"},
      {"Control\\Stray.txt", true, BackupDifference::Kind::kNotInManifest, "Control\\Stray.txt"},
  };
  for (const Case& test : cases) {
    WriteSetupConfig(std::string("D:\\Bak\\") + test.path + "\\");
    const BackupOutcome outcome = BackUpInstallation(host_, &warnings_);
    ASSERT_EQ(outcome.status, BackupOutcome::Status::kMade);
    const std::string changed =
        (test.inBackup ? outcome.folder : std::string(kMaker)) + test.change;
    machine_.WriteFile(changed, "changed");
    BackupManifest manifest;
    std::string error, failedPath;
    ASSERT_TRUE(ReadBackupManifest(outcome.folder, &manifest, &error)) << error;
    std::vector<BackupDifference> differences;
    ASSERT_TRUE(CompareBackupWithSources(outcome.folder, manifest, &differences, &failedPath));
    ASSERT_EQ(differences.size(), 1u) << test.change;
    EXPECT_EQ(differences[0].kind, test.kind) << test.change;
    EXPECT_EQ(differences[0].path, test.path);
    if (!test.inBackup) platform::RemoveFile(changed);
  }
}

// What will not go (here a read-only folder, as a file held open on Windows) stays alone: the
// rest of the tree goes, and the run names what stayed in the log and in one message.
TEST_F(BackupTest, ClearingGoesOnPastWhatWillNotGoAndNamesIt) {
  WriteSetupConfig("D:\\Bak\\");
  const LogCapture log{host_.Run()};
  const std::string stuck = std::string(kMaker) + "Control\\Logs";
  machine_.WriteFile(stuck + "\\helper.log", "held");
  machine_.WriteFile(std::string(kMaker) + "Control\\Zeta\\z.txt", "after it");
  ASSERT_TRUE(platform::SetAttributes(stuck, platform::kAttributeReadOnly));

  EXPECT_EQ(ClearInstallation(host_, &warnings_), std::vector<std::string>{stuck});

  EXPECT_EQ(Entries(std::string(kMaker) + "*"), std::vector<std::string>{"Control"});
  EXPECT_EQ(Entries(std::string(kMaker) + "Control\\*"), std::vector<std::string>{"Logs"});
  EXPECT_FALSE(machine_.Exists(stuck + "\\helper.log"));
  ASSERT_EQ(host_.Messages().size(), 1u);
  EXPECT_NE(host_.Messages()[0].text.find(stuck), std::string::npos) << host_.Messages()[0].text;
  EXPECT_TRUE(log.Contains("|E|The clearing could not delete " + stuck)) << log.Text();
}
