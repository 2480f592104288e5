#include "console/console_prompter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "base/language.h"
#include "base/message_box.h"
#include "base/messages.h"
#include "base/text_format.h"
#include "console/question_names.h"

namespace {

ConsoleOptions Interactive() {
  return ConsoleOptions{};
}

ConsoleOptions Scripted(std::vector<bool> answers) {
  ConsoleOptions options;
  options.scripted = true;
  options.answers = std::move(answers);
  return options;
}

}  // namespace

// Enter takes the default button; for 0x104 that is No.
TEST(ConsolePrompterTest, EmptyLineTakesTheDefaultButton) {
  std::istringstream in("\n\n\n\n");
  std::ostringstream out;
  ConsolePrompter prompter(Interactive(), in, out);
  EXPECT_EQ(prompter.Prompt("separate?", kMbYesNo | kMbDefaultButton2), kIdNo);
  EXPECT_EQ(prompter.Prompt("switch off?", kMbYesNo | kMbIconExclamation), kIdYes);
  EXPECT_EQ(prompter.Prompt("delete?", kMbOkCancel | kMbIconExclamation), kIdOk);
  EXPECT_EQ(prompter.Prompt("failed", kMbOk), kIdOk);
  const std::string shown = out.str();
  EXPECT_NE(shown.find("separate?\n[Yes / No, default No] No"), std::string::npos) << shown;
  EXPECT_NE(shown.find("[OK / Cancel, default OK] OK"), std::string::npos) << shown;
}

TEST(ConsolePrompterTest, TypedAnswersAndEndOfInput) {
  std::istringstream in("maybe\ncancel\ny\n");
  std::ostringstream out;
  ConsolePrompter prompter(Interactive(), in, out);
  EXPECT_EQ(prompter.Prompt("delete?", kMbOkCancel), kIdCancel);
  EXPECT_NE(out.str().find("[OK / Cancel, default OK] [OK / Cancel, default OK] Cancel"),
            std::string::npos)
      << out.str();
  EXPECT_EQ(prompter.Prompt("separate?", kMbYesNo | kMbDefaultButton2), kIdYes);
  // Nobody is left to agree to anything.
  EXPECT_EQ(prompter.Prompt("switch off?", kMbYesNo), kIdNo);
  EXPECT_EQ(prompter.Prompt("delete?", kMbOkCancel), kIdCancel);
}

// The buttons as each language names them, in any letter case and with spaces around.
TEST(ConsolePrompterTest, ButtonNamesOfEveryLanguageAnswer) {
  const struct {
    const char* typed;
    unsigned style;
    int button;
  } cases[] = {
      {"是\n", kMbYesNo | kMbDefaultButton2, kIdYes},      {" 否 \n", kMbYesNo, kIdNo},
      {"确定\n", kMbOkCancel | kMbDefaultButton2, kIdOk},  {"取消\n", kMbOkCancel, kIdCancel},
      {"ДА\n", kMbYesNo | kMbDefaultButton2, kIdYes},      {"нет\n", kMbYesNo, kIdNo},
      {"Ок\n", kMbOkCancel | kMbDefaultButton2, kIdOk},    {"ОТМЕНА\n", kMbOkCancel, kIdCancel},
      {"  Yes\t\n", kMbYesNo | kMbDefaultButton2, kIdYes}, {"   \n", kMbYesNo, kIdYes},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.typed);
    std::ostringstream out;
    ConsolePrompter prompter(Interactive(), in, out);
    EXPECT_EQ(prompter.Prompt("question", c.style), c.button) << c.typed;
  }
}

// Scripted answers go to the questions in order; an OK box takes none; then everything is No.
TEST(ConsolePrompterTest, ScriptedAnswersInOrder) {
  std::istringstream in("yes\nyes\n");  // never read
  std::ostringstream out;
  ConsolePrompter prompter(Scripted({true, false}), in, out);
  EXPECT_EQ(prompter.Prompt("delete?", kMbOkCancel), kIdOk);
  EXPECT_EQ(prompter.Prompt("note", kMbOk), kIdOk);
  EXPECT_EQ(prompter.Prompt("keep parameters?", kMbYesNo), kIdNo);
  EXPECT_EQ(prompter.Prompt("switch off?", kMbYesNo), kIdNo);
  EXPECT_EQ(prompter.Prompt("delete?", kMbOkCancel), kIdCancel);
  EXPECT_EQ(in.tellg(), 0);
}

// A named answer finds its question even when another was skipped, and takes no positional
// answer; a Yes to power-off without --allow-power-off says it is skipped.
TEST(ConsolePrompterTest, NamedAnswersFindTheirQuestions) {
  constexpr int kRussian = 2;
  ConsoleOptions options = Scripted({true});
  options.namedAnswers = {{"separate", false}, {"power-off", true}};
  std::istringstream in;
  std::ostringstream out;
  ConsolePrompter prompter(options, in, out);
  prompter.UseLanguage(kRussian);
  // No keep question on this machine: the positional Yes stays for the start question.
  EXPECT_EQ(
      prompter.Prompt(LocaliseFor(kSeparationQuestion, kRussian), kMbYesNo | kMbDefaultButton2),
      kIdNo);
  EXPECT_EQ(prompter.Prompt(LocaliseFor(kStartConfirmation, kRussian), kMbYesNo), kIdYes);
  EXPECT_EQ(prompter.Prompt(LocaliseFor(kPowerOffQuestion, kRussian), kMbYesNo), kIdYes);
  EXPECT_NE(out.str().find("power-off is skipped: --allow-power-off was not given"),
            std::string::npos)
      << out.str();
  const std::string keep = std::string(LocaliseFor(kKeepParametersListHeader, kRussian)) +
                           "Mill_A\n" + LocaliseFor(kKeepParametersQuestion, kRussian);
  EXPECT_EQ(prompter.Prompt(keep, kMbYesNo), kIdNo);  // unnamed here, and no answers are left
}

TEST(ConsolePrompterTest, TheUnfinishedRunQuestionHasItsName) {
  for (const int language : {0, 2}) {
    EXPECT_EQ(QuestionName(FormatText(LocaliseFor(kUnfinishedRunQuestion, language),
                                      "2026-12-07 22:46:08", "Mill_A\nLathe\n"),
                           language),
              "unfinished-run");
    EXPECT_EQ(QuestionName(LocaliseFor(kKeepParametersQuestion, language), language),
              "keep-parameters");
  }
}

TEST(ConsolePrompterTest, OneAnswerForAll) {
  ConsoleOptions options;
  options.scripted = options.answerAll = options.answerAllYes = true;
  std::istringstream in;
  std::ostringstream out;
  ConsolePrompter prompter(options, in, out);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(prompter.Prompt("separate?", kMbYesNo | kMbDefaultButton2), kIdYes);
    EXPECT_EQ(prompter.Prompt("delete?", kMbOkCancel), kIdOk);
  }
}

// As in the language dialog, Enter chooses Russian; the end of input cancels.
TEST(ConsolePrompterTest, LanguageQuestion) {
  const std::pair<const char*, int> cases[] = {{"1\n", 0},    {"\n", 2},   {"2\n", 2},
                                               {"x\n1\n", 0}, {"q\n", -1}, {"", -1}};
  for (const auto& [input, language] : cases) {
    std::istringstream in(input);
    std::ostringstream out;
    ConsolePrompter prompter(Interactive(), in, out);
    EXPECT_EQ(prompter.AskLanguage(), language) << input;
  }
}
