#include "migration/amendment_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "migration/parameter_validation.h"
#include "platform/file_system.h"
#include "platform/posix/fault_injection.h"
#include "tests/support/log_capture.h"
#include "tests/support/message_recorder.h"
#include "tests/support/staged_files.h"
#include "tests/support/temp_folder.h"

namespace {

const char kNewFormat[] =
    "struct Axis { double MaxSpeed; int Gain[3]; };\n"
    "field CController {\n"
    "  int m__df_beginCController;\n"
    "  int m_X; int m_Y; int m_Last;\n"
    "  int m_Arr[4];\n"
    "  Axis m_Axis[2];\n"
    "  int m__df_endCController;\n"
    "};\n";

std::vector<std::string> Names(const ParameterList& entries) {
  std::vector<std::string> names;
  for (const ParameterEntry& entry : entries) {
    names.push_back(FormatParameterLine(entry));
  }
  return names;
}

using Lines = std::vector<std::string>;

class AmendmentFileTest : public testing::Test {
 protected:
  std::string Transfer(const std::string& temporary, const std::string& amendment,
                       int expectedResult = 0) {
    folder_.WriteFile("vexorand.fmt", kNewFormat);
    if (!temporary.empty()) {
      folder_.WriteFile("a_amend.dat", temporary);
    }
    if (!amendment.empty()) {
      folder_.WriteFile("a\\amend.dat", amendment);
    } else {
      MakeFolder("a");
    }
    EXPECT_EQ(TransferConfiguration(messages_, folder_.Path("a_amend.dat"),
                                    folder_.Path("a\\amend.dat"), folder_.Path("vexorand.fmt")),
              expectedResult);
    return platform::PathExists(folder_.Path("a\\amend.dat")) ? folder_.ReadFile("a\\amend.dat")
                                                              : "";
  }
  void MakeFolder(const std::string& relative) {
    if (!platform::IsDirectory(folder_.Path(relative))) {
      ASSERT_TRUE(platform::MakeDirectory(folder_.Path(relative)));
    }
  }

