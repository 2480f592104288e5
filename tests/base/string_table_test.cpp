#include "base/string_table.h"

#include <gtest/gtest.h>

#include <string>

#include "base/language_folder.h"
#include "base/setup_log.h"
#include "platform/file_system.h"
#include "tests/support/message_recorder.h"
#include "tests/support/scoped_log_directory.h"
#include "tests/support/temp_folder.h"

namespace {

// An installation whose language folder holds the string file, and a log in the same folder.
class StringTableTest : public ::testing::Test {
 protected:
  StringTableTest() {
    temp_.WriteFile("Lang\\Lang.ini", "[ActiveLang]\r\nActiveLang=chn\r\n");
    WriteStrings("");
    DetermineLanguageFolder(temp_.path(), messages_);
    FreeStrings(messages_);
  }
  ~StringTableTest() override { FreeStrings(messages_); }

  void WriteStrings(const std::string& text) {
    temp_.WriteFile("Lang\\chn\\Vexorand.string", text);
  }
  std::string Log() const {
    return platform::PathExists(GetLogFilePath(messages_.Run()))
               ? temp_.ReadFile("VexorandSetupLog.txt")
               : "";
  }

  MessageRecorder messages_;
  TempFolder temp_;
  ScopedLogDirectory log_{messages_.Run(), temp_.path()};
};

TEST_F(StringTableTest, IndexesOutsideOneToMaxIndexAreNotRead) {
  WriteStrings("[Attribute]\r\nMaxIndex=3\r\n[STRING]\r\n0=zero\r\n1=one\r\n3=three\r\n4=four\r\n");
  EXPECT_EQ(GetString(0, messages_), "");
  EXPECT_EQ(GetString(1, messages_), "one");
  EXPECT_EQ(GetString(3, messages_), "three");
  EXPECT_EQ(GetString(4, messages_), "!ErrStr!");
  EXPECT_EQ(GetString(-1, messages_), "!ErrStr!");
  EXPECT_EQ(Log(), "");  // nothing was looked up in vain
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(StringTableTest, MissingKeyIsLoggedOnceAndCached) {
  WriteStrings("[attribute]\r\nmaxindex=5\r\n[string]\r\n1=one\r\n");
  EXPECT_EQ(GetString(2, messages_), "!ErrStr!");
  EXPECT_EQ(GetString(2, messages_), "!ErrStr!");
  const std::string log = Log();
  EXPECT_EQ(log.find("|E|Load string 2 failed\n  "), 0u) << log;
  EXPECT_EQ(log.find("|E|", 1), std::string::npos) << log;
  EXPECT_EQ(GetString(1, messages_), "one");  // section and key names in any case
}

TEST_F(StringTableTest, TextsAreDecodedAndKeptUntilFreed) {
  WriteStrings("[Attribute]\r\nMaxIndex=3\r\n[STRING]\r\n1=\\101\\x41\\q\r\n2=tab\\there\\\r\n");
  const std::string& first = GetString(1, messages_);
  EXPECT_EQ(first, "AAq");
  EXPECT_EQ(GetString(2, messages_), "tab\there");
  // The table is not reloaded while loaded: new file contents only reach indexes not yet read.
  WriteStrings("[Attribute]\r\nMaxIndex=3\r\n[STRING]\r\n1=new\r\n3=three\r\n");
  EXPECT_EQ(GetString(1, messages_), "AAq");
  EXPECT_EQ(&GetString(1, messages_), &first);
  EXPECT_EQ(GetString(3, messages_), "three");
  FreeStrings(messages_);
  EXPECT_EQ(GetString(1, messages_), "new");
}

TEST_F(StringTableTest, WithoutMaxIndexEveryLookupTriesTheFileAgain) {
  WriteStrings("[STRING]\r\n1=one\r\n");
  EXPECT_EQ(GetString(1, messages_), "!ErrStr!");
  EXPECT_EQ(GetString(0, messages_), "!ErrStr!");
  WriteStrings("[Attribute]\r\nMaxIndex=0\r\n[STRING]\r\n1=one\r\n");
  EXPECT_EQ(GetString(1, messages_), "!ErrStr!");
  WriteStrings("[Attribute]\r\nMaxIndex=-3\r\n[STRING]\r\n1=one\r\n");
  EXPECT_EQ(GetString(1, messages_), "!ErrStr!");
  WriteStrings("[Attribute]\r\nMaxIndex=1\r\n[STRING]\r\n1=one\r\n");
  EXPECT_EQ(GetString(1, messages_), "one");
  EXPECT_EQ(Log(), "");
}

TEST_F(StringTableTest, HugeMaxIndexCostsNothingUpFront) {
  WriteStrings("[Attribute]\r\nMaxIndex=2147483647\r\n[STRING]\r\n2147483647=last\r\n");
  EXPECT_EQ(GetString(2147483647, messages_), "last");
  EXPECT_EQ(GetString(0, messages_), "");
}

TEST_F(StringTableTest, LongTextsAreCutAt1023Characters) {
  WriteStrings("[Attribute]\r\nMaxIndex=1\r\n[STRING]\r\n1=" + std::string(1500, 'w') + "\r\n");
  EXPECT_EQ(GetString(1, messages_), std::string(1023, 'w'));
}

}  // namespace
