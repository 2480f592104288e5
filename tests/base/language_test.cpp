#include "base/language.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/messages.h"

namespace {

class LanguageTest : public ::testing::Test {};

TEST_F(LanguageTest, LocaliseAndResourceOffsetFollowTheIndex) {
  const TwoTextMessage message = {"chinese", "second"};
  EXPECT_STREQ(LocaliseFor(message, 0), "chinese");
  EXPECT_EQ(ResourceOffset(102, 0), 102);
  for (int index : {1, 2, -1, 7}) {
    EXPECT_STREQ(LocaliseFor(message, index), "second") << index;
    EXPECT_EQ(ResourceOffset(102, index), 1102) << index;
    EXPECT_EQ(ResourceOffset(140, index), 1140) << index;
  }
}

TEST_F(LanguageTest, StepLabelsCoverTheTwelveSteps) {
  EXPECT_EQ(StepLabelText(139), nullptr);
  EXPECT_EQ(StepLabelText(152), nullptr);
  EXPECT_EQ(StepLabelText(1140), nullptr);
  for (int id = 140; id <= 151; ++id) {
    ASSERT_NE(StepLabelText(id), nullptr) << id;
  }
  EXPECT_STREQ(LocaliseFor(*StepLabelText(140), 2), "Ждать закрытия Vexorand...");
  EXPECT_STREQ(LocaliseFor(*StepLabelText(151), 2),
               "Выйдите из операционной системы, выключите компьютер!");
  EXPECT_NE(std::string(LocaliseFor(*StepLabelText(140), 0)).find("Vexorand"), std::string::npos);
}

// The printf conversions of a text, in order ("%s", "%d", "%1!s!", ...).
std::vector<std::string> Conversions(const std::string& text) {
  std::vector<std::string> found;
  for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) {
    std::size_t end = at + 1;
    if (end < text.size() && text[end] >= '1' && text[end] <= '9') {
      end = text.find('!', text.find('!', end) + 1);  // %1!s!
    }
    found.push_back(text.substr(at, end - at + 1));
    at = end;
  }
  return found;
}

// Both texts of a message are filled with the same arguments, so their inserts must agree.
TEST_F(LanguageTest, BothTextsOfEveryMessageTakeTheSameInserts) {
  const TwoTextMessage* messages[] = {
      &kUpdateWarning,           &kGeneratedFilesMissing, &kPackageUnreadable,
      &kSignatureMismatch,       &kTempFileFailed,        &kProcessStartFailed,
      &kSeparationQuestion,      &kPowerOffQuestion,      &kInvalidState,
      &kLanguagePathMissing,     &kLanguageFileMissing,   &kLanguageFileBroken,
      &kParameterBackupUsed,     &kParameterCopyFailed,   &kKeepParametersListHeader,
      &kKeepParametersQuestion,  &kParameterDumpFailed,   &kVersionsIncompatible,
      &kTransferReportHeader,    &kTransferSucceeded,     &kTransferWriteFailed,
      &kWrongGeneratedDirectory, &kNoOtherDrive,          &kArrayGroupName,
      &kSerialNumberOrder,       &kStartConfirmation,     &kProgressCaption};
  for (const TwoTextMessage* message : messages) {
    ASSERT_NE(message->chinese[0], '\0');
    ASSERT_NE(message->second[0], '\0');
    EXPECT_EQ(Conversions(message->chinese), Conversions(message->second)) << message->second;
  }
  EXPECT_EQ(Conversions(kUpdateWarning.second), std::vector<std::string>{"%s"});
  EXPECT_EQ(Conversions(kParameterCopyFailed.chinese),
            (std::vector<std::string>{"%1!s!", "%2!d!"}));
}

}  // namespace
