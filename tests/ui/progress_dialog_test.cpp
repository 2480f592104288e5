#include "ui/progress_dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/run_report_output.h"
#include "app/update_sequencer.h"
#include "base/setup_run.h"
#include "platform/file_system.h"
#include "platform/owner_window.h"
#include "tests/support/message_recorder.h"
#include "tests/ui/setup_module.h"
#include "tests/ui/window_driver.h"

namespace {

// The run a dialog is made with, made before it.
struct OwnRun {
  SetupRun run;
};

// The dialog with a script in place of the update's steps, in the language given.
class ScriptedProgress : private OwnRun, public CProgressDialog {
 public:
  using Script = std::function<void(ScriptedProgress& dialog, UINT_PTR timerId)>;

  explicit ScriptedProgress(Script script, int language = 0)
      : CProgressDialog(SetupModule(), run), script_(std::move(script)) {
    run.language = language;
  }

  int steps = 0;
  int depth = 0;
  int deepest = 0;
  int endedWith = -1;

 protected:
  void EndProcess(int exitCode) override { endedWith = exitCode; }
  bool OnTimer(UINT_PTR timerId) override {
    if (timerId == kStepTimerId) {
      ++steps;
    }
    deepest = std::max(deepest, ++depth);
    script_(*this, timerId);
    --depth;
    return timerId == kStepTimerId;
  }

 private:
  Script script_;
};

bool LabelVisible(HWND dialog, int id) {
  HWND label = GetDlgItem(dialog, id);
  return label != nullptr && IsWindowVisible(label);
}

// Dispatches messages for a while, as a modal message box would.
void RunNestedLoop(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    } else {
      Sleep(5);
    }
  }
}

class ProgressDialogTest : public ::testing::TestWithParam<int> {
 protected:
  int Offset() const { return GetParam() == 0 ? 0 : 1000; }
};

}  // namespace

TEST_P(ProgressDialogTest, LabelsAppearOneByOneInTheLanguagesTemplate) {
  const int offset = Offset();
  ScriptedProgress progress(
      [offset](ScriptedProgress& dialog, UINT_PTR) {
        HWND window = dialog.Window();
        for (int id = 140; id <= 151; ++id) {
          EXPECT_FALSE(LabelVisible(window, id + offset)) << id;
        }
        dialog.ShowStepLabel(140);
        dialog.ShowStepLabel(145);
        dialog.ShowStepLabel(152);   // not a label: ignored
        dialog.ShowStepLabel(1140);  // already offset: not a label of this template either
        for (int id = 140; id <= 151; ++id) {
          EXPECT_EQ(LabelVisible(window, id + offset), id == 140 || id == 145) << id;
        }
        EXPECT_EQ(platform::GetOwnerWindow(), window);
        EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageW(window, WM_QUERYDRAGICON, 0, 0), 0);
        dialog.CloseProgress();
      },
      GetParam());
  EXPECT_EQ(progress.DoModal(), IDCANCEL);
  EXPECT_EQ(progress.steps, 1);
  EXPECT_EQ(platform::GetOwnerWindow(), nullptr);
}

TEST_P(ProgressDialogTest, EnterEscapeAndAltF4DoNotCloseIt) {
  ScriptedProgress progress(
      [](ScriptedProgress& dialog, UINT_PTR) {
        HWND window = dialog.Window();
        if (dialog.steps == 1) {
          for (const WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
            PostMessageW(window, WM_KEYDOWN, key, 1);
            PostMessageW(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));  // released
          }
          PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
          PostMessageW(window, WM_CLOSE, 0, 0);
        } else {
          dialog.CloseProgress();
        }
      },
      GetParam());
  EXPECT_EQ(progress.DoModal(), IDCANCEL);
  EXPECT_EQ(progress.steps, 2) << "the dialog closed before its second step";
}

TEST_P(ProgressDialogTest, EveryLabelHasRoomForItsWholeText) {
  const int offset = Offset();
  ScriptedProgress progress(
      [offset](ScriptedProgress& dialog, UINT_PTR) {
        HWND window = dialog.Window();
        RECT client;
        GetClientRect(window, &client);
        HDC dc = GetDC(window);
        HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
        for (int id = 140; id <= 151; ++id) {
          HWND label = GetDlgItem(window, id + offset);
          wchar_t text[256] = {};
          GetWindowTextW(label, text, 256);
          RECT needed = {0, 0, 0, 0};
          DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
          RECT place;
          GetWindowRect(label, &place);
          MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
          EXPECT_TRUE(place.right - place.left >= needed.right || place.right == client.right)
              << id + offset;
        }
        SelectObject(dc, previous);
        ReleaseDC(window, dc);
        dialog.CloseProgress();
      },
      GetParam());
  progress.DoModal();
}

