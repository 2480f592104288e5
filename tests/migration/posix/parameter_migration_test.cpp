#include "migration/parameter_migration.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <regex>
#include <string>

#include "base/messages.h"
#include "base/path_compose.h"
#include "base/text_format.h"
#include "platform/file_system.h"
#include "platform/posix/fault_injection.h"
#include "tests/migration/posix/staged_installation.h"
#include "tests/support/log_capture.h"
#include "tests/support/message_recorder.h"
#include "tests/support/staged_files.h"
#include "tests/support/staged_machine.h"

namespace {

const char kMigrationFolder[] = "C:\\Temp\\Vexroand";

class ParameterMigrationTest : public testing::Test {
 protected:
  ParameterMigrationTest() : installation_(machine_, messages_) {
    machine_.MakeFolder("C:\\Temp");
    messages_.Run().logDirectory = "C:\\Temp\\";
    context_.migrationFolder = kMigrationFolder;
    installation_.Install(kOldFormat, "5.3.12");
  }

  // The update between the two steps: the old installation replaced by one with the new format.
  void Update(const char* version = "5.4.0") {
    installation_.Remove();
    installation_.Install(kNewFormat, version);
  }

  std::string Temporary(const std::string& name) const {
    return machine_.ReadFile(std::string(kMigrationFolder) + "\\" + name);
  }
  std::string Question(const std::string& configurations) const {
    return std::string(messages_.Localise(kKeepParametersListHeader)) + configurations +
           messages_.Localise(kKeepParametersQuestion);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const RecordedMessage& message : messages_.messages()) texts.push_back(message.text);
    return texts;
  }

  StagedMachine machine_;
  MessageRecorder messages_;
  StagedInstallation installation_;
  MigrationContext context_;
};

