#include "migration/generated_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "base/messages.h"
#include "base/text_format.h"
#include "platform/file_system.h"
#include "platform/posix/fault_injection.h"
#include "platform/profile.h"
#include "tests/migration/posix/staged_installation.h"
#include "tests/support/message_recorder.h"
#include "tests/support/staged_machine.h"

namespace {

class GeneratedFilesTest : public testing::Test {
 protected:
  GeneratedFilesTest() : installation_(machine_, messages_) {
    machine_.MakeFolder("C:\\Temp");
    messages_.Run().logDirectory = "C:\\Temp\\";
    installation_.Install(kNewFormat, "5.4");
  }

  std::string Settings() const { return installation_.Folder() + "Config\\Config.ini"; }
  void Configure(const std::string& base, const std::string& folder) const {
    machine_.WriteFile(Settings(),
                       "[VERSION]\r\nVERSION=5.4\r\n[ActiveConfig]\r\n"
                       "ActiveGenerateBaseDir=" +
                           base + "\r\nActiveGeneratePath=" + folder + "\r\n");
  }
  std::string WrongDirectory(const char* base) const {
    return FormatText(messages_.Localise(kWrongGeneratedDirectory), base);
  }
  // The separation's failure message up to its reason.
  std::string SeparationFailed(const std::string& path) const {
    const std::string text = FormatText(messages_.Localise(kSeparationFailed), path.c_str(), "");
    return text.substr(0, text.find('\n'));
  }

  StagedMachine machine_;
  MessageRecorder messages_;
  StagedInstallation installation_;
};

TEST_F(GeneratedFilesTest, NothingConfiguredMeansNoDirectoryAndNoMessage) {
  std::string directory = "stale";
  EXPECT_EQ(LookUpGeneratedFiles(messages_, &directory), GeneratedFilesLookup::kNone);
  EXPECT_EQ(directory, "");
  Configure("", "Pelmo");
  EXPECT_EQ(LookUpGeneratedFiles(messages_, &directory), GeneratedFilesLookup::kNone);
  platform::RemoveFile(Settings());
  EXPECT_EQ(LookUpGeneratedFiles(messages_, &directory), GeneratedFilesLookup::kNone);
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(GeneratedFilesTest, BaseAndFolderMakeTheDirectory) {
  Configure("D:", "Pelmo");
  std::string directory;
  EXPECT_EQ(LookUpGeneratedFiles(messages_, &directory), GeneratedFilesLookup::kFound);
  EXPECT_EQ(directory, "D:\\Pelmo\\");
  int warnings = 0;
  EXPECT_EQ(LookUpGeneratedFilesOnce(messages_, &directory, &warnings),
            GeneratedFilesLookup::kFound);
  EXPECT_EQ(warnings, 0);
}

TEST_F(GeneratedFilesTest, ABaseWithoutFolderIsReportedEveryTimeOrOncePerRun) {
  Configure("D:", "");
  std::string directory;
  EXPECT_EQ(LookUpGeneratedFiles(messages_, &directory), GeneratedFilesLookup::kNone);
  EXPECT_EQ(LookUpGeneratedFiles(messages_, &directory), GeneratedFilesLookup::kNone);
  int warnings = 0;
  EXPECT_EQ(LookUpGeneratedFilesOnce(messages_, &directory, &warnings),
            GeneratedFilesLookup::kNone);
  EXPECT_EQ(LookUpGeneratedFilesOnce(messages_, &directory, &warnings),
            GeneratedFilesLookup::kNone);
  EXPECT_GE(warnings, 1);
  ASSERT_EQ(messages_.messages().size(), 3u);
  EXPECT_EQ(messages_.messages()[0].text, WrongDirectory("D:\\"));
  EXPECT_EQ(messages_.messages()[0].style, 0x30u);
}

TEST_F(GeneratedFilesTest, AnotherFixedDriveIsTheFirstPresentFixedOneNotExcluded) {
  machine_.AddDrive('d', "removable");
  machine_.AddDrive('e', "fixed");
  machine_.AddDrive('f', "remote");
  machine_.AddDrive('g');
  char letter = 'A';
  EXPECT_TRUE(FindAnotherFixedDrive(&letter, 'c'));
  EXPECT_EQ(letter, 'E');
  letter = 'A';
  EXPECT_TRUE(FindAnotherFixedDrive(&letter, 'E'));
  EXPECT_EQ(letter, 'C');
  letter = 'F';
  EXPECT_TRUE(FindAnotherFixedDrive(&letter, 'C'));
  EXPECT_EQ(letter, 'G');
}

TEST_F(GeneratedFilesTest, WithoutAnotherFixedDriveNothingIsSeparated) {
  machine_.AddDrive('d', "removable");
  const std::string before = machine_.ReadFile(Settings());
  EXPECT_TRUE(SeparateGeneratedFiles(messages_));
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, messages_.Localise(kNoOtherDrive));
  EXPECT_EQ(machine_.ReadFile(Settings()), before);
}

TEST_F(GeneratedFilesTest, SeparationMovesTheConfigurationsIntoAHiddenFolderOnAnotherDrive) {
  machine_.AddDrive('d', "removable");
  machine_.AddDrive('e', "fixed");
  machine_.WriteFile(installation_.Config("A\\amend.dat"), "a");
  machine_.WriteFile(installation_.Config("A\\Sub\\data.bin"), "sub");
  machine_.WriteFile(installation_.Config("B\\amend.dat"), "b");

  EXPECT_TRUE(SeparateGeneratedFiles(messages_));
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_NE(platform::GetAttributes("E:\\Pelmo") & platform::kAttributeHidden, 0u);
  EXPECT_EQ(machine_.ReadFile("E:\\Pelmo\\Config\\A\\amend.dat"), "a");
  EXPECT_EQ(machine_.ReadFile("E:\\Pelmo\\Config\\A\\Sub\\data.bin"), "sub");
  EXPECT_EQ(machine_.ReadFile("E:\\Pelmo\\Config\\B\\amend.dat"), "b");
  EXPECT_FALSE(machine_.Exists("E:\\Pelmo\\Config\\config.ini"));
  std::vector<platform::DirectoryEntry> left;
  ASSERT_TRUE(platform::ListDirectory(installation_.Folder() + "Config\\*.*", &left));
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].name, "config.ini");
  EXPECT_EQ(platform::ReadProfileString("VERSION", "VERSION", "", Settings()), "5.4");
  std::string directory;
  EXPECT_EQ(LookUpGeneratedFiles(messages_, &directory), GeneratedFilesLookup::kFound);
  EXPECT_EQ(directory, "E:\\Pelmo\\");

  // A second run moves only the settings file, and back.
  EXPECT_TRUE(SeparateGeneratedFiles(messages_));
  EXPECT_EQ(machine_.ReadFile("E:\\Pelmo\\Config\\A\\amend.dat"), "a");
  EXPECT_FALSE(machine_.Exists("E:\\Pelmo\\Config\\config.ini"));
  EXPECT_EQ(platform::ReadProfileString("VERSION", "VERSION", "", Settings()), "5.4");
}

