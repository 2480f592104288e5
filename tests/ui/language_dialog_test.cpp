#include "ui/language_dialog.h"

#include <gtest/gtest.h>

#include "tests/ui/setup_module.h"
#include "tests/ui/window_driver.h"
#include "ui/resource_ids.h"

namespace {

const wchar_t kCaption[] = L"Vexorand Setup Program";

class LanguageDialogTest : public ::testing::Test {
 protected:
  bool Run() {
    const bool chosen = ChooseLanguage(SetupModule(), &language_);
    EXPECT_TRUE(driver_.Done());
    return chosen;
  }

  WindowDriver driver_;
  int language_ = 1;  // neither choice, so a choice shows
};

RECT ClientPlace(HWND dialog, int id) {
  RECT rect;
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

TEST_F(LanguageDialogTest, EnterAtOnceChoosesRussian) {
  driver_.When(kCaption, WindowDriver::PressKey(VK_RETURN));
  EXPECT_TRUE(Run());
  EXPECT_EQ(language_, 2);
}

TEST_F(LanguageDialogTest, TheChineseButtonChoosesChinese) {
  driver_.When(kCaption, WindowDriver::Click(IDC_CHINESE_BUTTON));
  EXPECT_TRUE(Run());
  EXPECT_EQ(language_, 0);
}

TEST_F(LanguageDialogTest, TabThenEnterChoosesChinese) {
  driver_.When(kCaption, WindowDriver::PressKey(VK_TAB));
  driver_.When(kCaption, WindowDriver::PressKey(VK_RETURN));
  EXPECT_TRUE(Run());
  EXPECT_EQ(language_, 0);
}

TEST_F(LanguageDialogTest, EscapeAndTheCloseBoxChooseNothing) {
  driver_.When(kCaption, WindowDriver::PressKey(VK_ESCAPE));
  EXPECT_FALSE(Run());
  driver_.When(kCaption, [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); });
  EXPECT_FALSE(Run());
  EXPECT_EQ(language_, 1);
}

TEST_F(LanguageDialogTest, ButtonsAreSizedToThePicturesAndTheDialogIsCentred) {
  driver_.When(kCaption, [](HWND dialog) {
    const RECT chinese = ClientPlace(dialog, IDC_CHINESE_BUTTON);
    const RECT russian = ClientPlace(dialog, IDC_RUSSIAN_BUTTON);
    EXPECT_EQ(chinese.right - chinese.left, 200);
    EXPECT_EQ(chinese.bottom - chinese.top, 35);
    EXPECT_EQ(russian.right - russian.left, 200);
    EXPECT_EQ(russian.bottom - russian.top, 35);
    EXPECT_EQ(russian.left, chinese.left);
    EXPECT_EQ(russian.top - chinese.bottom, chinese.top);

    // Sized as an overlapped window, whose frame is at least as thick as the dialog's: the client
    // area holds both buttons with their margins.
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_GE(client.right, chinese.right + chinese.left);
    EXPECT_GE(client.bottom, russian.bottom + chinese.top);

    RECT frame;
    GetWindowRect(dialog, &frame);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_NEAR(frame.left + frame.right, monitor.rcWork.left + monitor.rcWork.right, 1);
    EXPECT_NEAR(frame.top + frame.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);

    EXPECT_NE(SendDlgItemMessageW(dialog, IDC_CHINESE_BUTTON, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_NE(SendDlgItemMessageW(dialog, IDC_RUSSIAN_BUTTON, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(Run());
}