TEST_F(ParameterMigrationTest, EveryParameterTheNewFormatKnowsReachesTheNewAmendmentFiles) {
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), OldControllerBlock(5));
  installation_.AddParameterFile(installation_.Config("Mill_A\\vexorand.dat"),
                                 OldControllerBlock(6));
  installation_.AddParameterFile(installation_.Config("Group\\Deep\\vexorand.dat"),
                                 OldControllerBlock(7));
  installation_.AddParameterFile(installation_.Config("Gone\\vexorand.dat"), OldControllerBlock(8));

  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));
  EXPECT_TRUE(context_.parametersAccepted);
  EXPECT_EQ(context_.savedInstallationKey, "CONTROL");
  EXPECT_EQ(context_.savedMajorVersion, "5");
  ASSERT_EQ(messages_.messages().size(), 1u);
  const std::string& question = messages_.messages()[0].text;
  for (const char* name : {"\nA\n", "Mill_A\n", "Deep\n", "Gone\n"}) {
    EXPECT_NE(question.find(name), std::string::npos) << name;
  }
  EXPECT_EQ(question.find("Group"), std::string::npos);
  EXPECT_EQ(messages_.messages()[0].style, 0x34u);
  EXPECT_EQ(Temporary("mill_a_amend.dat"),
            "[CController]\r\n"
            "m__df_beginCController = 0\r\n"
            "m_X = 6\r\n"
            "m_Speed = 2.5\r\n"
            "m_Arr[0] = 1\r\n"
            "m_Arr[1] = 2\r\n"
            "m_Arr[2] = 3\r\n"
            "m_Old = 4\r\n"
            "m__df_endCController = 0\r\n");

  Update();
  // The new installation has A (with an amendment file whose other sections come first), mill_a
  // and Group\Deep without one, and no Gone; it ships binary files of its own.
  machine_.WriteFile(
      installation_.Config("a\\amend.dat"),
      "[CAxis]\r\naxis = 1\r\n[CController]\r\nm_X = 1 ; old value\r\nm_New = 8\r\n");
  machine_.MakeFolder(installation_.Config("MILL_A"));
  machine_.MakeFolder(installation_.Config("Group\\Deep"));
  installation_.AddParameterFile(installation_.Config("a\\vexorand.dat"), "new");
  installation_.AddParameterFile(installation_.Config("a\\vexorand.dat.bak"), "new");
  installation_.AddParameterFile(installation_.Config("Group\\Deep\\vexorand.dat"), "new");

  ASSERT_TRUE(TransferParameterFiles(messages_, &context_));
  EXPECT_EQ(machine_.ReadFile(installation_.Config("A\\amend.dat")),
            "[CController]\r\n"
            "m_X = 5\r\n"
            "m_Speed = 2.5\r\n"
            "m_Arr[0] = 1\r\n"
            "m_Arr[1] = 2\r\n"
            "m_New = 8\r\n"
            "[CAxis]\r\n"
            "axis = 1\r\n");
  EXPECT_EQ(machine_.ReadFile(installation_.Config("Mill_A\\amend.dat")),
            "[CController]\r\n"
            "m_X = 6\r\n"
            "m_Speed = 2.5\r\n"
            "m_Arr[0] = 1\r\n"
            "m_Arr[1] = 2\r\n");
  // Only the folder's own name counts: Deep's parameters look for config\deep.
  EXPECT_FALSE(machine_.Exists(installation_.Config("Group\\Deep\\amend.dat")));
  EXPECT_FALSE(machine_.Exists(installation_.Config("Gone")));

  ASSERT_EQ(messages_.messages().size(), 2u);
  const std::string report = messages_.messages()[1].text;
  EXPECT_EQ(report.rfind(messages_.Localise(kTransferReportHeader), 0), 0u);
  EXPECT_NE(report.find("\na\n"), std::string::npos);
  EXPECT_NE(report.find("\nmill_a\n"), std::string::npos);
  EXPECT_EQ(report.find("gone"), std::string::npos);
  EXPECT_EQ(
      report.substr(report.size() - std::string(messages_.Localise(kTransferSucceeded)).size()),
      messages_.Localise(kTransferSucceeded));

  EXPECT_FALSE(machine_.Exists(kMigrationFolder));
  EXPECT_FALSE(machine_.Exists(installation_.Config("a\\vexorand.dat")));
  EXPECT_FALSE(machine_.Exists(installation_.Config("a\\vexorand.dat.bak")));
  EXPECT_FALSE(machine_.Exists(installation_.Config("Group\\Deep\\vexorand.dat")));
}

TEST_F(ParameterMigrationTest, ADamagedFileOfAnyConfigurationIsRestoredBeforeItIsRead) {
  for (const char* name : {"A", "B"}) {
    const std::string file = installation_.Config(std::string(name) + "\\vexorand.dat");
    installation_.AddParameterFile(file + ".bak", OldControllerBlock(name[0] == 'A' ? 1 : 2));
    installation_.AddParameterFile(file, OldControllerBlock(99));
  }
  // B's file was damaged after it was last written: its block reads 99 but its backup holds 2.
  std::string damaged = machine_.ReadFile(installation_.Config("B\\vexorand.dat"));
  damaged[damaged.size() - 1] ^= 1;
  machine_.WriteFile(installation_.Config("B\\vexorand.dat"), damaged);

  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));
  EXPECT_NE(Temporary("a_amend.dat").find("m_X = 99\r\n"), std::string::npos);
  EXPECT_NE(Temporary("b_amend.dat").find("m_X = 2\r\n"), std::string::npos);
  EXPECT_EQ(Texts(), (std::vector<std::string>{Question("A\nB\n"),
                                               messages_.Localise(kParameterBackupUsed)}));
}