TEST_F(GeneratedFilesTest, AFailedCopyLeavesTheConfigurationsAndTheSettingsAsTheyWere) {
  machine_.AddDrive('e', "fixed");
  machine_.WriteFile("E:\\Pelmo\\Config", "a file where the folder should go");
  machine_.WriteFile(installation_.Config("A\\amend.dat"), "a");

  EXPECT_FALSE(SeparateGeneratedFiles(messages_));
  EXPECT_EQ(machine_.ReadFile(installation_.Config("A\\amend.dat")), "a");
  std::string directory;
  EXPECT_EQ(LookUpGeneratedFiles(messages_, &directory), GeneratedFilesLookup::kNone);
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(
      messages_.messages()[0].text.rfind(SeparationFailed(installation_.Folder() + "Config"), 0),
      0u);
  EXPECT_NE(machine_.ReadFile("C:\\Temp\\VexorandSetupLog.txt").find("generated files stay"),
            std::string::npos);
}

#ifdef SETUP_FAULT_INJECTION
// Settings the disk cannot look at may name a directory: the lookup never takes them for none,
// and the separation changes nothing.
TEST_F(GeneratedFilesTest, SettingsTheDiskCannotLookAtAreNeverNothingConfigured) {
  machine_.AddDrive('e', "fixed");
  Configure("D:", "Pelmo");
  machine_.WriteFile(installation_.Config("A\\amend.dat"), "a");
  const std::string before = machine_.ReadFile(Settings());
  const struct {
    const char* name;
    platform::FileOperation operation;
    std::string failing;
  } rows[] = {{"Config", platform::FileOperation::kQuery, installation_.Folder() + "Config\\"},
              {"Config.ini", platform::FileOperation::kQuery, Settings()}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::size_t shown = messages_.messages().size();
    platform::ArmFaultOnName(row.name, EIO, row.operation);
    std::string directory;
    const GeneratedFilesLookup lookup = LookUpGeneratedFiles(messages_, &directory);
    const bool separated = SeparateGeneratedFiles(messages_);
    platform::DisarmFaults();
    EXPECT_EQ(lookup, GeneratedFilesLookup::kUnreadable);
    EXPECT_EQ(directory, row.failing);
    EXPECT_FALSE(separated);
    ASSERT_EQ(messages_.messages().size(), shown + 1);
    const std::string written = installation_.Folder() + "Config\\config.ini";
    EXPECT_EQ(messages_.messages()[shown].text.rfind(SeparationFailed(written), 0), 0u);
    EXPECT_EQ(machine_.ReadFile(Settings()), before);
    EXPECT_EQ(machine_.ReadFile(installation_.Config("A\\amend.dat")), "a");
    EXPECT_FALSE(machine_.Exists("E:\\Pelmo"));
  }
}
#endif

}  // namespace
