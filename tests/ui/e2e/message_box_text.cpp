// Waits for a message box of any process on this desktop and prints its handle, its owner's handle
// (0 for none), its caption and its text (UTF-8) on four lines, so the end-to-end check knows
// which question it is answering and how the box is shown.
//   message_box_text [TIMEOUT_MS [SKIP_HANDLE]]
// A box whose handle is SKIP_HANDLE (the one just answered, maybe still closing) does not count.
// Exit code 1 when no box appears in time (10 s by default).
//   message_box_text --shown HANDLE
// Exit code 0 while the box HANDLE is on screen, 1 once it is gone: for a box without a caption,
// which the check cannot find among the display's windows by name.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The static control that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  bytes.resize(bytes.size() - 1);
  return bytes;
}

struct Search {
  HWND skip;
  HWND found;
};

BOOL CALLBACK FindMessageBox(HWND window, LPARAM search) {
  auto* state = reinterpret_cast<Search*>(search);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (window != state->skip && IsWindowVisible(window) && std::wstring(className) == L"#32770" &&
      GetDlgItem(window, kMessageTextId) != nullptr) {
    state->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--shown") {
    const auto box =
        reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoull(argv[2], nullptr, 10)));
    return IsWindow(box) && IsWindowVisible(box) ? 0 : 1;
  }
  const DWORD timeout = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
  const auto skip = reinterpret_cast<HWND>(
      static_cast<std::uintptr_t>(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 0));
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeout) {
    Search search = {skip, nullptr};
    EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
    HWND box = search.found;
    if (box != nullptr) {
      wchar_t caption[256] = {};
      wchar_t text[4096] = {};
      GetWindowTextW(box, caption, 256);
      GetDlgItemTextW(box, kMessageTextId, text, 4096);
      const HWND owner = GetWindow(box, GW_OWNER);
      const std::string output = std::to_string(reinterpret_cast<std::uintptr_t>(box)) + "\n" +
                                 std::to_string(reinterpret_cast<std::uintptr_t>(owner)) + "\n" +
                                 Utf8(caption) + "\n" + Utf8(text) + "\n";
      _setmode(_fileno(stdout), _O_BINARY);  // plain line feeds for the shell
      std::fwrite(output.data(), 1, output.size(), stdout);
      return 0;
    }
    Sleep(100);
  }
  return 1;
}