TEST_F(ParameterMigrationTest, WithoutParameterFilesOrConsentNothingIsCarriedOrDeleted) {
  EXPECT_FALSE(GenerateParameterFiles(messages_, &context_));
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_TRUE(platform::IsDirectory(kMigrationFolder));

  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), OldControllerBlock(5));
  messages_.Answer(kIdNo);
  EXPECT_FALSE(GenerateParameterFiles(messages_, &context_));
  EXPECT_FALSE(context_.parametersAccepted);
  EXPECT_FALSE(machine_.Exists(std::string(kMigrationFolder) + "\\a_amend.dat"));

  Update();
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), "new");
  EXPECT_FALSE(TransferParameterFiles(messages_, &context_));
  EXPECT_TRUE(machine_.Exists(installation_.Config("A\\vexorand.dat")));
  EXPECT_EQ(messages_.messages().size(), 1u);
}

TEST_F(ParameterMigrationTest, AnIncompatibleVersionTransfersAndDeletesNothing) {
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), OldControllerBlock(5));
  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));
  Update("6.0");
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), "new");

  EXPECT_FALSE(TransferParameterFiles(messages_, &context_));
  EXPECT_EQ(messages_.messages().back().text, messages_.Localise(kVersionsIncompatible));
  EXPECT_FALSE(machine_.Exists(installation_.Config("A\\amend.dat")));
  EXPECT_TRUE(machine_.Exists(installation_.Config("A\\vexorand.dat")));
  EXPECT_TRUE(machine_.Exists(std::string(kMigrationFolder) + "\\a_amend.dat"));
}

TEST_F(ParameterMigrationTest, ABlockThatDoesNotFitTheFormatIsReportedAndTheOthersGoOn) {
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), "too short");
  installation_.AddParameterFile(installation_.Config("B\\vexorand.dat"), OldControllerBlock(5));
  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));
  EXPECT_EQ(Texts(), (std::vector<std::string>{Question("A\nB\n"),
                                               messages_.Localise(kParameterDumpFailed)}));
  EXPECT_FALSE(machine_.Exists(std::string(kMigrationFolder) + "\\a_amend.dat"));
  EXPECT_TRUE(machine_.Exists(std::string(kMigrationFolder) + "\\b_amend.dat"));
}

TEST_F(ParameterMigrationTest, AnAmendmentFileThatCannotBeWrittenKeepsTheMigrationFolder) {
  messages_.UseLanguage(2);
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), OldControllerBlock(5));
  installation_.AddParameterFile(installation_.Config("B\\vexorand.dat"), OldControllerBlock(6));
  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));
  Update();
  machine_.MakeFolder(installation_.Config("A"));
  machine_.WriteFile(installation_.Config("B\\amend.dat"), "[CController]\r\nm_X = 1\r\n");
  ASSERT_TRUE(
      platform::SetAttributes(installation_.Config("B\\amend.dat"), platform::kAttributeReadOnly));

  ASSERT_TRUE(TransferParameterFiles(messages_, &context_));
  messages_.UseLanguage(0);
  EXPECT_EQ(messages_.messages().back().text,
            "Следующие конфигурации:\na\nУспешное сохранение параметров\n"
            "Запись параметров конфигурации b не удаётся, временные файлы параметров сохранены в "
            "C:\\Temp\\Vexroand\n");
  EXPECT_EQ(machine_.ReadFile(installation_.Config("B\\amend.dat")),
            "[CController]\r\nm_X = 1\r\n");
  EXPECT_TRUE(machine_.Exists(std::string(kMigrationFolder) + "\\b_amend.dat"));
  EXPECT_TRUE(machine_.Exists(installation_.Config("A\\amend.dat")));
}