  TempFolder folder_;
  MessageRecorder messages_;
  LogCapture log_{messages_.Run()};
};

TEST_F(AmendmentFileTest, ReadingKeepsTheFirstPlaceAndLastValueAndCarriesOtherSectionsInOrder) {
  folder_.WriteFile("amend.dat",
                    "loose = 1\r\n"
                    "[CAxis]\r\n"
                    "a = 1 ; comment\r\n"
                    "[CController]\r\n"
                    "m_A = 1\n"
                    "m_B =\n"
                    "m_C\n"
                    "; only a comment\n"
                    "m_D = 3; more words\n"
                    "m_A = 2\n"
                    "[Other]\n"
                    "b = 2\n"
                    "[CController]\n"
                    "m_E = 5\n"
                    "[ccontroller]\n"
                    "c = 3\n");
  ParameterList controller;
  ParameterList others;
  ReadAmendmentFile(folder_.Path("amend.dat"), &controller, &others);
  EXPECT_EQ(Names(controller), (Lines{"[CController]", "m_A = 2", "m_D = 3", "m_E = 5"}));
  EXPECT_EQ(Names(others),
            (Lines{"loose = 1", "[CAxis]", "a = 1", "[Other]", "b = 2", "[ccontroller]", "c = 3"}));

  EXPECT_TRUE(ReadAmendmentFile(folder_.Path("missing.dat"), &controller, &others));
  EXPECT_TRUE(controller.empty());
  EXPECT_TRUE(others.empty());

#ifdef SETUP_FAULT_INJECTION
  // A file the disk cannot even say is there is no missing one: written, it would lose the rest.
  platform::ArmFaultOnName("amend.dat", EIO, platform::FileOperation::kQuery);
  EXPECT_FALSE(ReadAmendmentFile(folder_.Path("amend.dat"), &controller, &others));
  platform::DisarmFaults();
#endif
}

TEST_F(AmendmentFileTest, TransferMergesValidatesAndWritesTheControllerSectionFirst) {
  const std::string written = Transfer(
      "[CController]\r\n"
      "m__df_beginCController = 0\r\n"
      "m_X = 5\r\n"
      "m_Y = 7\r\n"
      "m_Arr[3] = 4\r\n"
      "m_Arr[4] = 9\r\n"
      "m_Axis[1].MaxSpeed = 2.5\r\n"
      "m_Axis[1].Gain[2] = 8\r\n"
      "m_Axis[2].MaxSpeed = 1.0\r\n"
      "m_Gone = 1\r\n"
      "m__df_endCController = 0\r\n",
      "[CAxis]\r\n"
      "a = 1\r\n"
      "[CController]\r\n"
      "m_X = 1\r\n"
      "m_Old = 3\r\n"
      "m_Last = 9\r\n"
      "[Tail]\r\n"
      "t = 2\r\n");
  EXPECT_EQ(written,
            "[CController]\r\n"
            "m_X = 5\r\n"
            "m_Y = 7\r\n"
            "m_Arr[3] = 4\r\n"
            "m_Axis[1].MaxSpeed = 2.5\r\n"
            "m_Axis[1].Gain[2] = 8\r\n"
            "m_Last = 9\r\n"
            "[CAxis]\r\n"
            "a = 1\r\n"
            "[Tail]\r\n"
            "t = 2\r\n");
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_FALSE(platform::PathExists(folder_.Path("a\\amend.dat.tmp")));
}

TEST_F(AmendmentFileTest, CarriedParametersCreateTheMissingControllerSectionFirstInTheFile) {
  const std::string temporary = "[CController]\nm_X = 5\nm_Y = 7\n";
  EXPECT_EQ(Transfer(temporary, "[CAxis]\na = 1\n"),
            "[CController]\r\nm_X = 5\r\nm_Y = 7\r\n[CAxis]\r\na = 1\r\n");
  platform::RemoveFile(folder_.Path("a\\amend.dat"));
  EXPECT_EQ(Transfer(temporary, ""), "[CController]\r\nm_X = 5\r\nm_Y = 7\r\n");
}

// Lines before the first header belong to no section and stay in front of every header.
TEST_F(AmendmentFileTest, AnUnreadableTemporaryFileStillRewritesTheAmendmentFile) {
  EXPECT_EQ(Transfer("", "x = 1 ; note\n[CController]\nm_X = 1\nbroken line\n"),
            "x = 1\r\n[CController]\r\nm_X = 1\r\n");
}

TEST_F(AmendmentFileTest, AByteOrderMarkDoesNotHideTheFirstHeader) {
  EXPECT_EQ(
      Transfer("[CController]\nm_X = 5\n", "\xEF\xBB\xBF[CController]\nm_X = 1\n[CAxis]\na = 1\n"),
      "[CController]\r\nm_X = 5\r\n[CAxis]\r\na = 1\r\n");
}

TEST_F(AmendmentFileTest, AFailedWriteLeavesTheOldFileWhole) {
  const std::string old = "[CController]\nm_X = 1\n";
  // Something in the way of the temporary file.
  folder_.WriteFile("a\\amend.dat.tmp\\blocker", "");
  EXPECT_EQ(Transfer("[CController]\nm_X = 5\n", old, -1), old);
  RemoveStagedTree(folder_.Path("a\\amend.dat.tmp"));

  // A target that cannot be replaced; the temporary file does not stay behind.
  folder_.WriteFile("b\\amend.dat\\inside", "");
  folder_.WriteFile("b_amend.dat", "[CController]\nm_X = 5\n");
  EXPECT_EQ(TransferConfiguration(messages_, folder_.Path("b_amend.dat"),
                                  folder_.Path("b\\amend.dat"), folder_.Path("vexorand.fmt")),
            -1);
  EXPECT_TRUE(platform::IsDirectory(folder_.Path("b\\amend.dat")));
  EXPECT_FALSE(platform::PathExists(folder_.Path("b\\amend.dat.tmp")));
}

TEST_F(AmendmentFileTest, AFormatThatCannotBeUsedLeavesTheListUncheckedAfterItsMessage) {
  folder_.WriteFile("broken.fmt", "field CController { int m_X }");
  folder_.WriteFile("other.fmt", "field CAxis { int m_X; };");
  for (const char* format : {"broken.fmt", "other.fmt", "missing.fmt"}) {
    ParameterList controller = {{"[CController]", ""}, {"m_Unknown", "1"}};
    EXPECT_EQ(ValidateAgainstFormat(messages_, folder_.Path(format), &controller), 0);
    EXPECT_EQ(controller.size(), 2u) << format;
  }
  ASSERT_EQ(messages_.messages().size(), 3u);
  EXPECT_EQ(messages_.messages()[0].text, "Inner error! Code: IE-ERRORFMTFILE.");
  EXPECT_EQ(messages_.messages()[1].text, "Inner error! Code: IE-NOCONTROLLER.");
  EXPECT_EQ(messages_.messages()[2].text, "Inner error! Code: IE-ERRORFMTFILE.");
  EXPECT_EQ(messages_.messages()[0].style, 0x30u);
  EXPECT_TRUE(log_.Contains("broken.fmt(1): "));

  // Nothing to check: the format is not even read.
  ParameterList empty;
  EXPECT_EQ(ValidateAgainstFormat(messages_, folder_.Path("broken.fmt"), &empty), 0);
  EXPECT_EQ(messages_.messages().size(), 3u);
}

}  // namespace

#ifdef SETUP_FAULT_INJECTION
// A read that fails while a configuration is transferred never passes for an empty file: the
// transfer fails, or every carried parameter is in the new file.
TEST_F(AmendmentFileTest, AFailingReadNeverCarriesNothing) {
  folder_.WriteFile("vexorand.fmt", kNewFormat);
  for (unsigned long failing = 1; failing <= 6; ++failing) {
    folder_.WriteFile("a_amend.dat", "m_X = 7\r\n");
    folder_.WriteFile("a\\amend.dat", "[CController]\r\nm_X = 1\r\n");
    platform::ArmFault(failing, EIO, platform::FileOperation::kRead);
    const int result =
        TransferConfiguration(messages_, folder_.Path("a_amend.dat"), folder_.Path("a\\amend.dat"),
                              folder_.Path("vexorand.fmt"));
    platform::DisarmFaults();
    if (result == 0) {
      EXPECT_NE(folder_.ReadFile("a\\amend.dat").find("m_X = 7"), std::string::npos)
          << "read " << failing;
    }
  }
}
#endif
