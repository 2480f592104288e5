#include "ui/message_box_win32.h"

#include <windows.h>

#include "base/message_box.h"
#include "platform/owner_window.h"
#include "ui/wide_text.h"

std::wstring ApplicationTitle(const std::wstring& modulePath) {
  const std::size_t slash = modulePath.find_last_of(L"\\/:");
  std::wstring name = slash == std::wstring::npos ? modulePath : modulePath.substr(slash + 1);
  const std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos && dot > 0) {
    name.erase(dot);
  }
  return name;
}

unsigned CompleteMessageBoxStyle(unsigned style) {
  if ((style & MB_ICONMASK) != 0) {
    return style;
  }
  switch (style & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
    case MB_YESNO:
    case MB_YESNOCANCEL:
      return style | MB_ICONEXCLAMATION;
    default:
      return style;
  }
}

namespace {

const std::wstring& ProgramTitle() {
  static const std::wstring title = [] {
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return ApplicationTitle(path);
  }();
  return title;
}

int ShowWin32MessageBox(const std::string& text, unsigned style) {
  HWND owner = static_cast<HWND>(platform::GetOwnerWindow());
  return MessageBoxW(owner, WideFromUtf8(text).c_str(), ProgramTitle().c_str(),
                     CompleteMessageBoxStyle(style));
}

}  // namespace

void InstallWin32MessageBox() {
  SetMessageBoxFunction(ShowWin32MessageBox);
}

int ShowUnownedWin32MessageBox(const std::string& text, unsigned style) {
  return MessageBoxW(nullptr, WideFromUtf8(text).c_str(), L"", CompleteMessageBoxStyle(style));
}