// Values a parameter line cannot hold stay behind, named in the report and the log, and so does
// the fact that a configuration's values came from a damaged file; everything else is carried.
TEST_F(ParameterMigrationTest, ValuesThatCannotBeCarriedAndDamagedFilesAreReported) {
  const char* format =
      "field CController {\n"
      "  int m__df_beginCController;\n"
      "  char m_szModel[16];\n"
      "  char m_szNote[8];\n"
      "  int m_X /* -f'%d\\nInjected = 9' */;\n"
      "  int m_Y;\n"
      "  int m__df_endCController;\n"
      "};\n";
  const auto block = [](const char* model, const char* note, std::int32_t x) {
    std::string bytes(40, '\0');
    std::memcpy(&bytes[4], model, std::strlen(model));
    std::memcpy(&bytes[20], note, std::strlen(note));
    const std::int32_t values[] = {x, 7};
    std::memcpy(&bytes[28], values, sizeof values);
    return bytes;
  };
  installation_.Remove();
  installation_.Install(format, "5.3.12");
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"),
                                 block("ATC;24 pockets", "ok", 1));
  installation_.AddParameterFile(installation_.Config("B\\vexorand.dat"),
                                 block("Turret", "AB\nm_X=", 2));
  installation_.AddParameterFile(installation_.Config("C\\vexorand.dat"), block("Mill", "", 3));
  // C's file is damaged and has no backup: its values are read all the same.
  std::string damaged = machine_.ReadFile(installation_.Config("C\\vexorand.dat"));
  damaged[damaged.size() - 1] ^= 1;
  machine_.WriteFile(installation_.Config("C\\vexorand.dat"), damaged);
  LogCapture log{messages_.Run()};
  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));

  installation_.Remove();
  installation_.Install(format, "5.4.0");
  machine_.WriteFile(installation_.Config("A\\amend.dat"),
                     "[CController]\r\nm_szModel = \"new\"\r\nm_Y = 0\r\n");
  machine_.MakeFolder(installation_.Config("B"));
  machine_.MakeFolder(installation_.Config("C"));
  ASSERT_TRUE(TransferParameterFiles(messages_, &context_));

  EXPECT_EQ(machine_.ReadFile(installation_.Config("A\\amend.dat")),
            "[CController]\r\nm_szModel = \"new\"\r\nm_szNote = \"ok\"\r\nm_X = 1\r\n"
            "m_Y = 7\r\n");
  EXPECT_EQ(machine_.ReadFile(installation_.Config("B\\amend.dat")),
            "[CController]\r\nm_szModel = \"Turret\"\r\nm_X = 2\r\nm_Y = 7\r\n");
  EXPECT_NE(machine_.ReadFile(installation_.Config("C\\amend.dat")).find("m_X = 3\r\n"),
            std::string::npos);
  const std::string report = messages_.messages().back().text;
  for (const std::string& line :
       {FormatText(messages_.Localise(kTransferValueNotCarried), "A", "m_szModel"),
        FormatText(messages_.Localise(kTransferValueNotCarried), "B", "m_szNote"),
        FormatText(messages_.Localise(kTransferFromDamagedFile), "C")}) {
    EXPECT_NE(report.find(line), std::string::npos) << line;
  }
  EXPECT_TRUE(log.Contains("Value of 'm_szModel' in configuration 'A' not carried"));
  EXPECT_TRUE(log.Contains("Value of 'm_szNote' in configuration 'B' not carried"));
  EXPECT_TRUE(log.Contains("Parameters of configuration 'C' read from the damaged file"));
  // What the run's report tells of them: carried, values left out and damaged files named.
  ASSERT_EQ(context_.configurations.size(), 3u);
  for (const ConfigurationRecord& record : context_.configurations) {
    EXPECT_EQ(record.status, ConfigurationRecord::Status::kCarried) << record.name;
    EXPECT_EQ(record.valuesLeftOut, record.name == "A"   ? std::vector<std::string>{"m_szModel"}
                                    : record.name == "B" ? std::vector<std::string>{"m_szNote"}
                                                         : std::vector<std::string>{})
        << record.name;
    EXPECT_EQ(record.fromDamagedFile, record.name == "C") << record.name;
  }
}

