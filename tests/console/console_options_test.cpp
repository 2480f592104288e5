#include "console/console_options.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/posix/fault_injection.h"

namespace {

bool Parse(const std::vector<std::string>& arguments, ConsoleOptions* options, std::string* error) {
  return ParseConsoleOptions(arguments, options, error);
}

}  // namespace

TEST(ConsoleOptionsTest, ReadsEveryOptionInBothSpellings) {
  ConsoleOptions options;
  std::string error;
  ASSERT_TRUE(
      Parse({"--root", "/m", "--lang=ru", "--answer", "No", "--allow-power-off"}, &options, &error))
      << error;
  EXPECT_EQ(options.root, "/m");
  EXPECT_EQ(options.language, ConsoleOptions::Language::kRussian);
  EXPECT_TRUE(options.scripted);
  EXPECT_TRUE(options.answerAll);
  EXPECT_FALSE(options.answerAllYes);
  EXPECT_TRUE(options.allowPowerOff);

  ConsoleOptions other;
  ASSERT_TRUE(Parse({"--root=/x", "--lang", "zh"}, &other, &error)) << error;
  EXPECT_EQ(other.root, "/x");
  EXPECT_EQ(other.language, ConsoleOptions::Language::kChinese);
  EXPECT_FALSE(other.scripted);
  EXPECT_FALSE(other.allowPowerOff);
}

TEST(ConsoleOptionsTest, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> mistakes = {
      {"--lang", "en"},
      {"--answer", "maybe", "--lang", "zh"},
      {"--root"},
      {"--frobnicate"},
      {"--answers", "/no/such/answers/file", "--lang", "zh"},
      // Nobody could choose the language of a scripted run.
      {"--answer", "yes"},
  };
  for (const auto& arguments : mistakes) {
    ConsoleOptions options;
    std::string error;
    EXPECT_FALSE(Parse(arguments, &options, &error)) << arguments[0];
    EXPECT_FALSE(error.empty()) << arguments[0];
  }
}

TEST(ConsoleOptionsTest, AnswersFileHoldsOneAnswerPerLine) {
  std::vector<bool> answers;
  std::string error;
  ASSERT_TRUE(ParseAnswers("# confirmation\nyes\n\n  OK  # the warning\r\nn\ncancel\nY\n", &answers,
                           &error));
  EXPECT_EQ(answers, (std::vector<bool>{true, true, false, false, true}));

  // A byte-order mark from a Windows editor; the buttons as the localised questions name them.
  answers.clear();
  ASSERT_TRUE(ParseAnswers("\xEF\xBB\xBFyes\n是\n取消\nДА\nотмена\n", &answers, &error)) << error;
  EXPECT_EQ(answers, (std::vector<bool>{true, true, false, true, false}));

  answers.clear();
  EXPECT_FALSE(ParseAnswers("yes\nperhaps\n", &answers, &error));
  EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

TEST(ConsoleOptionsTest, AnswersMayNameTheirQuestions) {
  std::vector<bool> answers;
  std::map<std::string, bool> named;
  std::string error;
  ASSERT_TRUE(ParseAnswers("keep-parameters=yes\nyes\n Separate = n # apart\npower-off=no\n",
                           &answers, &error, &named))
      << error;
  EXPECT_EQ(answers, std::vector<bool>{true});
  EXPECT_EQ(named, (std::map<std::string, bool>{
                       {"keep-parameters", true}, {"separate", false}, {"power-off", false}}));
  EXPECT_FALSE(ParseAnswers("keep=yes\n", &answers, &error, &named));
  EXPECT_NE(error.find("'keep' names no question (start, delete-installation"), std::string::npos)
      << error;

  ConsoleOptions options;
  ASSERT_TRUE(
      Parse({"--answer", "separate=no", "--answer=start=yes", "--lang", "ru"}, &options, &error))
      << error;
  EXPECT_FALSE(options.answerAll);
  EXPECT_EQ(options.namedAnswers.size(), 2u);
}

TEST(ConsoleOptionsTest, AnswersFileAndAnswerExcludeEachOther) {
  const std::string path = ::testing::TempDir() + "console-answers.txt";
  std::ofstream(path) << "yes\nno\n";
  ConsoleOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--answers", path, "--lang", "zh"}, &options, &error)) << error;
  EXPECT_EQ(options.answers, (std::vector<bool>{true, false}));
  EXPECT_FALSE(Parse({"--answers", path, "--answer", "yes", "--lang", "zh"}, &options, &error));
}

#ifdef SETUP_FAULT_INJECTION
// What a failing disk let through of the answers file must not script the run.
TEST(ConsoleOptionsTest, AnAnswersFileThatCannotBeReadIsRefused) {
  const std::string path =
      ::testing::TempDir() + "console-answers-" + std::to_string(getpid()) + ".txt";
  std::ofstream(path) << "yes\nno\n";
  ConsoleOptions options;
  std::string error;
  platform::ArmFault(1, EIO, platform::FileOperation::kRead);
  const bool parsed = Parse({"--answers", path, "--lang", "zh"}, &options, &error);
  platform::DisarmFaults();
  std::remove(path.c_str());
  EXPECT_FALSE(parsed);
  EXPECT_EQ(error, "cannot read the answers file " + path);
}
#endif
