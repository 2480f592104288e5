#include "ui/setup_application.h"

#include <gtest/gtest.h>

#include "app/run_report.h"
#include "base/messages.h"
#include "tests/support/message_recorder.h"
#include "tests/ui/setup_module.h"
#include "tests/ui/window_driver.h"
#include "ui/resource_ids.h"

namespace {

const wchar_t kLanguageCaption[] = L"Vexorand Setup Program";

class SetupApplicationTest : public ::testing::Test {
 protected:
  WindowDriver driver_;
};

}  // namespace

TEST_F(SetupApplicationTest, EscapeOnTheLanguageChoiceEndsWithoutAQuestion) {
  MessageRecorder recorder;
  driver_.When(kLanguageCaption, WindowDriver::PressKey(VK_ESCAPE));
  EXPECT_EQ(RunSetupApplication(SetupModule()), kExitCancelled);
  EXPECT_TRUE(driver_.Done());
  EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(SetupApplicationTest, NoToTheQuestionEndsBeforeTheProgressDialog) {
  for (const bool russian : {true, false}) {
    SCOPED_TRACE(russian ? "Russian" : "Chinese");
    // A Yes would open the progress dialog and start the update; the scripted No must end it.
    MessageRecorder recorder({kIdNo});
    driver_.When(kLanguageCaption,
                 WindowDriver::Click(russian ? IDC_RUSSIAN_BUTTON : IDC_CHINESE_BUTTON));
    EXPECT_EQ(RunSetupApplication(SetupModule()), kExitCancelled);
    ASSERT_EQ(recorder.messages().size(), 1u);
    EXPECT_EQ(recorder.messages()[0].text,
              russian ? kStartConfirmation.second : kStartConfirmation.chinese);
    EXPECT_EQ(recorder.messages()[0].style, unsigned{kMbYesNo | kMbIconExclamation});
  }
}
