// Plays the user's part while a modal dialog or message box runs: when a window of this thread
// with the expected caption appears, the next action is done to it.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

class WindowDriver {
 public:
  using Action = std::function<void(HWND window)>;

  WindowDriver();
  ~WindowDriver();
  WindowDriver(const WindowDriver&) = delete;
  WindowDriver& operator=(const WindowDriver&) = delete;

  // Queues `action` for the next visible window captioned `caption`.
  void When(const std::wstring& caption, Action action);
  // True when every queued action has been done.
  bool Done() const { return steps_.empty(); }

  // Actions for the common cases.
  static Action PressKey(WPARAM key);
  static Action Click(int controlId);
  static Action Command(int commandId);

 private:
  static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);
  void Tick();

  struct Step {
    std::wstring caption;
    Action action;
  };
  std::deque<Step> steps_;
  UINT_PTR timer_ = 0;
  int idleTicks_ = 0;
};

// The text of a window, as UTF-8.
std::string WindowTextUtf8(HWND window);