// An amendment file that cannot be read, or whose path is too long, is neither replaced by the
// carried section alone nor passed over: the parameters stay with the migration folder.
TEST_F(ParameterMigrationTest, AnAmendmentFileThatCannotBeReachedIsKeptWithTheMigrationFolder) {
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), OldControllerBlock(5));
  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));
  Update();
  const std::string kept = Temporary("a_amend.dat");
  platform::RemoveFile(std::string(kMigrationFolder) + "\\a_amend.dat");
  // amend.dat one character over the limit, while the temporary file fits.
  const std::string longName(platform::kMaxPath + 1 - installation_.Config("\\amend.dat").size(),
                             'l');
  const struct {
    const char* name;
    std::string configuration;
  } rows[] = {{"unreadable", "a"}, {"path too long", longName}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string temporary =
        std::string(kMigrationFolder) + "\\" + row.configuration + "_amend.dat";
    const std::string amendment = installation_.Config(row.configuration + "\\amend.dat");
    machine_.WriteFile(temporary, kept);
    machine_.MakeFolder(installation_.Config(row.configuration));
    if (FitsMaxPath(amendment)) {
      machine_.MakeFolder(amendment);  // opens, but reads as no file
    }
    MigrationContext context = context_;
    ASSERT_TRUE(TransferParameterFiles(messages_, &context));
    EXPECT_EQ(machine_.ReadFile(temporary), kept);
    EXPECT_EQ(messages_.messages().back().text,
              FormatText(messages_.Localise(kTransferWriteFailed), row.configuration.c_str(),
                         kMigrationFolder));
    EXPECT_EQ(FindOrAddRecord(&context.configurations, row.configuration).status,
              ConfigurationRecord::Status::kNotCarried);
    platform::RemoveFile(temporary);
  }
  EXPECT_TRUE(platform::IsDirectory(installation_.Config("A\\amend.dat")));
}

TEST_F(ParameterMigrationTest, AGeneratedFilesDirectoryIsSearchedInsteadOfTheConfigurationTree) {
  machine_.AddDrive('d');
  machine_.WriteFile(installation_.Folder() + "Config\\Config.ini",
                     "[VERSION]\r\nVERSION=5.3\r\n[ActiveConfig]\r\nActiveGenerateBaseDir=D:\r\n"
                     "ActiveGeneratePath=Pelmo\r\n");
  installation_.AddParameterFile("D:\\Pelmo\\Lathe\\vexorand.dat", OldControllerBlock(3));
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), OldControllerBlock(5));

  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));
  EXPECT_EQ(messages_.messages()[0].text, Question("Lathe\n"));
  Update();
  machine_.MakeFolder(installation_.Config("Lathe"));
  ASSERT_TRUE(TransferParameterFiles(messages_, &context_));
  EXPECT_NE(machine_.ReadFile(installation_.Config("lathe\\amend.dat")).find("m_X = 3\r\n"),
            std::string::npos);
}

}  // namespace

