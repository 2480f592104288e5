#include "base/message_box.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "base/messages.h"
#include "tests/ui/window_driver.h"
#include "ui/message_box_win32.h"

TEST(ApplicationTitle, IsTheFileNameWithoutFolderAndExtension) {
  EXPECT_EQ(ApplicationTitle(L"C:\\Temp\\Setup.exe"), L"Setup");
  EXPECT_EQ(ApplicationTitle(L"C:\\Update 5.4\\Setup"), L"Setup");
  EXPECT_EQ(ApplicationTitle(L"D:\\x\\Setup.v2.EXE"), L"Setup.v2");
  EXPECT_EQ(ApplicationTitle(L"Setup.exe"), L"Setup");
}

TEST(CompleteMessageBoxStyle, ButtonBoxesWithoutIconGetTheExclamation) {
  EXPECT_EQ(CompleteMessageBoxStyle(MB_OK), unsigned{MB_OK | MB_ICONEXCLAMATION});
  EXPECT_EQ(CompleteMessageBoxStyle(MB_OKCANCEL), unsigned{MB_OKCANCEL | MB_ICONEXCLAMATION});
  EXPECT_EQ(CompleteMessageBoxStyle(MB_YESNO | MB_DEFBUTTON2),
            unsigned{MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION});
  EXPECT_EQ(CompleteMessageBoxStyle(MB_YESNOCANCEL), unsigned{MB_YESNOCANCEL | MB_ICONEXCLAMATION});
  // An icon the caller names is kept; boxes of other kinds stay as they are.
  EXPECT_EQ(CompleteMessageBoxStyle(MB_OK | MB_ICONSTOP), unsigned{MB_OK | MB_ICONSTOP});
  EXPECT_EQ(CompleteMessageBoxStyle(MB_YESNO | MB_ICONQUESTION),
            unsigned{MB_YESNO | MB_ICONQUESTION});
  EXPECT_EQ(CompleteMessageBoxStyle(MB_RETRYCANCEL), unsigned{MB_RETRYCANCEL});
}

TEST(Win32MessageBox, ShowsTheUtf8TextUnderTheProgramNameAndReturnsTheAnswer) {
  InstallWin32MessageBox();
  WindowDriver driver;
  std::string shown;
  driver.When(L"ui_tests", [&shown](HWND box) {
    shown = WindowTextUtf8(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDNO, 0);
  });
  EXPECT_EQ(ShowMessageBox(kPowerOffQuestion.second, kMbYesNo | kMbIconExclamation), kIdNo);
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(shown, kPowerOffQuestion.second);

  driver.When(L"ui_tests", WindowDriver::PressKey(VK_RETURN));
  EXPECT_EQ(ShowMessageBox(kPowerOffQuestion.chinese, kMbOkCancel), kIdOk);
  SetMessageBoxFunction(nullptr);
}
