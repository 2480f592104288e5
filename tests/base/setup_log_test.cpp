#include "base/setup_log.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "base/message_box.h"
#include "platform/file_system.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_folder.h"

namespace {

platform::LocalTime MayDayMorning() {
  platform::LocalTime time;
  time.year = 2024;
  time.month = 5;
  time.day = 1;
  time.hour = 9;
  time.minute = 5;
  time.second = 3;
  return time;
}

TEST(FormatLogLine, TextThenTimeStampWithoutLeadingZeros) {
  EXPECT_EQ(FormatLogLine("abc", MayDayMorning()), "abc  9:5:3 2024/5/1 \r\n");
  // A text ending in a line feed puts the stamp at the start of the next line.
  EXPECT_EQ(FormatLogLine("|E|Load string 7 failed\n", MayDayMorning()),
            "|E|Load string 7 failed\n  9:5:3 2024/5/1 \r\n");
  platform::LocalTime late = MayDayMorning();
  late.hour = 23;
  late.minute = 59;
  late.second = 0;
  late.month = 12;
  late.day = 31;
  EXPECT_EQ(FormatLogLine("", late), "  23:59:0 2024/12/31 \r\n");
  // Percent signs in the text are not conversions.
  EXPECT_EQ(FormatLogLine("100%s", MayDayMorning()), "100%s  9:5:3 2024/5/1 \r\n");
}

class SetupLogTest : public ::testing::Test {
 protected:
  SetupLogTest() { messages_.Run().logDirectory = temp_.path(); }

  MessageRecorder messages_;
  TempFolder temp_;
};

const char kStamp[] = R"(  \d{1,2}:\d{1,2}:\d{1,2} \d{4}/\d{1,2}/\d{1,2} \r\n)";

TEST_F(SetupLogTest, EntriesAreAppendedToWhatTheFileHolds) {
  EXPECT_EQ(GetLogFilePath(messages_.Run()), temp_.Path("VexorandSetupLog.txt"));
  AppendLogLine("first\n", messages_);
  messages_.WriteLogFormatted("|E|Load string %d failed\n", 42);
  // A later run finds the file and appends.
  AppendLogLine("third", messages_);
  const std::string log = temp_.ReadFile("VexorandSetupLog.txt");
  EXPECT_TRUE(std::regex_match(
      log, std::regex(std::string("first\n") + kStamp + "\\|E\\|Load string 42 failed\n" + kStamp +
                      "third" + kStamp)))
      << log;
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(SetupLogTest, ExistingContentIsKept) {
  temp_.WriteFile("VexorandSetupLog.txt", "older run\r\n");
  AppendLogLine("x", messages_);
  const std::string log = temp_.ReadFile("VexorandSetupLog.txt");
  EXPECT_EQ(log.rfind("older run\r\nx  ", 0), 0u) << log;
}

TEST_F(SetupLogTest, UnwritableLogShowsOneMessagePerLostEntry) {
  messages_.Run().logDirectory = temp_.Path("missing\\");
  AppendLogLine("lost", messages_);
  messages_.WriteLogFormatted("lost %s", "too");
  ASSERT_EQ(messages_.messages().size(), 2u);
  EXPECT_EQ(messages_.messages()[0].text, "Open log file failed!");
  EXPECT_EQ(messages_.messages()[0].style, kMbOk);
  EXPECT_FALSE(platform::PathExists(temp_.Path("missing")));
}

}  // namespace
