#include "migration/parameter_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/language.h"
#include "base/messages.h"
#include "migration/parameter_file.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "tests/support/log_capture.h"
#include "tests/support/message_recorder.h"
#include "tests/support/recording_sink.h"
#include "tests/support/temp_folder.h"

namespace {

const std::string kControllerBytes = "controller block \x01\x02\x03";

std::string Bytes(const std::vector<unsigned char>& data) {
  return std::string(data.begin(), data.end());
}

void StoreLittleEndian32(std::string* bytes, std::size_t offset, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    (*bytes)[offset++] = static_cast<char>((value >> shift) & 0xFF);
  }
}

// A file whose contents no longer match its checksum.
std::string Damaged(std::string bytes) {
  bytes.back() ^= 0x40;
  return bytes;
}

class ParameterStoreTest : public testing::Test {
 protected:
  ParameterStoreTest() { messages_.UseLanguage(2); }

  bool LogHasExtractionFailure(const std::string& section) const {
    return log_.Contains("|S|ExtractParameters failed, object is '" + section + "'\n");
  }

  TempFolder folder_;
  MessageRecorder messages_;
  LogCapture log_{messages_.Run()};
};

TEST_F(ParameterStoreTest, SectionsAreFoundOnTheirFirstFourCharactersInChainOrder) {
  folder_.WriteFile("a.dat", BuildParameterFile({{"CAxis", "axis"},
                                                 {"CConfig", "config"},
                                                 {"CController", kControllerBytes},
                                                 {"CEmpty", ""},
                                                 {"CLast", "to the end"}}));
  std::vector<unsigned char> data;
  ASSERT_TRUE(ExtractParameters(messages_, folder_.Path("a.dat"), "CController", &data));
  EXPECT_EQ(Bytes(data), "config");
  ASSERT_TRUE(ExtractParameters(messages_, folder_.Path("a.dat"), "CAxis", &data));
  EXPECT_EQ(Bytes(data), "axis");
  ASSERT_TRUE(ExtractParameters(messages_, folder_.Path("a.dat"), "CEmp", &data));
  EXPECT_TRUE(data.empty());
  ASSERT_TRUE(ExtractParameters(messages_, folder_.Path("a.dat"), "CLast", &data));
  EXPECT_EQ(Bytes(data), "to the end");
  // A name shorter than four characters must match the whole stored name.
  EXPECT_FALSE(ExtractParameters(messages_, folder_.Path("a.dat"), "CAx", &data));

  data.assign(3, 'x');
  EXPECT_FALSE(ExtractParameters(messages_, folder_.Path("a.dat"), "Missing", &data));
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(log_.Text(), "");  // a missing section is no file error
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(ParameterStoreTest, AMissingFileFailsWithTheLogLine) {
  std::vector<unsigned char> data;
  EXPECT_FALSE(ExtractParameters(messages_, folder_.Path("none.dat"), "CController", &data));
  EXPECT_TRUE(LogHasExtractionFailure("CController"));
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(ParameterStoreTest, ABrokenChainEndsTheWalkAsAFileErrorWithoutReadingPastTheEnd) {
  const std::string good = BuildParameterFile(
      {{"CAxis", std::string(100, 'a')}, {"CSpindle", "s"}, {"CController", kControllerBytes}});
  constexpr std::size_t kNextField = 8 + 16;
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::vector<Case> cases;
  std::string backwards = good;
  StoreLittleEndian32(&backwards, kNextField, 4);
  cases.push_back({"backwards", backwards});
  std::string self = good;
  StoreLittleEndian32(&self, kNextField, 8);
  cases.push_back({"to itself", self});
  std::string intoHeader = good;
  StoreLittleEndian32(&intoHeader, kNextField, 8 + 63);
  cases.push_back({"into its own header", intoHeader});
  std::string beyond = good;
  StoreLittleEndian32(&beyond, kNextField, 0xFFFFFFF0u);
  cases.push_back({"beyond the end", beyond});
  std::string wrongMagic = good;
  wrongMagic[8 + 64 + 100] = 'X';  // the middle section's header
  cases.push_back({"wrong magic before the intact wanted section", wrongMagic});
  cases.push_back({"header cut short", good.substr(0, 8 + 40)});
  cases.push_back({"no section at all", good.substr(0, 8)});
  cases.push_back({"shorter than the file header", "FFL"});

  int number = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Every file is verified once, so each case gets its own name, without a backup.
    const std::string name = "broken" + std::to_string(number++) + ".dat";
    folder_.WriteFile(name, c.bytes);
    std::vector<unsigned char> data;
    EXPECT_FALSE(ExtractParameters(messages_, folder_.Path(name), "CController", &data));
    EXPECT_TRUE(data.empty());
    EXPECT_TRUE(LogHasExtractionFailure("CController"));
  }
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(ParameterStoreTest, ADamagedFileIsReplacedByAGoodBackupOnceBeforeItsFirstExtraction) {
  const std::string good = BuildParameterFile({{"CController", kControllerBytes}});
  folder_.WriteFile("a.dat", Damaged(good));
  folder_.WriteFile("a.dat.bak", good);

  std::vector<unsigned char> data;
  ASSERT_TRUE(ExtractParameters(messages_, folder_.Path("a.dat"), "CController", &data));
  EXPECT_EQ(Bytes(data), kControllerBytes);
  EXPECT_EQ(folder_.ReadFile("a.dat"), good);
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, kParameterBackupUsed.second);
  EXPECT_EQ(messages_.messages()[0].style, 0x30u);

  // Verified once per run: damage that appears later is read as it is.
  folder_.WriteFile("a.dat", Damaged(good));
  ASSERT_TRUE(ExtractParameters(messages_, folder_.Path("A.DAT"), "CController", &data));
  EXPECT_EQ(messages_.messages().size(), 1u);
  // The next run in the same process verifies it again.
  RecordingSink nextRun;
  ASSERT_TRUE(ExtractParameters(nextRun, folder_.Path("a.dat"), "CController", &data));
  EXPECT_EQ(folder_.ReadFile("a.dat"), good);
  EXPECT_EQ(nextRun.messages().size(), 1u);
}

TEST_F(ParameterStoreTest, EveryConfigurationsFileIsVerifiedNotOnlyTheFirstOfTheRun) {
  const std::string good = BuildParameterFile({{"CController", kControllerBytes}});
  const std::string damaged = Damaged(good);
  for (const char* configuration : {"A", "B", "C"}) {
    const std::string path = std::string(configuration) + "\\vexorand.dat";
    folder_.WriteFile(path, configuration[0] == 'A' ? good : damaged);
    folder_.WriteFile(path + ".bak", good);
  }
  for (const char* configuration : {"A", "B", "C"}) {
    std::vector<unsigned char> data;
    ASSERT_TRUE(ExtractParameters(messages_,
                                  folder_.Path(std::string(configuration) + "\\vexorand.dat"),
                                  "CController", &data));
    EXPECT_EQ(Bytes(data), kControllerBytes) << configuration;
  }
  EXPECT_EQ(messages_.messages().size(), 2u);
  EXPECT_EQ(folder_.ReadFile("B\\vexorand.dat"), good);
  EXPECT_EQ(folder_.ReadFile("C\\vexorand.dat"), good);
}

TEST_F(ParameterStoreTest, ADamagedFileWithoutAGoodBackupIsLeftAloneAndStillRead) {
  const std::string good = BuildParameterFile({{"CController", kControllerBytes}});
  folder_.WriteFile("nobackup.dat", Damaged(good));
  folder_.WriteFile("badbackup.dat", Damaged(good));
  folder_.WriteFile("badbackup.dat.bak", Damaged(good));
  for (const char* name : {"nobackup.dat", "badbackup.dat"}) {
    std::vector<unsigned char> data;
    EXPECT_TRUE(ExtractParameters(messages_, folder_.Path(name), "CController", &data)) << name;
    EXPECT_EQ(folder_.ReadFile(name), Damaged(good)) << name;
  }
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_FALSE(VerifyOrRestoreParameterFile(messages_, folder_.Path("nobackup.dat")));
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(ParameterStoreTest, AFailedRestoreNamesTheFileAndTheSystemErrorCode) {
  // A folder where the file should be cannot be read, nor replaced by the good backup.
  folder_.WriteFile("locked.dat\\inside", "");
  folder_.WriteFile("locked.dat.bak", BuildParameterFile({{"CController", kControllerBytes}}));

  EXPECT_FALSE(VerifyOrRestoreParameterFile(messages_, folder_.Path("locked.dat")));
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text,
            "Access parameters configuration file failed! File Name'" + folder_.Path("locked.dat") +
                "', Error Code(5).");
  EXPECT_TRUE(platform::IsDirectory(folder_.Path("locked.dat")));
}

}  // namespace