// A later run finds the parameters of a run that did not finish its transfer, with or without
// its record (an earlier Setup wrote none): it names that run and carries them, or moves them
// aside; it never deletes them.
TEST_F(ParameterMigrationTest, TheParametersOfAnUnfinishedRunAreCarriedOrMovedAsideNeverDeleted) {
  const struct {
    bool recorded;
    int answer;
  } rows[] = {{true, kIdYes}, {true, kIdNo}, {false, kIdYes}, {false, kIdNo}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "recorded " << row.recorded << ", answer " << row.answer);
    StagedMachine machine;
    machine.MakeFolder("C:\\Temp");
    MessageRecorder yes;
    StagedInstallation installation(machine, yes);
    installation.Install(kOldFormat, "5.3.12");
    installation.AddParameterFile(installation.Config("A\\vexorand.dat"), OldControllerBlock(5));
    MigrationContext first;
    first.migrationFolder = kMigrationFolder;
    ASSERT_TRUE(GenerateParameterFiles(yes, &first));
    const std::string kept = machine.ReadFile(std::string(kMigrationFolder) + "\\a_amend.dat");
    ASSERT_NE(kept.find("m_X = 5"), std::string::npos);
    // Cut off after the clearing: the old installation is gone.
    installation.Remove();
    if (!row.recorded) {
      platform::RemoveFile(std::string(kMigrationFolder) + "\\setup_run.ini");
      installation.Install(kOldFormat, "5.3.12");
    }

    // The next run, in a process of its own.
    MessageRecorder recorder({row.answer});
    recorder.Run().logDirectory = "C:\\Temp\\";
    ASSERT_TRUE(ReadInstallationLayout(recorder));
    MigrationContext second;
    second.migrationFolder = kMigrationFolder;
    EXPECT_EQ(GenerateParameterFiles(recorder, &second), row.answer == kIdYes);
    ASSERT_EQ(recorder.messages().size(), 1u);
    const std::string question = recorder.messages()[0].text;
    EXPECT_NE(question.find(row.recorded ? "\nA\n" : "\na\n"), std::string::npos) << question;
    EXPECT_TRUE(row.recorded
                    ? std::regex_search(question, std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"))
                    : question.rfind(recorder.Localise(kEarlierRunStart), 0) == 0)
        << "the time of that run: " << question;
    EXPECT_EQ(second.parametersAccepted, row.answer == kIdYes);
    if (row.answer == kIdYes) {
      // Taken over, they are this run's: the next run must not offer them as nobody's.
      EXPECT_TRUE(second.unsavedConfigurations.empty());
      EXPECT_NE(machine.ReadFile(std::string(kMigrationFolder) + "\\setup_run.ini")
                    .find(row.recorded ? "Configurations=A\r\n" : "Configurations=a\r\n"),
                std::string::npos);
      EXPECT_EQ(second.savedInstallationKey, "CONTROL");
      EXPECT_EQ(second.savedMajorVersion, "5");
      EXPECT_EQ(machine.ReadFile(std::string(kMigrationFolder) + "\\a_amend.dat"), kept);
      installation.Remove();
      installation.Install(kNewFormat, "5.4.0");
      machine.MakeFolder(installation.Config("A"));
      ASSERT_TRUE(TransferParameterFiles(recorder, &second));
      EXPECT_NE(machine.ReadFile(installation.Config("A\\amend.dat")).find("m_X = 5\r\n"),
                std::string::npos);
    } else {
      const std::vector<std::string> aside = ListStagedNames("C:\\Temp\\Vexroand 20*");
      ASSERT_EQ(aside.size(), 1u);
      EXPECT_EQ(machine.ReadFile("C:\\Temp\\" + aside[0] + "\\a_amend.dat"), kept);
      EXPECT_NE(machine.ReadFile("C:\\Temp\\VexorandSetupLog.txt").find(aside[0]),
                std::string::npos);
    }
  }
}

// After a transfer the binary files are gone and the carried values wait in amend.dat; running
// the update again must carry them once more, not the factory values.
TEST_F(ParameterMigrationTest, ParametersWaitingInAnAmendmentFileAreKeptLikeABinaryFile) {
  machine_.WriteFile(installation_.Config("B\\amend.dat"),
                     "[CController]\r\nm_X = 9\r\nm_Old = 4\r\n[Axes]\r\ncount = 3\r\n");
  machine_.WriteFile(installation_.Config("C\\amend.dat"), "[Axes]\r\ncount = 3\r\n");
  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, Question("B\n"));
  EXPECT_EQ(Temporary("b_amend.dat"), "[CController]\r\nm_X = 9\r\nm_Old = 4\r\n");
  EXPECT_EQ(Temporary("c_amend.dat"), "");

  Update();
  machine_.WriteFile(installation_.Config("B\\amend.dat"), "[CController]\r\nm_X = 1\r\n");
  ASSERT_TRUE(TransferParameterFiles(messages_, &context_));
  EXPECT_EQ(machine_.ReadFile(installation_.Config("B\\amend.dat")),
            "[CController]\r\nm_X = 9\r\n");
}