INSTANTIATE_TEST_SUITE_P(ChineseAndRussian, ProgressDialogTest, ::testing::Values(0, 2));

TEST(ProgressDialogTimer, TicksEveryHalfSecondUntilStopped) {
  constexpr UINT_PTR kOtherTimer = 7;
  DWORD opened = 0;
  DWORD firstStep = 0;
  int otherTimers = 0;
  ScriptedProgress progress([&](ScriptedProgress& dialog, UINT_PTR timerId) {
    if (timerId == kOtherTimer) {
      // Armed at the second step; the stopped step timer delivered nothing meanwhile.
      ++otherTimers;
      EXPECT_EQ(dialog.steps, 2);
      dialog.CloseProgress();
    } else if (dialog.steps == 1) {
      firstStep = GetTickCount();
    } else {
      // A periodic timer keeps its period from when it was armed, so a first tick delivered late
      // (a loaded machine) comes closer to the second; measure both from the opening.
      EXPECT_GE(GetTickCount() - opened, 900u) << "the second step runs two periods after opening";
      dialog.StopStepTimer();
      SetTimer(dialog.Window(), kOtherTimer, 1200, nullptr);
    }
  });
  opened = GetTickCount();
  EXPECT_EQ(progress.DoModal(), IDCANCEL);
  EXPECT_GE(firstStep - opened, 400u) << "the first step runs one period after opening";
  EXPECT_EQ(otherTimers, 1);
}

TEST(ProgressDialogTimer, NoStepStartsInsideAStepsMessageLoop) {
  ScriptedProgress progress([](ScriptedProgress& dialog, UINT_PTR) {
    if (dialog.steps == 1) {
      RunNestedLoop(1300);  // two periods of the still running step timer
    } else {
      dialog.CloseProgress();
    }
  });
  EXPECT_EQ(progress.DoModal(), IDCANCEL);
  EXPECT_EQ(progress.deepest, 1);
  EXPECT_EQ(progress.steps, 2);
}

TEST(ProgressDialogMessages, GoThroughTheProcessMessageFunction) {
  MessageRecorder recorder({kIdNo});
  int answer = 0;
  ScriptedProgress progress([&answer](ScriptedProgress& dialog, UINT_PTR) {
    answer = dialog.ShowMessage("question", 0x104);
    dialog.CloseProgress();
  });
  progress.DoModal();
  EXPECT_EQ(answer, kIdNo);
  ASSERT_EQ(recorder.messages().size(), 1u);
  EXPECT_EQ(recorder.messages()[0].style, 0x104u);
}

// Windows may end the process with a code of its own after WM_ENDSESSION: the run's report is
// written and the process ends with the run's code first. A session that goes on changes nothing.
TEST(ProgressDialogSession, EndingTheSessionEndsTheRunWithItsOwnExitCode) {
  ScriptedProgress progress([](ScriptedProgress& dialog, UINT_PTR) {
    SendMessageW(dialog.Window(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(dialog.endedWith, -1);
    platform::RemoveFile(GetReportFilePath(dialog.Run()));
    SendMessageW(dialog.Window(), WM_ENDSESSION, TRUE, 0);
  });
  EXPECT_EQ(progress.DoModal(), IDCANCEL);
  EXPECT_EQ(progress.endedWith, kExitCancelled);
  EXPECT_TRUE(platform::PathExists(GetReportFilePath(progress.Run())));
}

// The system's own error texts (a failed INF registration) stand apart from the run's windows.
TEST(ProgressDialogMessages, UnownedBoxHasNoOwnerAndAnEmptyCaption) {
  WindowDriver driver;
  HWND owner = reinterpret_cast<HWND>(1);
  std::string text;
  driver.When(L"", [&](HWND box) {
    owner = GetWindow(box, GW_OWNER);
    text = WindowTextUtf8(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  int answer = 0;
  ScriptedProgress progress([&answer](ScriptedProgress& dialog, UINT_PTR) {
    answer = dialog.ShowUnownedMessage("Access is denied.", kMbOk | kMbIconStop);
    dialog.CloseProgress();
  });
  progress.DoModal();
  EXPECT_TRUE(driver.Done());
  EXPECT_EQ(answer, kIdOk);
  EXPECT_EQ(owner, nullptr);
  EXPECT_EQ(text, "Access is denied.");
}
