#include "tests/ui/window_driver.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/wide_text.h"

namespace {

constexpr UINT kTickMs = 20;
// After this long without the expected window the modal loops are ended so the test can fail.
constexpr int kGiveUpTicks = 10000 / kTickMs;

WindowDriver* g_driver = nullptr;

std::wstring WindowTextWide(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

WindowDriver::WindowDriver() {
  g_driver = this;
  timer_ = SetTimer(nullptr, 0, kTickMs, &WindowDriver::OnTick);
}

WindowDriver::~WindowDriver() {
  KillTimer(nullptr, timer_);
  g_driver = nullptr;
  // Drop the ticks still queued for this thread.
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
  }
}

void WindowDriver::When(const std::wstring& caption, Action action) {
  steps_.push_back({caption, std::move(action)});
}

WindowDriver::Action WindowDriver::PressKey(WPARAM key) {
  return [key](HWND window) {
    HWND focus = GetFocus();
    HWND target = focus != nullptr && (focus == window || IsChild(window, focus)) ? focus : window;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));  // released
  };
}

WindowDriver::Action WindowDriver::Click(int controlId) {
  return [controlId](HWND window) { PostMessageW(GetDlgItem(window, controlId), BM_CLICK, 0, 0); };
}

WindowDriver::Action WindowDriver::Command(int commandId) {
  return [commandId](HWND window) {
    PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(commandId), 0);
  };
}

void CALLBACK WindowDriver::OnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_driver != nullptr) {
    g_driver->Tick();
  }
}

void WindowDriver::Tick() {
  if (steps_.empty()) {
    return;
  }
  for (HWND window : ThreadWindows()) {
    if (IsWindowVisible(window) && WindowTextWide(window) == steps_.front().caption) {
      Step step = std::move(steps_.front());
      steps_.pop_front();
      idleTicks_ = 0;
      step.action(window);
      return;
    }
  }
  if (++idleTicks_ == kGiveUpTicks) {
    ADD_FAILURE() << "no window captioned \"" << Utf8FromWide(steps_.front().caption) << "\"";
    steps_.clear();
    for (HWND window : ThreadWindows()) {
      EndDialog(window, 0);
    }
  }
}

std::string WindowTextUtf8(HWND window) {
  return Utf8FromWide(WindowTextWide(window));
}