#ifdef SETUP_FAULT_INJECTION
// Without its record the next run takes the folder for no run's: a record that cannot be written
// keeps every configuration from the clearing, like a temporary file that cannot.
TEST_F(ParameterMigrationTest, ARecordThatCannotBeWrittenLeavesTheConfigurationsUnsaved) {
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), OldControllerBlock(5));
  // The temporary parameter file's rename, then the record's.
  platform::ArmFault(2, EIO, platform::FileOperation::kRename);
  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));
  platform::DisarmFaults();
  EXPECT_EQ(context_.unsavedConfigurations, std::vector<std::string>{"A"});
}

// What the disk cannot tell in the generation (the generated-files settings, an earlier run's
// record, a configuration folder, an amendment file holding carried parameters), or a migration
// folder whose entry cannot be put on the disk, stops it with the path noted for the run's
// failure; the kept parameters stay.
TEST_F(ParameterMigrationTest, WhatTheDiskCannotTellStopsTheGeneration) {
  const struct {
    const char* name;
    platform::FileOperation operation;
    std::string failing;
  } rows[] = {
      {"setup_run.ini", platform::FileOperation::kQuery,
       std::string(kMigrationFolder) + "\\setup_run.ini"},
      {"Config", platform::FileOperation::kQuery, installation_.Folder() + "Config\\"},
      {"B", platform::FileOperation::kList, installation_.Config("B")},
      {"amend.dat", platform::FileOperation::kOpen, installation_.Config("C\\amend.dat")},
      {"Temp", platform::FileOperation::kFsync, "C:\\Temp\\"},
  };
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), OldControllerBlock(5));
  installation_.AddParameterFile(installation_.Config("B\\vexorand.dat"), OldControllerBlock(6));
  machine_.WriteFile(installation_.Config("C\\amend.dat"), "[CController]\r\nm_X = 9\r\n");
  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));
  const std::string kept = Temporary("a_amend.dat");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    MigrationContext next;
    next.migrationFolder = kMigrationFolder;
    // The first row finds the first run's record; without it the search runs, its files kept.
    if (row.name != std::string("setup_run.ini")) {
      platform::RemoveFile(std::string(kMigrationFolder) + "\\setup_run.ini");
    }
    platform::ArmFaultOnName(row.name, EIO, row.operation);
    EXPECT_FALSE(GenerateParameterFiles(messages_, &next));
    platform::DisarmFaults();
    EXPECT_EQ(next.unreadablePath, row.failing);
    EXPECT_NE(next.unreadableError, 0u);
    EXPECT_EQ(Temporary("a_amend.dat"), kept);
  }
}

// After the clearing the migration folder holds the only copy: a listing of it, or a look at a
// configuration folder, that fails keeps it, and the configuration counts as not carried.
TEST_F(ParameterMigrationTest, WhatTheDiskCannotTellInTheTransferKeepsTheMigrationFolder) {
  installation_.AddParameterFile(installation_.Config("A\\vexorand.dat"), OldControllerBlock(5));
  ASSERT_TRUE(GenerateParameterFiles(messages_, &context_));
  const std::string kept = Temporary("a_amend.dat");
  Update();
  machine_.MakeFolder(installation_.Config("A"));
  const struct {
    const char* name;
    platform::FileOperation operation;
    const char* configuration;  // as the report names it
  } rows[] = {{"Vexroand", platform::FileOperation::kList, "A"},
              {"A", platform::FileOperation::kQuery, "a"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    platform::ArmFaultOnName(row.name, EIO, row.operation);
    TransferParameterFiles(messages_, &context_);
    platform::DisarmFaults();
    EXPECT_EQ(Temporary("a_amend.dat"), kept);
    ASSERT_EQ(context_.configurations.size(), 1u);
    EXPECT_EQ(context_.configurations[0].status, ConfigurationRecord::Status::kNotCarried);
    EXPECT_EQ(messages_.messages().back().text, FormatText(messages_.Localise(kTransferWriteFailed),
                                                           row.configuration, kMigrationFolder));
  }
}
#endif
